#pragma once
// How this fits: the PIC 16F877 board on a serial port. The host sends the start, stop and
// step (Hz) and starts the board's sweep cycle; the board then sends one block of 400
// detector readings (counts, 0..1024) per sweep until it receives "E". Exported on D-Bus
// through the generated CAsyncPICAdaptor; the bytes on the wire are in PicProtocol.
#include "SerialDevice.h"

#include <QList>

class cAsyncPIC : public SerialDevice {
    Q_OBJECT
    Q_PROPERTY(short aSlowCPU READ aSlowCPU WRITE setASlowCPU)

public:
    // Takes ownership of line.
    explicit cAsyncPIC(SerialLine* line, QObject* parent = nullptr);
    ~cAsyncPIC() override;

    // Pacing for slow hosts: above 0 the board waits for a carriage return after each block.
    short aSlowCPU() const { return mySlowCPU(); }
    void setASlowCPU(short v) { setMySlowCPU(v); }

    void Runnable_Start() override;

    static constexpr int kVectorSize = 406; // indices 0..405; samples at 1..400
    static constexpr int kRetryBudget = 800;
    static constexpr qint64 kAckTimeoutMs = 1000;
    static constexpr qint64 kReadTimeoutMs = 2000;

public Q_SLOTS:
    void Start();
    bool aInizializzaSweep(int startFreq, int stepFreq);
    bool aInizializzaCOMM(short porta, const QString& settingsRS232);
    void aExitCOMM();
    bool aScriviPIC(const QString& comando, int frequenza);

Q_SIGNALS:
    void aVettore(const QList<qint16>& vettore);

private:
    enum class Read { Ok, Timeout, Fault };
    // Waits up to 2 s for count bytes and takes them.
    Read leggiPIC(int count, SerialLine::InputMode mode, QByteArray* out);
    bool openOnce(short porta, const QString& settings);

    QList<qint16> m_vettore;
    int m_budget = kRetryBudget;
};
