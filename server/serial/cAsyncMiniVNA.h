#pragma once
// How this fits: the MiniVNA on a serial port. Frequencies (Hz) become DDS tuning words
// through the conversion factor 2^32 / (multiplier x clock) + offset; each request sweeps
// count steps and the analyser answers with one 4-byte record per step. The loop delivers
// the phase (kind 1) or magnitude (kinds 2, 3) readings, counts 0..1023, as aVettore.
// Exported on D-Bus through the generated CAsyncMiniVNAAdaptor; the bytes are in VnaProtocol.
#include "SerialDevice.h"

#include <QList>
#include <optional>

class cAsyncMiniVNA : public SerialDevice {
    Q_OBJECT
    Q_PROPERTY(short aMisura READ aMisura WRITE setAMisura)
    Q_PROPERTY(short aMultiplier READ aMultiplier WRITE setAMultiplier)
    Q_PROPERTY(double aClock READ aClock WRITE setAClock)
    Q_PROPERTY(double aDDSoffset READ aDDSoffset WRITE setADDSoffset)

public:
    // Takes ownership of line.
    explicit cAsyncMiniVNA(SerialLine* line, QObject* parent = nullptr);
    ~cAsyncMiniVNA() override;

    // Measurement kind: 1 phase, 2 return loss, 3 transmission; others deliver nothing.
    short aMisura() const { return m_kind; }
    void setAMisura(short kind);
    short aMultiplier() const { return m_multiplier; }
    void setAMultiplier(short m);
    double aClock() const { return m_clock; } // Hz
    void setAClock(double hz);
    double aDDSoffset() const { return m_offset * 1000.0; }
    void setADDSoffset(double x);

    double factor() const { return m_factor; } // tuning word per Hz
    qint32 startWord() const { return m_startWord; }
    qint32 stepWord() const { return m_stepWord; }
    int sampleCount() const { return m_count; }
    int modeByte() const { return m_mode; }

    void Runnable_Start() override;

    static constexpr int kVectorSize = 401; // indices 0..400; samples at 1..count
    static constexpr qint64 kReplyTimeoutMs = 3000;
    // Pause of the loop after a request that could not be sent, before the next one.
    static constexpr int kResendPauseMs = 200;

public Q_SLOTS:
    void Start();
    void aSetFrequenza(int Freq);
    void aInizializzaSweep(int startFreq, int stepFreq, short maxCampioniFreq);
    bool aInizializzaCOMM(short porta, const QString& settingrs232);
    void aExitCOMM();

Q_SIGNALS:
    void aVettore(const QList<double>& vettore);

private:
    void recompute();
    std::optional<qint32> toWord(qint64 freqHz);
    void resetVectors();
    // One request and its answer; false when the request could not be sent.
    bool leggiCampioni();

    short m_kind = 0;
    int m_mode = 0;
    short m_multiplier = 0;
    double m_clock = 0.0;
    double m_offset = 0.0;
    double m_factor = 0.0;
    qint32 m_startWord = 0;
    qint32 m_stepWord = 0;
    int m_count = 0;
    QList<double> m_phase;
    QList<double> m_magnitude;
};
