#include "MarkerPanel.h"

#include "AnalysisText.h"
#include "DisplayWidgets.h"
#include "NumberFormat.h"
#include "NumberParse.h"
#include "Rounding.h"
#include "ScaleModel.h"
#include "SweepConfig.h"
#include "SweepData.h"
#include "SweepGraph.h"

#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <cmath>

namespace {
std::optional<double> typedNumber(const QString& text) {
    return parseNumber(text, ParseFlag::AllowGroupSeparator);
}

// A typed frequency as a whole number of hertz; values beyond any sweep are kept beyond it,
// so they still find the first or the last point.
qint64 typedFrequency(const QString& text) {
    const double f = std::clamp(typedNumber(text).value_or(0.0), -1e12, 1e12);
    return static_cast<qint64>(std::llround(f));
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
    // The two copy buttons share a row, so that the SWR row below fits the view's height.
    auto* copyRow = new QHBoxLayout;
    copyRow->setSpacing(4);
    copyRow->addWidget(cmdCopyM1);
    copyRow->addWidget(cmdCopyM2);
    g->addLayout(copyRow, 7, 0, 1, 3);
    // Normalised to a full reflection, a return-loss bridge's curve gives the SWR at M1 and M2
    // (the return loss is the marker's level without its sign; the tooltip gives it too).
    lblSwr = makeLabel(QStringLiteral("lblSwr"), QStringLiteral("SWR"), m_panel);
    g->addWidget(lblSwr, 8, 0);
    for (int m = 0; m < 2; ++m) {
        txtSwr[m] = makeField(QStringLiteral("txtM%1Swr").arg(m + 1),
                              QStringLiteral("M%1 SWR").arg(m + 1), true, m_panel);
        g->addWidget(txtSwr[m], 8, 1 + m);
        txtSwr[m]->hide();
    }
    lblSwr->setBuddy(txtSwr[0]);
    lblSwr->hide();
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
            frequencyLostFocus(field);
        }
    } else if ((field == txtM3Y || field == txtM4Y) && !in) {
        levelLostFocus(field);
    }
    return false;
}

void MarkerPanel::frequencyLostFocus(QLineEdit* field) {
    const bool first = field == txtM1X;
    if (!typedNumber(field->text())) {
        field->setText(first ? m_data->text(1, 0) : numberToText(m_cfg.freqStop));
        emit beepRequested();
    }
    aggiornaPosMarkerX(first ? QStringLiteral("M1") : QStringLiteral("M2"));
    aggiornaLblMarkerX();
}

void MarkerPanel::levelLostFocus(QLineEdit* field) {
    if (!typedNumber(field->text())) {
        const bool useFullScale = field == txtM4Y && m_fullScaleText;
        field->setText(useFullScale ? m_fullScaleText() : QStringLiteral("0"));
        emit beepRequested();
    }
    const double level = typedNumber(field->text()).value_or(0.0);
    if (ScaleModel::isLinear(m_cfg.scala))
        field->setText(formatNumber(std::abs(level), QStringLiteral("#0.000")));
    else
        field->setText(formatNumber(level, QStringLiteral("#0.0")));
    aggiornaPosMarkerY();
    aggiornaLblMarkerY();
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
    const qint64 f = typedFrequency((first ? txtM1X : txtM2X)->text());
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
        f[m] = static_cast<double>(m_data->frequencyOf(row));
    }
    txtM2M1->setText(formatNumber(std::abs(f[1] - f[0]), QStringLiteral("###,##0")));
    showReflection();
}

void MarkerPanel::placeMarker(int m, int row) {
    m_graph->setMarkerX(m & 1, row);
    aggiornaLblMarkerX();
}

void MarkerPanel::showReflection() {
    const bool shown = m_data->normalised();
    lblSwr->setVisible(shown);
    for (int m = 0; m < 2; ++m) {
        txtSwr[m]->setVisible(shown);
        if (!shown)
            continue;
        const std::optional<Reflection> r =
            reflectionOf(m_data->levelDb(SweepData::rowAt(m_graph->markerX(m))));
        txtSwr[m]->setText(r ? factorText(r->swr) : notAvailableText());
        const QString detail = QStringLiteral("M%1: SWR %2").arg(m + 1).arg(reflectionText(r));
        txtSwr[m]->setToolTip(detail);
        txtSwr[m]->setAccessibleDescription(detail);
    }
}

void MarkerPanel::aggiornaPosMarkerY() {
    QLineEdit* boxes[2] = {txtM3Y, txtM4Y};
    for (int m = 0; m < 2; ++m)
        m_graph->setMarkerY(
            m, ScaleModel::userY(typedNumber(boxes[m]->text()).value_or(0.0), m_cfg.scala));
}

void MarkerPanel::aggiornaLblMarkerY() {
    const int s = m_cfg.scala;
    const QString picture = ScaleModel::levelPicture(s);
    double level[2];
    QLineEdit* boxes[2] = {txtM3Y, txtM4Y};
    for (int m = 0; m < 2; ++m) {
        level[m] = ScaleModel::levelAt(m_graph->markerY(m), s);
        boxes[m]->setText(formatNumber(level[m], picture));
    }
    txtM4M3->setText(formatNumber(ScaleModel::levelDifference(s, level[0], level[1]), picture));
}

void MarkerPanel::showLevels() {
    txtM1Y->setText(m_data->text(SweepData::rowAt(m_graph->markerX(0)), 1));
    txtM2Y->setText(m_data->text(SweepData::rowAt(m_graph->markerX(1)), 1));
    showReflection();
}

void MarkerPanel::clearLevels() {
    txtM1Y->setText(QStringLiteral("0"));
    txtM2Y->setText(QStringLiteral("0"));
}

void MarkerPanel::convertLevels(int from, int to) {
    const ScaleModel::LevelTexts t =
        ScaleModel::switchLevels(from, to, txtM3Y->text(), txtM4Y->text());
    txtM3Y->setText(t.m3);
    txtM4Y->setText(t.m4);
    txtM4M3->setText(t.difference);
}

void MarkerPanel::picSweep_MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers mods, double x,
                                   double y) {
    if (button != Qt::LeftButton && button != Qt::RightButton)
        return;
    const int m = button == Qt::LeftButton ? 0 : 1;
    // Only Shift, Ctrl and Alt count, as one of them alone or none.
    const Qt::KeyboardModifiers keys =
        mods & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    if (keys == Qt::NoModifier) {
        m_graph->setMarkerX(m, SweepData::rowAt(x));
        aggiornaLblMarkerX();
    } else if (keys == Qt::ShiftModifier || keys == Qt::ControlModifier) {
        m_graph->setMarkerY(m, m_cfg.cursorMode == 1 ? m_graph->crossY() : y);
        aggiornaLblMarkerY();
        aggiornaPosMarkerY();
    }
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
