#include <QCoreApplication>

#include <gtest/gtest.h>

// Qt's event loop, sockets and serial ports need an application object.
int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
