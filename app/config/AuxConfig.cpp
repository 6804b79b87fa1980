#include "AuxConfig.h"

#include "CommonFunctions.h"
#include "NumberParse.h"
#include "Rounding.h"

QString AuxConfig::defaultStep(int n) {
    if (n < 0 || n >= kSteps)
        return QString();
    return ConfigKeys::kAux1.steps[n].defaultValue();
}

void AuxConfig::setStep(int n, const QString& stored) {
    if (n < 0 || n >= kSteps)
        return;
    const qsizetype semi = stored.indexOf(QLatin1Char(';'));
    stepLabel[n] = semi < 0 ? stored : stored.left(semi);
    stepValueText[n] = semi < 0 ? stored : stored.mid(semi + 1);
    // A value that is empty, not a number or too large for an Integer counts as 0.
    const auto number = parseNumber(normalizzaNumero(stepValueText[n]));
    stepValue[n] = number ? toInt16(*number).value_or(0) : qint16(0);
}

QString AuxConfig::storedStep(int n) const {
    if (n < 0 || n >= kSteps)
        return QString();
    return stepLabel[n].trimmed() + QLatin1Char(';') + stepValueText[n];
}
