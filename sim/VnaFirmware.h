#pragma once
// The MiniVNA's firmware as seen from the serial line. A request is four lines of decimal
// text, each ended by a carriage return: mode (1 transmission, 0 reflection), start word,
// count, step word (32-bit DDS tuning words). The answer is count records of 4 bytes: phase
// low, phase high, magnitude low, magnitude high (value = low + 256 x high, 10 bits).
#include "FirmwareModel.h"
#include "RingLog.h"

#include <QStringList>

class DutModel;

class VnaFirmware : public FirmwareModel {
public:
    // refClockHz: the DDS clock the analyser runs from (tuning word -> output frequency).
    explicit VnaFirmware(std::unique_ptr<DutModel> dut, double refClockHz = 100.0e6);
    ~VnaFirmware() override;

    void hostBytes(const QByteArray& bytes) override;
    QByteArray takeOutput(qsizetype max) override;
    bool hasOutput() const override { return !m_out.isEmpty(); }

    QString name() const override { return QStringLiteral("vna"); }

    // One entry per decoded request: "1 42949673 400 4294967" (mode start count step); the
    // newest kDecodeLogCapacity entries.
    const QStringList& log() const { return m_log.items(); }
    void clearLog() { m_log.clear(); }
    int requests() const { return m_requests; }

    static constexpr qint64 kMaxCount = 100000; // larger requests are ignored as garbage

private:
    void handleRequest();

    std::unique_ptr<DutModel> m_dut;
    double m_refClock;
    RingLog<QString> m_log;
    QByteArray m_line;
    QList<qint64> m_values;
    QByteArray m_out;
    int m_requests = 0;
    bool m_truncated = false;
};
