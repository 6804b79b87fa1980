#pragma once
// The one device object of the main window: starts tarvex, holds the proxy of the configured
// class (aPIC, aLPT or aVNA; the other two stay empty) and hands the window its events.
// Calls that fail (a D-Bus error, a dead server) read as failure; nothing is thrown.
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <optional>

class CAsyncLPTProxy;
class CAsyncMiniVNAProxy;
class CAsyncPICProxy;
class FlowProxy;
class TarvexLauncher;

class DeviceBinding : public QObject {
    Q_OBJECT
public:
    // How many sweeps tarvex may send ahead of the window's acknowledgements.
    static constexpr int kVectorWindow = 2;

    explicit DeviceBinding(const QString& serverProgram = QString(), QObject* parent = nullptr);
    ~DeviceBinding() override;

    // Starts tarvex with args and creates the proxy of interfaccia (1, 2 or 3).
    bool create(int interfaccia, const QStringList& args, QString* error);
    bool isRunning() const;
    qint64 serverPid() const;

    CAsyncPICProxy* aPIC() const { return m_pic; }
    CAsyncLPTProxy* aLPT() const { return m_lpt; }
    CAsyncMiniVNAProxy* aVNA() const { return m_vna; }

    // Writes a property of the bound object (aSweepON, aClock, ...); false when no object is
    // bound or the call failed.
    bool setProp(const char* name, const QVariant& value);
    bool setSweepOn(qint16 value) { return setProp("aSweepON", QVariant::fromValue(value)); }

    // Disconnects and lets tarvex end.
    void release();

signals:
    void vettore(const QVector<double>& values);
    void complete();
    void errore(qint16 tipoErrore, const QString& descrizione);
    void serverDied(const QString& reason);

private:
    void acknowledge();

    TarvexLauncher* m_launcher = nullptr;
    CAsyncPICProxy* m_pic = nullptr;
    CAsyncLPTProxy* m_lpt = nullptr;
    CAsyncMiniVNAProxy* m_vna = nullptr;
    FlowProxy* m_flow = nullptr;
    QString m_path;
    QString m_interface;
};
