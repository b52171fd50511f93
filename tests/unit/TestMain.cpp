#include <QCoreApplication>

#include <gtest/gtest.h>

// Unit tests run headless: a core application gives coroutines and Qt objects an event loop
// without pulling in the GUI stack.
int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
