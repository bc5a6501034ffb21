#pragma once

#include <QCoreApplication>

#include <string>
#include <vector>

namespace setfolio::testing {

// The integration tests' application: errors that escape an event handler are kept here instead
// of ending the test program.
class GuardedCoreApplication : public QCoreApplication {
public:
    using QCoreApplication::QCoreApplication;
    bool notify(QObject* receiver, QEvent* event) override;

    static std::vector<std::string> errors;
};

} // namespace setfolio::testing
