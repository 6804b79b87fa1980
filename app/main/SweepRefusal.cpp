#include "SweepRefusal.h"

#include "NumberFormat.h"
#include "SweepConfig.h"

QString sweepRefusedMessage(const SweepConfig& cfg, const QStringList& deviceLines) {
    const auto hz = [](qint32 f) {
        return formatNumber(static_cast<double>(f), QStringLiteral("###,###,##0")) +
               QStringLiteral(" Hz");
    };
    QString text = QStringLiteral("The sweep cannot start: the generator cannot make the "
                                  "frequencies from %1 to %2.\n")
                       .arg(hz(cfg.freqStart), hz(cfg.freqStop));
    if (cfg.freqStart < 0 || cfg.freqStop < 0)
        text += QStringLiteral("A frequency below 0 Hz cannot be generated: set Start and Stop "
                               "to 0 Hz or more.");
    else
        text += QStringLiteral("Keep Start and Stop below the DDS clock, and check the DDS "
                               "clock, its multiplier and the DDS offset in "
                               "'SetUp/Configuration' (the offset is set by 'Calibrate "
                               "Generator').");
    if (!deviceLines.isEmpty())
        text += QStringLiteral("\nThe generator reported:\n") + deviceLines.join(QLatin1Char('\n'));
    return text;
}
