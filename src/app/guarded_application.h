#pragma once

#include <QApplication>

namespace veltrane::app {

// An application whose event loop no exception leaves. Commands report their own failures; should one
// still run out of memory or fail past them, the event it was handling ends with a message and the
// window stays, with what it holds.
class GuardedApplication : public QApplication {
public:
    GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}
    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace veltrane::app
