#include "MarkerPanel.h"

#include "DisplayWidgets.h"
#include "NumberFormat.h"
#include "NumberParse.h"
#include "Rounding.h"
#include "SweepConfig.h"
#include "SweepData.h"
#include "SweepGraph.h"

#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <cmath>

namespace {
std::optional<double> typedNumber(const QString& text) {
    return parseNumber(text, ParseFlag::AllowGroupSeparator);
}
} // namespace

MarkerPanel::MarkerPanel(const SweepConfig& config, SweepData* data, SweepGraph* graph,
                         QWidget* parent)
    : QObject(parent), m_cfg(config), m_data(data), m_graph(graph), m_panel(new QWidget(parent)) {
    auto* g = new QGridLayout(m_panel);
    g->setContentsMargins(0, 0, 0, 0);
    g->setVerticalSpacing(3);
    g->addWidget(makeLabel(QStringLiteral("lblMarkerFreq"), QStringLiteral("Frequency"), m_panel),
                 0, 1);
    Label15 = makeLabel(QStringLiteral("Label15"), QStringLiteral("Volt"), m_panel);
    g->addWidget(Label15, 0, 2);
    txtM1X = makeField(QStringLiteral("txtM1X"), QStringLiteral("M1 frequency"), false, m_panel);
    txtM1X->setToolTip(QStringLiteral("Enter freq in Hz or ClickLeft the graph"));
    txtM1Y = makeField(QStringLiteral("txtM1Y"), QStringLiteral("M1 level"), true, m_panel);
    txtM2X = makeField(QStringLiteral("txtM2X"), QStringLiteral("M2 frequency"), false, m_panel);
    txtM2X->setToolTip(QStringLiteral("Enter freq in Hz or ClickRight  the graph"));
    txtM2Y = makeField(QStringLiteral("txtM2Y"), QStringLiteral("M2 level"), true, m_panel);
    txtM2M1 = makeField(QStringLiteral("txtM2M1"), QStringLiteral("M2-M1"), true, m_panel);
    txtM3Y = makeField(QStringLiteral("txtM3Y"), QStringLiteral("M3 level"), false, m_panel);
    txtM3Y->setToolTip(QStringLiteral("Enter volt/dB or SHIFT+ ClickLeft  the graph"));
    txtM4Y = makeField(QStringLiteral("txtM4Y"), QStringLiteral("M4 level"), false, m_panel);
    txtM4Y->setToolTip(QStringLiteral("Enter volt/dB or SHIFT ClickRight  the graph"));
    txtM4M3 = makeField(QStringLiteral("txtM4M3"), QStringLiteral("M4-M3"), true, m_panel);
    const auto addRow = [&](int r, const QString& caption, QWidget* a, QWidget* b) {
        g->addWidget(makeLabel(QStringLiteral("lbl%1").arg(caption).remove(QLatin1Char('-')),
                               caption, m_panel),
                     r, 0);
        if (a)
            g->addWidget(a, r, 1);
        if (b)
            g->addWidget(b, r, 2);
    };
    addRow(1, QStringLiteral("M1"), txtM1X, txtM1Y);
    addRow(2, QStringLiteral("M2"), txtM2X, txtM2Y);
    addRow(3, QStringLiteral("M2-M1"), txtM2M1, nullptr);
    addRow(4, QStringLiteral("M3"), nullptr, txtM3Y);
    addRow(5, QStringLiteral("M4"), nullptr, txtM4Y);
    addRow(6, QStringLiteral("M4-M3"), nullptr, txtM4M3);
    cmdCopyM1 = new QPushButton(QStringLiteral("M1 -> Start"), m_panel);
    cmdCopyM1->setObjectName(QStringLiteral("cmdCopyM1"));
    cmdCopyM2 = new QPushButton(QStringLiteral("M2 -> Stop"), m_panel);
    cmdCopyM2->setObjectName(QStringLiteral("cmdCopyM2"));
    g->addWidget(cmdCopyM1, 7, 0, 1, 3);
    g->addWidget(cmdCopyM2, 8, 0, 1, 3);
    g->setRowStretch(9, 1);
    g->setColumnStretch(1, 3);
    g->setColumnStretch(2, 2);
    for (auto* e : {txtM1X, txtM2X, txtM3Y, txtM4Y})
        e->installEventFilter(this);
    connect(cmdCopyM1, &QPushButton::clicked, this, [this] { copy(true); });
    connect(cmdCopyM2, &QPushButton::clicked, this, [this] { copy(false); });
}

bool MarkerPanel::eventFilter(QObject* watched, QEvent* event) {
    if (!isEditFocusEvent(event))
        return false;
    auto* field = qobject_cast<QLineEdit*>(watched);
    const bool in = event->type() == QEvent::FocusIn;
    if (field == txtM1X || field == txtM2X) {
        if (in) {
            if (const auto v = typedNumber(field->text()))
                field->setText(formatNumber(*v, QStringLiteral("General Number")));
        } else {
            aggiornaPosMarkerX(field == txtM1X ? QStringLiteral("M1") : QStringLiteral("M2"));
            aggiornaLblMarkerX();
        }
    } else if ((field == txtM3Y || field == txtM4Y) && !in) {
        aggiornaPosMarkerY();
        aggiornaLblMarkerY();
    }
    return false;
}

void MarkerPanel::restore(const QString& m1, const QString& m2, const QString& m3,
                          const QString& m4) {
    txtM3Y->setText(m3);
    txtM4Y->setText(m4);
    aggiornaPosMarkerY();
    txtM1X->setText(m1);
    txtM2X->setText(m2);
    aggiornaPosMarkerX(QStringLiteral("M1"));
    aggiornaPosMarkerX(QStringLiteral("M2"));
}

void MarkerPanel::aggiornaPosMarkerX(const QString& name) {
    const bool first = name == QStringLiteral("M1");
    const qint32 f =
        toInt32(typedNumber((first ? txtM1X : txtM2X)->text()).value_or(0.0)).value_or(0);
    m_graph->setMarkerX(first ? 0 : 1, m_data->firstRowFrom(f));
}

void MarkerPanel::aggiornaLblMarkerX() {
    double f[2] = {0, 0};
    QLineEdit* xBox[2] = {txtM1X, txtM2X};
    QLineEdit* yBox[2] = {txtM1Y, txtM2Y};
    for (int m = 0; m < 2; ++m) {
        const int row = SweepData::rowAt(m_graph->markerX(m));
        xBox[m]->setText(m_data->text(row, 0));
        yBox[m]->setText(m_data->text(row, 1));
        f[m] = typedNumber(xBox[m]->text()).value_or(0.0);
    }
    txtM2M1->setText(formatNumber(std::abs(f[1] - f[0]), QStringLiteral("###,##0")));
}

void MarkerPanel::aggiornaPosMarkerY() {
    QLineEdit* boxes[2] = {txtM3Y, txtM4Y};
    for (int m = 0; m < 2; ++m)
        m_graph->setMarkerY(
            m, SweepGraph::userLevel(typedNumber(boxes[m]->text()).value_or(0.0), m_cfg.scala));
}

void MarkerPanel::aggiornaLblMarkerY() {
    const bool linear = m_cfg.scala == 0;
    const QString picture = linear ? QStringLiteral("#0.000") : QStringLiteral("#0.0");
    double level[2];
    QLineEdit* boxes[2] = {txtM3Y, txtM4Y};
    for (int m = 0; m < 2; ++m) {
        level[m] = linear ? m_graph->markerY(m) / 1000.0 : -m_graph->markerY(m) / 1000.0;
        boxes[m]->setText(formatNumber(level[m], picture));
    }
    txtM4M3->setText(formatNumber(level[1] - level[0], picture));
}

void MarkerPanel::showLevels() {
    txtM1Y->setText(m_data->text(SweepData::rowAt(m_graph->markerX(0)), 1));
    txtM2Y->setText(m_data->text(SweepData::rowAt(m_graph->markerX(1)), 1));
}

void MarkerPanel::clearLevels() {
    txtM1Y->setText(QStringLiteral("0"));
    txtM2Y->setText(QStringLiteral("0"));
}

void MarkerPanel::setUnit(const QString& unit) {
    Label15->setText(unit);
}

QString MarkerPanel::m1Text() const {
    return txtM1X->text();
}
QString MarkerPanel::m2Text() const {
    return txtM2X->text();
}
QString MarkerPanel::m3Text() const {
    return txtM3Y->text();
}
QString MarkerPanel::m4Text() const {
    return txtM4Y->text();
}

void MarkerPanel::copy(bool toStart) {
    const auto f = toInt32(typedNumber((toStart ? txtM1X : txtM2X)->text()).value_or(0.0));
    if (f)
        emit copyToRange(toStart, *f);
}
