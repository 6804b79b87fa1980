#pragma once
// Serves a firmware model on a pseudo-terminal: the host opens the slave side as a serial
// port; what it writes goes to the model, what the model sends comes back at the line's
// byte rate (or as fast as the terminal takes it when unpaced). Runs on the thread's event
// loop, so a test can serve the model and drive the host on one thread.
#include "FirmwareModel.h"
#include "WirePacer.h"

#include <QObject>
#include <QString>
#include <memory>

class QSocketNotifier;
class QTimer;

class PtyServer : public QObject {
    Q_OBJECT
public:
    explicit PtyServer(std::unique_ptr<FirmwareModel> model, QObject* parent = nullptr);
    ~PtyServer() override;

    // baud 0: unpaced. Call before open().
    void setBaud(int baud) { m_baud = baud; }
    // Creates the pseudo-terminal; on failure *error says why.
    bool open(QString* error);
    // The slave's path (/dev/pts/N).
    QString path() const { return m_path; }
    // Adds a symbolic link to the slave at linkPath (replacing an old link there).
    bool link(const QString& linkPath, QString* error);

    FirmwareModel* model() const { return m_model.get(); }
    template <typename T> T* modelAs() const { return dynamic_cast<T*>(m_model.get()); }

private:
    void readHost();
    void pump();
    void flushPending();

    std::unique_ptr<FirmwareModel> m_model;
    WirePacer m_pacer;
    int m_baud = 115200;
    int m_master = -1;
    int m_slave = -1; // held open so the master never sees a hang-up between host sessions
    QString m_path;
    QString m_link;
    QByteArray m_pending; // taken from the model, not yet accepted by the terminal
    bool m_running = false;
    QSocketNotifier* m_readNotifier = nullptr;
    QSocketNotifier* m_writeNotifier = nullptr;
    QTimer* m_tick = nullptr;
};
