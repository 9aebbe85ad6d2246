// Test entry for the layers below the windows.
#include "engine/inflater.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    // The engine's tests run once more on the zlib inflater, which builds without ISA-L use.
    if (qEnvironmentVariable("QUORBIN_TEST_INFLATER") == u"zlib")
        quorbin::useInflater(quorbin::InflaterKind::Zlib);
    return RUN_ALL_TESTS();
}
