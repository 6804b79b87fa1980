#pragma once
// How this fits: byte-wide access to the parallel port's three registers for cAsyncLPT.
// Addresses are absolute I/O addresses (base, base + 1, base + 2) and the values keep the
// PC register meaning: data lines, status bits as the port reads them, control bits with
// the port's own inversions (a set bit 0 or 1 drives its pin low). Backends: ppdev
// (/dev/parportN), raw (ioperm with inb/outb, root only), sim (the simulated board).
#include <QString>
#include <cstdint>
#include <memory>

struct ServerOptions;

class PortIo {
public:
    virtual ~PortIo() = default;

    // Opens port access for the port at base address base. False when it is not
    // available; lastError() then says why and what to do.
    virtual bool initialize(uint16_t base) = 0;
    // The optional one-time installation step offered after a failed initialize; returns
    // its success. Nothing needs installing on Linux, so the default reports failure.
    virtual bool install() { return false; }
    // Ends port access; the lines keep their levels.
    virtual void shutdown() = 0;
    // One byte from port address; false when the access failed.
    virtual bool readByte(uint16_t address, uint32_t& value) = 0;
    // Writes the low byte of value to port address; false when the access failed.
    virtual bool writeByte(uint16_t address, uint32_t value) = 0;

    // The waits of the line protocols: a sleep of the system (shift registers, DDS reset)
    // and attesaPrecisa's busy wait (I2C bits). An unpaced simulation skips both.
    virtual void sleepMs(int ms);
    virtual void preciseWait(float rateKHz);
    // The short settle time between two line edges (data before a clock, chip select
    // before the first converter clock): a busy wait of ns nanoseconds on a real port.
    virtual void settle(int ns);

    // The chips and reference clock the host has configured. Only a simulated board can
    // use it; real hardware is what it is.
    virtual void describeHardware(const QString& dds, const QString& adc, double refClockHz) {
        (void)dds;
        (void)adc;
        (void)refClockHz;
    }

    // Why the last initialize failed, for the user: what failed, the system's reason and
    // the likely fix.
    QString lastError() const { return m_lastError; }

    // The backend for a --lpt-driver value (auto, ppdev, raw, sim); nullptr for an
    // unknown name.
    static std::unique_ptr<PortIo> create(const ServerOptions& options);

protected:
    void setLastError(const QString& text) { m_lastError = text; }

private:
    QString m_lastError;
};
