#pragma once
// The serial-port control of the PIC board and MiniVNA classes, with exactly the operations
// they use: open and close, port number COMn, line settings ("115200,N,8,1"), handshaking and
// modem lines, buffer counts and flushing, text or binary input, input length, input and
// output. COMn reaches the path that tarvex's --com N=PATH names (a tty or a pseudo-terminal),
// else /dev/ttyS<N-1>; the targets sim:pic and sim:vna are in-process firmware models.
//
// All input is polled: received bytes collect in the input buffer, and waitTurn() is the one
// place that blocks, serving the thread's events while it does.
#include "ServerOptions.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <memory>

class QSerialPort;
class QTimer;
class SimSerialLink;
class FirmwareModel;

class SerialLine : public QObject {
    Q_OBJECT
public:
    enum class InputMode { Text, Binary };
    enum class Handshaking { None, XonXoff, RtsCts };

    // The line starts preset to 115200 baud, no parity, 8 data bits, 1 stop bit.
    explicit SerialLine(const ServerOptions& options, QObject* parent = nullptr);
    ~SerialLine() override;

    // PortOpen. setPortOpen(true) returns false when the port cannot be opened, with the
    // reason and the likely fix in lastError(); closing always succeeds.
    bool portOpen() const;
    bool setPortOpen(bool open);

    // CommPort: n of COMn. Takes effect at the next open.
    void setCommPort(int n) { m_commPort = n; }
    int commPort() const { return m_commPort; }
    // What COMn leads to: a device path or "sim:pic" / "sim:vna".
    QString target() const;

    // Settings "baud,parity,data bits,stop bits"; false (nothing changed) for a text that
    // does not describe a line, with the reason in lastError().
    bool setSettings(const QString& text);
    QString settings() const { return m_settingsText; }

    void setHandshaking(Handshaking h);
    // Modem lines. Lines without them (pseudo-terminals, some adapters) refuse the switch;
    // that does not keep the port from working, so it is not reported.
    void setDTREnable(bool on);
    void setRTSEnable(bool on);
    // Communication events are never used: all input is polled.
    void setRThreshold(int n) { m_rThreshold = n; }
    void setSThreshold(int n) { m_sThreshold = n; }

    // Text mode hands bytes back as 8-bit characters, binary as they are: the bytes are the
    // same either way; the mode is kept for the callers' sake.
    void setInputMode(InputMode mode) { m_inputMode = mode; }
    InputMode inputMode() const { return m_inputMode; }
    // Bytes one input() takes; 0 = all.
    void setInputLen(int n) { m_inputLen = n < 0 ? 0 : n; }

    // InBufferCount: bytes waiting; -1 when the port is not open.
    qsizetype inBufferCount();
    void clearInBuffer();
    void clearOutBuffer();

    // Output: false when the port is not open or refuses the bytes (reason in lastError()).
    bool output(const QByteArray& bytes);
    // Input: takes up to InputLen waiting bytes (all when 0); false when the port is not open.
    bool input(QByteArray* bytes);

    // One turn of a wait for input: serves pending events, sleeping until more bytes may have
    // arrived, an event comes, or msLeft has passed.
    void waitTurn(qsizetype wanted, qint64 msLeft);

    QString lastError() const { return m_error; }

    // The in-process model behind a sim: port while it is open (tests inspect it).
    FirmwareModel* simModel() const;
    // Pulls the adapter of an open sim: port, as a USB adapter pulled in the middle of a
    // sweep (or plugs it back): output() fails and nothing arrives. False for other ports.
    bool setSimUnplugged(bool unplugged);

private:
    struct LineSettings {
        qint32 baud = 115200;
        char parity = 'N';
        int dataBits = 8;
        int stopBits = 1; // 1, 2, or 3 for 1.5
    };
    bool openPort();
    bool openDevice(const QString& path);
    void applyModemLines();
    QString openFailure(const QString& path, const QString& reason, const QString& fix) const;

    ServerOptions m_options;
    QSerialPort* m_port = nullptr;
    std::unique_ptr<SimSerialLink> m_sim;
    QTimer* m_wake = nullptr;
    QByteArray m_in;
    QString m_error;
    QString m_settingsText = QStringLiteral("115200,N,8,1");
    LineSettings m_settings;
    Handshaking m_handshaking = Handshaking::None;
    int m_commPort = 1;
    bool m_dtr = false;
    bool m_rts = false;
    int m_rThreshold = 0;
    int m_sThreshold = 0;
    InputMode m_inputMode = InputMode::Text;
    int m_inputLen = 0;
};
