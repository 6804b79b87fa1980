#pragma once
// Helpers for GoogleTest binaries that need Qt's event loop.
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <functional>

inline QCoreApplication* testApp() {
    static int argc = 1;
    static char name[] = "test";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* app = QCoreApplication::instance() ? QCoreApplication::instance()
                                                                : new QCoreApplication(argc, argv);
    return app;
}

// Processes events until cond() holds; false if it still does not after maxMs (a bound
// against hangs, not a timing check).
inline bool waitUntil(const std::function<bool()>& cond, int maxMs = 10000) {
    testApp();
    QDeadlineTimer deadline(maxMs);
    while (!cond()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
        // Called from the test's top level, where deferred deletions are due.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return true;
}

// Processes events for ms milliseconds.
inline void spin(int ms) {
    testApp();
    QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
}
