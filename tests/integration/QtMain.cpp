#include "QtMain.h"

#include <gtest/gtest.h>

namespace setfolio::testing {

std::vector<std::string> GuardedCoreApplication::errors;

bool GuardedCoreApplication::notify(QObject* receiver, QEvent* event) {
    // As the program's own application does: an error that escapes an event handler ends that
    // event only.
    try {
        return QCoreApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        errors.emplace_back(error.what());
    }
    return false;
}

} // namespace setfolio::testing

// Qt's event loop, sockets and serial ports need an application object.
int main(int argc, char* argv[]) {
    setfolio::testing::GuardedCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
