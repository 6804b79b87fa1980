#pragma once
// The PIC 16F877 board's firmware as seen from the serial line. Commands arrive as frames
// ":" + letter(s) + 9 decimal digits + CR and are answered with "ACK\r\n" ("*", the reset,
// gets no answer). After "F" the board sweeps from the start by the step and sends one block
// per sweep: ":" + 400 readings (low byte, high byte, value = low + 255 x high) + CR. With
// F's argument above 0 it waits for a carriage return from the host after each block. The
// single character "E" ends the sweep cycle.
#include "FirmwareModel.h"
#include "RingLog.h"

#include <QStringList>

class DutModel;

class PicFirmware : public FirmwareModel {
public:
    explicit PicFirmware(std::unique_ptr<DutModel> dut);
    ~PicFirmware() override;

    void hostBytes(const QByteArray& bytes) override;
    QByteArray takeOutput(qsizetype max) override;
    bool hasOutput() const override;

    QString name() const override { return QStringLiteral("pic"); }

    // What the firmware decoded, one entry each: "B 1000000", "F 1", "E", "CR", "* 0" (the
    // newest kDecodeLogCapacity entries).
    const QStringList& log() const { return m_log.items(); }
    void clearLog() { m_log.clear(); }

    bool sweeping() const { return m_sweeping; }
    qint64 startHz() const { return m_start; }
    qint64 stepHz() const { return m_step; }
    qint64 stopHz() const { return m_stop; }
    qint64 fixedHz() const { return m_fixed; }
    int blocksSent() const { return m_blocks; }

    // Encodes one reading (0..1024 valid, 1025.. an overflow) as the board does.
    static void appendReading(QByteArray& out, int value);

private:
    void handleFrame(const QByteArray& frame);
    bool mayGenerate() const;
    void generateBlock();
    void note(const QString& entry);

    std::unique_ptr<DutModel> m_dut;
    RingLog<QString> m_log;
    QByteArray m_out;
    QByteArray m_frame;
    bool m_inFrame = false;
    bool m_sweeping = false;
    bool m_waitCr = false;
    bool m_truncated = false;
    qint64 m_slow = 0;
    qint64 m_fixed = 0;
    qint64 m_start = 0;
    qint64 m_stop = 0;
    qint64 m_step = 0;
    int m_blocks = 0;
};
