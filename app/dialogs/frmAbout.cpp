#include "frmAbout.h"

#include "Accessible.h"
#include "AppTitle.h"
#include "NumberFormat.h"
#include "SweepConfig.h"
#include "SweepDeviceFactory.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPushButton>
#include <cmath>

namespace {

// A small picture of what the program draws: a band-pass response on a grid.
QPixmap picture() {
    QPixmap pm(96, 72);
    pm.fill(QColor(0x10, 0x20, 0x30));
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x30, 0x50, 0x60), 1));
    for (int x = 0; x <= 96; x += 12)
        p.drawLine(x, 0, x, 72);
    for (int y = 0; y <= 72; y += 12)
        p.drawLine(0, y, 96, y);
    QPainterPath curve;
    for (int x = 0; x <= 96; ++x) {
        const double u = (x - 48) / 9.0;
        const double y = 66 - 58 / (1 + u * u);
        if (x == 0)
            curve.moveTo(x, y);
        else
            curve.lineTo(x, y);
    }
    p.setPen(QPen(QColor(0xff, 0xd0, 0x40), 2));
    p.drawPath(curve);
    return pm;
}

} // namespace

QString frmAbout::interfaceText(const SweepConfig& cfg) {
    const DeviceKind* kind = deviceKind(cfg.interfaccia);
    return kind ? kind->connection(cfg) + QLatin1Char('\n') + kind->credits : QString();
}

QString frmAbout::ddsText(const SweepConfig& cfg) {
    return cfg.ddsDevice + QStringLiteral(", ClockRef: ") +
           QString::number(cfg.ddsClock / 1000000) + QStringLiteral("MHz, Multiplier: ") +
           QString::number(cfg.ddsMultiplier) + QStringLiteral(", Max frequency: ") +
           QString::number(cfg.ddsMaxFreq / 1000000) + QStringLiteral("MHz");
}

QString frmAbout::dacText(const SweepConfig& cfg) {
    const DeviceKind* kind = deviceKind(cfg.interfaccia);
    if (!kind)
        return QString();
    // The step in millivolts per count.
    return cfg.adcDevice + kind->converterJoin +
           formatNumber(cfg.adcStep * 1000.0f, QStringLiteral("0.000")) + QStringLiteral("mV");
}

frmAbout::frmAbout(SweepContext& context, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About Sweep Generator"));
    const SweepConfig& cfg = context.config;
    auto* grid = new QGridLayout(this);

    auto* image = new QLabel(this);
    image->setObjectName(QStringLiteral("picLogo"));
    image->setPixmap(picture());
    image->setAccessibleName(QStringLiteral("Picture of a swept response"));
    auto* title = new QLabel(QString::fromLatin1(kAppTitle), this);
    QFont bold = title->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.3);
    title->setFont(bold);
    auto* intro = new QLabel(
        QStringLiteral("RF sweep generator and scalar network analyser for Linux."), this);
    auto* head = new QVBoxLayout;
    head->addWidget(title);
    head->addWidget(intro);
    head->addStretch(1);
    grid->addWidget(image, 0, 0);
    grid->addLayout(head, 0, 1);

    const auto row = [&](int r, const char* name, const QString& caption, QLabel** value,
                         const char* valueName) {
        auto* label = new QLabel(caption, this);
        label->setObjectName(QString::fromLatin1(name));
        label->setAlignment(Qt::AlignRight | Qt::AlignTop);
        *value = new QLabel(this);
        (*value)->setObjectName(QString::fromLatin1(valueName));
        captionFor(label, *value);
        grid->addWidget(label, r, 0);
        grid->addWidget(*value, r, 1);
    };
    row(1, "Label3", QStringLiteral("Interface:"), &lblInterfaccia, "lblInterfaccia");
    row(2, "Label4", QStringLiteral("DDS Device:"), &lblDDS, "lblDDS");
    row(3, "Label6", QStringLiteral("DAC Device:"), &lblDAC, "lblDAC");
    lblInterfaccia->setText(QStringLiteral("no hardware configured"));
    if (const QString text = interfaceText(cfg); !text.isEmpty())
        lblInterfaccia->setText(text);
    lblDDS->setText(ddsText(cfg));
    if (const QString text = dacText(cfg); !text.isEmpty())
        lblDAC->setText(text);

    auto* Label2 = new QLabel(QString(), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    grid->addWidget(Label2, 4, 0, 1, 2);
    auto* Line1 = new QFrame(this);
    Line1->setObjectName(QStringLiteral("Line1"));
    Line1->setFrameShape(QFrame::HLine);
    Line1->setFrameShadow(QFrame::Sunken);
    grid->addWidget(Line1, 5, 0, 1, 2);
    auto* terms = new QLabel(
        QStringLiteral("Free software under the GNU General Public License, version 3 or later: "
                       "you may use, share and change it under its terms. It comes with no "
                       "warranty of any kind."),
        this);
    terms->setObjectName(QStringLiteral("lblTerms"));
    terms->setWordWrap(true);
    auto* contact = new QLabel(
        QStringLiteral("Questions and fault reports: the Sweep project's issue tracker."), this);
    contact->setObjectName(QStringLiteral("lblContact"));
    grid->addWidget(terms, 6, 0, 1, 2);
    grid->addWidget(contact, 7, 0, 1, 2);

    cmdExit = new QPushButton(QStringLiteral("EXIT"), this);
    cmdExit->setObjectName(QStringLiteral("cmdExit"));
    grid->addWidget(cmdExit, 8, 1, Qt::AlignRight);
    connect(cmdExit, &QPushButton::clicked, this, &QDialog::accept);
    grid->setColumnStretch(1, 1);
}

void frmAbout::mouseReleaseEvent(QMouseEvent* event) {
    QDialog::mouseReleaseEvent(event);
    accept();
}
