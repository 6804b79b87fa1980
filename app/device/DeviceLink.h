#pragma once
// The window's line to one device object of tarvex: it starts the server, waits for the
// object's replies and hands on the object's events as the signals of its SweepDevice. Each
// kind of device holds one.
//
// Every call waits for its reply with the window's events running: the window keeps
// painting and can be closed while the hardware answers slowly (a silent PIC board makes a
// command retry for seconds). The device's own events (sweeps, end of loop, log lines) that
// arrive during a call are held and handed on, in order, once the call has returned and the
// window's handler has run to its end, as with a call that blocks. Calls never throw: a D-Bus
// error, a dead server or a time-out reads as failure. After abandonWaits() or release() no
// call reaches tarvex any more.
#include <QDBusConnection>
#include <QDBusPendingCall>
#include <QDBusPendingReply>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <functional>

class FlowProxy;
class SweepDevice;
class TarvexLauncher;

class DeviceLink : public QObject {
    Q_OBJECT
public:
    // How many sweeps tarvex may send ahead of the window's acknowledgements.
    static constexpr int kVectorWindow = 2;
    // A call that has not answered after this long (ms) shows the window as waiting.
    static constexpr int kSlowCallMs = 300;

    // The object at path with the D-Bus interface interfaceName, served by serverProgram
    // (empty: the tarvex beside the window's program). The events, the server's death and the
    // slow waits are signals of device.
    DeviceLink(SweepDevice& device, const char* path, const QString& interfaceName,
               const QString& serverProgram);

    // Starts tarvex with args; attach makes the object's proxy on the connection and hands
    // its events to deliver(), deliverComplete() and deliverErrore(). False: *error says why.
    using Attach = std::function<void(const QDBusConnection& connection, const QString& path)>;
    bool open(const QStringList& args, QString* error, const Attach& attach);
    // Disconnects and lets tarvex end; detach drops the proxy. Nothing is called after it, no
    // event comes after it.
    void release(const std::function<void()>& detach);

    // tarvex runs and the link was not released.
    bool isLive() const;
    qint64 serverPid() const;
    // A call is waiting for its reply.
    bool isWaiting() const { return m_waits > 0; }
    // The wait under way ends as a failure and every later call fails at once, until
    // resume(): the window is closing.
    void abandonWaits();
    void resume();
    // Hands on the events held during calls now (the window is closing and wants them).
    void flushEvents();

    // Live and the waits not abandoned: calls may be made.
    bool ready() const;
    // Waits for the reply (events running); true when it came and is not an error.
    bool await(const QDBusPendingCall& call);
    // The same, and the reply is true.
    bool awaitTrue(const QDBusPendingReply<bool>& reply);
    // A call on the proxy, made only while ready: make() issues it. Failure otherwise,
    // nothing sent.
    template <typename Make> bool call(Make&& make) { return ready() && await(make()); }
    template <typename Make> bool callTrue(Make&& make) { return ready() && awaitTrue(make()); }
    // A call after which tarvex ends (aExitCOMM): its end is expected, not a death.
    template <typename Make> void callEndingServer(Make&& make) {
        if (!ready())
            return;
        expectServerExit();
        await(make());
    }
    // Writes a property of the object; false when refused or failed.
    bool setProp(const char* name, const QVariant& value);
    // A pause of ms milliseconds that keeps the window painting, counted as a wait.
    void pause(int ms);

    // Hands the events of a generated proxy (aVettore, aComplete, aErrore) on.
    template <typename Proxy> void forwardEvents(Proxy* proxy) {
        connect(proxy, &Proxy::aVettore, this,
                [this](const auto& v) { deliver(QVector<double>(v.begin(), v.end())); });
        connect(proxy, &Proxy::aComplete, this, &DeviceLink::deliverComplete);
        connect(proxy, &Proxy::aErrore, this, &DeviceLink::deliverErrore);
    }
    // The events of the proxy: a received sweep is acknowledged to the server's credit window
    // at once; all three are handed on in order, held while a call waits.
    void deliver(const QVector<double>& values);
    void deliverComplete();
    void deliverErrore(qint16 tipoErrore, const QString& descrizione);

    // Around the calls that set up a sweep: the object's error lines (aErrore code 3) are
    // collected from beginSetUp on; endSetUp picks up those still queued behind the last
    // reply of proxy and returns true when there were none. setUpFaults() holds them.
    void beginSetUp();
    bool endSetUp(QObject* proxy);
    const QStringList& setUpFaults() const { return m_setUpFaults; }

    // Deletes a proxy once the events already queued for it have been handed out.
    static void dispose(QObject* proxy);

signals:
    void waitsAbandoned();

private:
    void expectServerExit();
    void hand(std::function<void()> event);
    void replay();
    void endWait();

    SweepDevice& m_device;
    TarvexLauncher* m_launcher;
    FlowProxy* m_flow = nullptr;
    QString m_path;
    QString m_interface;
    bool m_attached = false;
    bool m_failFast = false;
    int m_waits = 0;
    int m_slowWaits = 0;
    QList<std::function<void()>> m_held;
    QStringList m_setUpFaults;
    bool m_collectingFaults = false;
    bool m_replayPosted = false;
};
