#pragma once
// The simulated parallel-port board as a port backend. It answers at whatever base
// address the host configures.
#include "LptBoard.h"
#include "PortIo.h"

class SimPortIo : public PortIo {
public:
    // board: shared with tests that inspect what the board decoded.
    explicit SimPortIo(std::shared_ptr<LptBoard> board);

    bool initialize(uint16_t base) override;
    void shutdown() override;
    bool readByte(uint16_t address, uint32_t& value) override;
    bool writeByte(uint16_t address, uint32_t value) override;
    void sleepMs(int ms) override;
    void preciseWait(float rateKHz) override;
    void settle(int ns) override;
    void describeHardware(const QString& dds, const QString& adc, double refClockHz) override;

    LptBoard& board() { return *m_board; }
    const std::shared_ptr<LptBoard>& sharedBoard() const { return m_board; }

private:
    std::shared_ptr<LptBoard> m_board;
    bool m_open = false;
    uint16_t m_base = 0;
};
