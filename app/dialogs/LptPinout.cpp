#include "LptPinout.h"

#include <QFontDatabase>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

namespace {

enum class Use { None, Dds, Aux, Adc, Ground };

struct Pin {
    Use use;
    const char* name;
};

// Pins 1..25 as the Sweep hardware uses them.
Pin pinUse(int pin) {
    switch (pin) {
    case 1:
        return {Use::Adc, "A/D clk"};
    case 2:
        return {Use::Dds, "D0 data"};
    case 3:
        return {Use::Dds, "D1 W_CLK"};
    case 4:
        return {Use::Dds, "D2 FQ_UD"};
    case 5:
        return {Use::Dds, "D3 Reset"};
    case 6:
        return {Use::Aux, "D4 POT"};
    case 7:
        return {Use::Aux, "D5 AUX clk"};
    case 8:
        return {Use::Aux, "D6 AUX1"};
    case 9:
        return {Use::Aux, "D7 AUX2"};
    case 12:
        return {Use::Adc, "A/D data"};
    case 14:
        return {Use::Adc, "A/D sel"};
    case 16:
        return {Use::Dds, "Syncro"};
    default:
        return {pin >= 18 ? Use::Ground : Use::None, pin >= 18 ? "GND" : ""};
    }
}

QColor colour(Use use) {
    switch (use) {
    case Use::Dds:
        return QColor(0x1f, 0x6f, 0xd0);
    case Use::Aux:
        return QColor(0x2e, 0x9d, 0x4f);
    case Use::Adc:
        return QColor(0xd0, 0x5a, 0x1f);
    case Use::Ground:
        return QColor(0x70, 0x70, 0x70);
    default:
        return QColor(0xd8, 0xd8, 0xd8);
    }
}

QLabel* list(const QStringList& lines, QWidget* parent) {
    auto* label = new QLabel(lines.join(QLatin1Char('\n')), parent);
    label->setTextFormat(Qt::PlainText);
    label->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    label->setFocusPolicy(Qt::TabFocus);
    return label;
}

} // namespace

LptPinout::LptPinout(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("LptPinout"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, kDrawingHeight, 0, 0);
    auto* dds = new QGroupBox(QStringLiteral("LPT pin / DDS - AUX"), this);
    auto* ddsLayout = new QVBoxLayout(dds);
    // The lists are read as shown; each group's title reaches its list as a label relation.
    ddsLayout->addWidget(list(ddsAuxLines(), dds));
    auto* adc = new QGroupBox(QStringLiteral("LPT pin / ADC signal"), this);
    auto* adcLayout = new QVBoxLayout(adc);
    adcLayout->addWidget(list(adcLines(), adc));
    adcLayout->addStretch(1);
    layout->addWidget(dds, 1);
    layout->addWidget(adc, 1);
    setMinimumWidth(560);
}

QStringList LptPinout::ddsAuxLines() {
    return {QStringLiteral("pin 2   D0 -> DDS data out"),
            QStringLiteral("              AUX1/2 data out"),
            QStringLiteral("              POT data out"),
            QStringLiteral("pin 3   D1 -> DDS W_LCK"),
            QStringLiteral("pin 4   D2 -> DDS FQ_UD"),
            QStringLiteral("pin 5   D3 -> DDS Reset"),
            QStringLiteral("pin 6   D4 -> POT clock"),
            QStringLiteral("pin 7   D5 -> AUX1/2 serial clock"),
            QStringLiteral("pin 8   D6 -> AUX1 latch clock"),
            QStringLiteral("pin 9   D7 -> AUX2 latch clock"),
            QStringLiteral("pin 16      -> Syncro")};
}

QStringList LptPinout::adcLines() {
    return {QStringLiteral("pin 12 Out of Paper -> A/D data input"),
            QStringLiteral("pin   1 Strobe           -> A/D clock"),
            QStringLiteral("pin 14 Line Feed      -> A/D select")};
}

void LptPinout::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const double pitch = 30.0;
    const double shellW = 13 * pitch + 30;
    const double left = (width() - shellW) / 2.0;
    const double top = 70;
    // The plug's D-shaped shell, front view.
    QPainterPath shell;
    shell.moveTo(left, top);
    shell.lineTo(left + shellW, top);
    shell.lineTo(left + shellW - 18, top + 2 * pitch + 10);
    shell.lineTo(left + 18, top + 2 * pitch + 10);
    shell.closeSubpath();
    p.setPen(QPen(palette().color(QPalette::WindowText), 1.5));
    p.setBrush(palette().color(QPalette::Base));
    p.drawPath(shell);

    QFont small = font();
    small.setPointSizeF(small.pointSizeF() * 0.8);
    p.setFont(small);
    const QFontMetrics fm(small);
    for (int pin = 1; pin <= 25; ++pin) {
        const bool upper = pin <= 13;
        const double x = upper ? left + 15 + (pin - 1) * pitch + pitch / 2
                               : left + 15 + pitch + (pin - 14) * pitch;
        const double y = upper ? top + pitch * 0.6 : top + pitch * 1.6;
        const Pin use = pinUse(pin);
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(colour(use.use));
        p.drawEllipse(QPointF(x, y), 9, 9);
        p.setPen(use.use == Use::None ? Qt::black : Qt::white);
        const QString number = QString::number(pin);
        p.drawText(QRectF(x - 10, y - 9, 20, 18), Qt::AlignCenter, number);
        if (use.use == Use::None || use.use == Use::Ground)
            continue;
        // Signal names above the upper row and below the lower row, slanted to fit.
        p.save();
        p.setPen(colour(use.use).darker(130));
        p.translate(x, upper ? top - 4 : top + 2 * pitch + 14);
        p.rotate(upper ? -35 : 35);
        p.drawText(QPointF(upper ? 0 : 2, upper ? 0 : fm.ascent()), QString::fromLatin1(use.name));
        p.restore();
    }
    p.setPen(palette().color(QPalette::WindowText));
    p.drawText(QRectF(0, top + 2 * pitch + 80, width(), fm.height()), Qt::AlignCenter,
               QStringLiteral("25-pin plug of the cable, front view; pins 18 to 25 are ground"));
    // Legend.
    const struct {
        Use use;
        const char* text;
    } legend[] = {
        {Use::Dds, "DDS"}, {Use::Aux, "AUX / POT"}, {Use::Adc, "A/D"}, {Use::Ground, "ground"}};
    double lx = left;
    const double ly = top + 2 * pitch + 80 + fm.height() + 6;
    for (const auto& item : legend) {
        p.setBrush(colour(item.use));
        p.setPen(Qt::NoPen);
        p.drawRect(QRectF(lx, ly, 10, 10));
        p.setPen(palette().color(QPalette::WindowText));
        p.drawText(QPointF(lx + 14, ly + 10), QString::fromLatin1(item.text));
        lx += 24 + fm.horizontalAdvance(QString::fromLatin1(item.text));
    }
}
