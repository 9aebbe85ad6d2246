// Test entry of the remote layer: numbers in the German user's format, as the product's
// users have them.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <cstdlib>

int main(int argc, char** argv)
{
    unsetenv("LC_ALL");
    setenv("LC_NUMERIC", "de_DE.UTF-8", 1);
    // The tests check the German texts, the product's source texts, whatever locale the suite
    // runs under; the programs they start inherit the choice.
    setenv("LANGUAGE", "de", 1);
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
