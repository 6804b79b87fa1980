#pragma once
// How this fits: the device class of tarvex for the DDS generator and A/D detector wired
// to a PC parallel port, with two shift-register outputs and an I2C potentiometer on the
// same lines. It drives every line itself through a PortIo backend. Frequencies are in
// Hz, the reference clock in Hz, readings in converter counts (0-255 or 0-1023).
//
// Lines: data D0 DDS data / shift data / SDA, D1 W_CLK, D2 FQ_UD, D3 DDS reset, D4 SCL,
// D5 shift clock, D6 AUX1 latch, D7 AUX2 latch; control bit 0 converter clock and bit 1
// converter select (both inverted by the port), bit 2 "Syncro"; status bit 5 converter
// data. Registers are always changed read-modify-write, so lines owned by one function
// keep their levels across the others.
#include "DeviceObject.h"

#include <QList>
#include <QString>
#include <array>
#include <cstdint>
#include <memory>

class PortIo;

class cAsyncLPT : public DeviceObject {
    Q_OBJECT
    Q_PROPERTY(short myMultifactor READ myMultifactor WRITE setMyMultifactor)
    Q_PROPERTY(double myRefCLK READ myRefCLK WRITE setMyRefCLK)
    Q_PROPERTY(QString aDeviceDDS READ aDeviceDDS WRITE setADeviceDDS)
    Q_PROPERTY(QString aDeviceADC READ aDeviceADC WRITE setADeviceADC)
    Q_PROPERTY(short aMultiplier READ aMultiplier WRITE setAMultiplier)
    Q_PROPERTY(double aClock READ aClock WRITE setAClock)
    Q_PROPERTY(double aDDSoffset READ aDDSoffset WRITE setADDSoffset)
    Q_PROPERTY(short aSpeed READ aSpeed WRITE setASpeed)

public:
    static constexpr int kVectorSize = 406; // indices 0..405, samples at 1..400

    // port: the backend (nullptr: no usable driver; driverName names it in the message).
    cAsyncLPT(std::unique_ptr<PortIo> port, const QString& driverName, QObject* parent = nullptr);
    ~cAsyncLPT() override;

    // Properties. The write-only ones of the contract read back what was written.
    short myMultifactor() const { return m_myMultifactor; }
    // A multiplier outside what the chip named by aDeviceDDS can take is refused with a
    // code-3 line and the previous one stays (see lptwire::multiplierFits).
    void setMyMultifactor(short v);
    double myRefCLK() const { return m_myRefCLK; }
    void setMyRefCLK(double v);
    QString aDeviceDDS() const { return m_tipoDDS; }
    void setADeviceDDS(const QString& name);
    QString aDeviceADC() const { return m_tipoADC; }
    void setADeviceADC(const QString& name);
    short aMultiplier() const { return m_myMultifactor; }
    void setAMultiplier(short v);
    double aClock() const { return m_myRefCLK; }
    void setAClock(double hz);
    double aDDSoffset() const { return m_offsetWritten; }
    void setADDSoffset(double v);
    short aSpeed() const { return m_velocita; }
    void setASpeed(short v);

    // Methods of the contract.
    void aStartLPT();
    bool aInizializzaLPT(short indirizzoLPT);
    void aInizializzaDDS();
    void aExitLPT();
    // Builds the word table. A point the DDS cannot generate (a negative frequency, a word
    // outside 32 bits, a word of 0 for a frequency above 0) is reported with code 3 at once.
    void aInizializzaSweep(int Start, int Step);
    void aSetFrequenzaDDS(int Freq);
    short aReadADC();
    void aSetAttenuator(uchar wordAtt, short auxNumber);
    bool aSetAmpli(uchar controlPot, uchar commandPot, uchar cursorePot);
    bool i2c_Ack();

    void Runnable_Start() override;

    // For tests and the bench: the port backend, the word table, the last samples.
    PortIo* port() const { return m_port.get(); }
    bool portOpen() const { return m_portOpen; }
    double parolaDDS(int i) const { return m_parolaDDS.at(static_cast<size_t>(i)); }
    const QList<qint16>& campioni() const { return m_campioni; }
    double frequenzaCorrente() const { return m_frequenzaCorrente; }
    double offsetDDS() const { return m_offsetDDS; }

Q_SIGNALS:
    void aVettore(const QList<qint16>& vettoreVolt);

private:
    // Port access at base + offset; the result of the call is kept in esitoPorta.
    uint32_t readRegister(int offset);
    void writeRegister(int offset, uint32_t value);
    // Refuses a port operation before a successful aInizializzaLPT (code 3).
    bool requirePort(const char* operation);
    bool acceptMultiplier(short v);
    void describeHardware();

    // DDS (cAsyncLPTDds.cpp).
    double wordOf(double freqHz) const;
    // Why point i of a sweep (freqHz, its word) cannot be generated; empty when it can.
    QString pointFault(int i, double freqHz, double word) const;
    bool isAd9951() const;
    bool loadWord(double w, const QString& where);
    void inizioTrasferimentoDDS();
    void fineTrasferimentoDDS();
    void inviaByteLSB(uint8_t b);
    void inviaByteMSB(uint8_t b);
    void scriviParolaAD9850(double w);
    void scriviParolaAD9951(double w);
    void setSyncro(bool high);

    // Detector (cAsyncLPTDetector.cpp).
    short readDetector(int speed);
    void selectConverter();
    void deselectConverter();
    void setControlBits(int32_t bits, bool set);
    int leggiTLC549();
    int leggiTLC1549();
    int rawRead();

    // Auxiliary outputs (cAsyncLPTAux.cpp).
    void i2c_Start();
    void i2c_Stop();
    void i2c_Write(uint8_t b);
    void i2cWait();

    std::unique_ptr<PortIo> m_port;
    QString m_driverName;
    bool m_portOpen = false;

    short m_myMultifactor = 0;
    double m_myRefCLK = 0.0;

    short m_indirizzoLPT = 0;
    uint16_t m_base = 0;
    int32_t m_valoreDati = 0;
    int32_t m_valoreControllo = 0;
    short m_esitoPorta = 0;
    QString m_tipoDDS;
    QString m_tipoADC;
    double m_offsetDDS = 0.0;
    double m_offsetWritten = 0.0;
    short m_velocita = 0;
    short m_multAD9850 = 0;
    double m_clockAD9850 = 0.0;
    double m_fattoreAD9850 = 0.0;
    short m_multAD9951 = 0;
    double m_clockAD9951 = 0.0;
    double m_fattoreAD9951 = 0.0;
    int32_t m_startFreq = 0;
    int32_t m_stepFreq = 0;
    double m_frequenzaCorrente = 0.0;
    std::array<double, NUMERO_CAMPIONI + 2> m_parolaDDS{};
    QList<qint16> m_campioni;
};
