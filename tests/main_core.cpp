// Test entry for the layers below the windows.
#include "engine/inflater.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    // The tests check the German texts, the product's source texts, whatever locale the suite
    // runs under (C.UTF-8 and de_DE.UTF-8); the programs they start inherit the choice. The
    // English tests set the locale of their child processes themselves.
    qputenv("LANGUAGE", "de");
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    // The engine's tests run once more on the zlib inflater, which builds without ISA-L use.
    if (qEnvironmentVariable("QUORBIN_TEST_INFLATER") == u"zlib")
        quorbin::useInflater(quorbin::InflaterKind::Zlib);
    return RUN_ALL_TESTS();
}
