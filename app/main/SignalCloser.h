#pragma once
// SIGTERM and SIGINT close the main window normally (state saved): the handler only writes a
// byte into a pipe; a socket notifier on the read end then closes the window on the GUI thread.
#include <QObject>
#include <QPointer>

class QSocketNotifier;
class QWidget;

class SignalCloser : public QObject {
    Q_OBJECT
public:
    explicit SignalCloser(QWidget* window, QObject* parent = nullptr);
    ~SignalCloser() override;
    bool isActive() const { return m_notifier != nullptr; }

private:
    void onSignal();

    QPointer<QWidget> m_window;
    QSocketNotifier* m_notifier = nullptr;
};
