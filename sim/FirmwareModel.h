#pragma once
// How this fits: the serial firmware models (PIC board, MiniVNA) are byte-stream state
// machines with no I/O of their own. A transport (the in-process line of tarvex's sim:
// ports, or PtyServer on a pseudo-terminal) hands them what the host sent and pulls what
// they have to send, pacing it at the line's byte rate when asked to.
#include "SimTrace.h"

#include <QByteArray>
#include <QSet>
#include <QString>
#include <QStringList>
#include <memory>

// Faults a model injects on request (sweep-sim --fault KIND, or set by tests).
enum class FirmwareFault {
    NoReply,  // commands / requests get no answer at all
    NoAck,    // PIC: every command is answered without "ACK"
    Stray,    // PIC: endless stray characters instead of blocks; VNA: one stray byte before the
              // records
    Overflow, // PIC: odd blocks carry 1025, even ones 1024 at point 200; VNA: a high byte of 4
    NoEnd,    // PIC: blocks end with a character other than the carriage return
    Truncate, // PIC: the first block stops after 400 value bytes; VNA: the next response is one
              // byte short
    Silence,  // PIC: acknowledges F but never sends a block
};

class FirmwareModel {
public:
    virtual ~FirmwareModel() = default;

    // Bytes that arrived from the host.
    virtual void hostBytes(const QByteArray& bytes) = 0;
    // Bytes the firmware would send next (at most max), removed from its queue.
    virtual QByteArray takeOutput(qsizetype max) = 0;
    // Whether takeOutput would return anything now.
    virtual bool hasOutput() const = 0;

    void setFault(FirmwareFault f, bool on = true);
    bool fault(FirmwareFault f) const { return m_faults.contains(f); }

    // "pic" or "vna": the source of the model's trace lines.
    virtual QString name() const = 0;
    // Receives every entry the model decodes, as its log has it; empty: none.
    void setTrace(TraceSink sink) { m_trace = std::move(sink); }
    // Also for the transport's own lines (the port opening and closing).
    void traceLine(const QString& text) const {
        if (m_trace)
            m_trace(text);
    }

    // Fault names as on the sweep-sim command line; false for an unknown name.
    static bool faultFromName(const QString& name, FirmwareFault* out);
    static QStringList faultNames();

    // "pic" or "vna" with the named device under test (a name of kSimulatedDuts);
    // nullptr for an unknown kind or device.
    static std::unique_ptr<FirmwareModel> create(const QString& kind, const QString& dut);

private:
    QSet<FirmwareFault> m_faults;
    TraceSink m_trace;
};
