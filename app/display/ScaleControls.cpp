#include "ScaleControls.h"

#include "DisplayWidgets.h"
#include "NumberFormat.h"
#include "NumberParse.h"
#include "Rounding.h"
#include "ScaleModel.h"
#include "SweepConfig.h"
#include "SweepData.h"
#include "SweepGraph.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <algorithm>
#include <cmath>

namespace {
constexpr int kColumnWidth = 66;
constexpr int kBoxHeight = 22;
} // namespace

ScaleControls::ScaleControls(SweepConfig& config, SweepData* data, SweepGraph* graph,
                             QWidget* parent)
    : QObject(parent), m_cfg(config), m_data(data), m_graph(graph) {
    m_column = new QWidget(parent);
    m_column->setObjectName(QStringLiteral("frameScaleLabels"));
    m_column->setFixedWidth(kColumnWidth);
    for (int i = 0; i < 11; ++i) {
        lblVolt[i] = makeLabel(QStringLiteral("lblVolt_%1").arg(i), QString(), m_column);
        lblVolt[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        lblVolt[i]->setFixedWidth(kColumnWidth - 4);
        lblVolt[i]->hide();
    }
    txtMaxVolt = makeField(QStringLiteral("txtMaxVolt"), QStringLiteral("Full scale in volts"),
                           false, m_column);
    txtMaxVolt->setToolTip(QStringLiteral("Enter the full scale (volt)"));
    txtMaxDb =
        makeField(QStringLiteral("txtMaxDb"), QStringLiteral("Full scale in dB"), false, m_column);
    txtMaxDb->setToolTip(QStringLiteral("Enter the full scale (dB)"));
    for (QLineEdit* box : {txtMaxVolt, txtMaxDb}) {
        box->setFixedSize(kColumnWidth - 4, kBoxHeight);
        box->installEventFilter(this);
    }
    txtMaxDb->hide();
    m_graph->installEventFilter(this);
}

int ScaleControls::edgeMargin() {
    return kBoxHeight / 2 + 1;
}

bool ScaleControls::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_graph) {
        // The labels follow the picture; placed once the layout has settled.
        if (event->type() == QEvent::Resize || event->type() == QEvent::Move)
            QTimer::singleShot(0, this, &ScaleControls::placeLabels);
        return false;
    }
    const bool enter = event->type() == QEvent::KeyPress &&
                       (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Return ||
                        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Enter);
    // Passing through a box without typing leaves the grid and the curve alone.
    auto* box = qobject_cast<QLineEdit*>(watched);
    if (box && box->isModified() &&
        ((event->type() == QEvent::FocusOut && isEditFocusEvent(event)) || enter)) {
        box->setModified(false);
        if (watched == txtMaxVolt)
            txtMaxVolt_LostFocus();
        else if (watched == txtMaxDb)
            txtMaxDb_LostFocus();
    }
    return false;
}

void ScaleControls::showStored() {
    txtMaxVolt->setText(numberToText(m_cfg.maxScaleV));
    txtMaxDb->setText(numberToText(m_cfg.maxScaleDb));
}

QString ScaleControls::maxVoltText() const {
    return txtMaxVolt->text();
}

void ScaleControls::applyUnit() {
    const int s = m_cfg.scala;
    const bool linear = ScaleModel::isLinear(s);
    // Every row, swept or not, takes the level of its raw count: a row never swept holds the
    // count 0 and reads its conversion, in the table as on the curve, the markers and the cursor.
    m_data->convertAll(s, m_cfg.adcStep, m_cfg.adcOffset);
    const auto typed = [](const QLineEdit* e) {
        return parseNumber(e->text(), ParseFlag::AllowGroupSeparator);
    };
    if (linear) {
        if (const auto v = typed(txtMaxVolt); v && *v > 0)
            m_cfg.maxScaleV = static_cast<float>(*v);
    } else if (const auto db = typed(txtMaxDb)) {
        m_cfg.maxScaleDb = toInt32(*db).value_or(m_cfg.maxScaleDb);
    }
}

void ScaleControls::drawScreen() {
    const int s = m_cfg.scala;
    if (const auto f =
            ScaleModel::frameOf(s, m_cfg.maxScaleV, ScaleModel::drawnRangeDb(txtMaxDb->text())))
        m_graph->setScale(s, *f);
    m_graph->drawScreen();
    const bool linear = ScaleModel::isLinear(m_graph->scala());
    txtMaxVolt->setVisible(linear);
    txtMaxDb->setVisible(!linear);
    if (linear)
        txtMaxVolt->setText(formatNumber(m_cfg.maxScaleV, QStringLiteral("#0.00")));
    else
        txtMaxDb->setText(formatNumber(
            parseNumber(txtMaxDb->text(), ParseFlag::AllowGroupSeparator).value_or(0.0),
            QStringLiteral("#0.0")));
    placeLabels();
}

void ScaleControls::placeLabels() {
    const int s = m_graph->scala();
    auto set = ScaleModel::labels(s, m_cfg.maxScaleV, ScaleModel::drawnRangeDb(txtMaxDb->text()));
    // Normalised, 0 dB is the reference itself.
    if (m_data->normalised() && !ScaleModel::isLinear(s))
        set[10].caption = QStringLiteral("(Ref)");
    // The picture's top and height in the column's coordinates.
    const int top = m_graph->mapTo(m_column->window(), QPoint(0, 0)).y() -
                    m_column->mapTo(m_column->window(), QPoint(0, 0)).y();
    const double h = m_graph->height();
    txtMaxVolt->move(0, top - kBoxHeight / 2);
    txtMaxDb->move(0, top + m_graph->height() - kBoxHeight / 2);
    const QLineEdit* box = ScaleModel::isLinear(s) ? txtMaxVolt : txtMaxDb;
    for (int k = 0; k < 11; ++k) {
        QLabel* l = lblVolt[k];
        const ScaleModel::ScaleLabel& place = set[k];
        l->setText(place.caption);
        l->adjustSize();
        l->setFixedWidth(kColumnWidth - 4);
        int y = int(std::lround(top + place.at * h - l->height() / 2.0));
        if (place.below >= 0)
            y = lblVolt[place.below]->y() + l->height();
        l->move(0, y);
        // The full-scale box stands where its own label would: that label is not shown twice.
        const bool covered = l->geometry().intersects(box->geometry());
        l->setVisible(place.shown && !covered);
    }
}

void ScaleControls::txtMaxVolt_LostFocus() {
    const ScaleModel::Correction c =
        ScaleModel::correctMaxVolt(txtMaxVolt->text(), m_cfg.maxScaleV);
    txtMaxVolt->setText(c.text);
    if (c.beep)
        emit beepRequested();
    if (const auto v = parseNumber(txtMaxVolt->text(), ParseFlag::AllowGroupSeparator))
        m_cfg.maxScaleV = static_cast<float>(*v);
    drawScreen();
    emit fullScaleChanged();
}

void ScaleControls::txtMaxDb_LostFocus() {
    const ScaleModel::Correction c = ScaleModel::correctMaxDb(txtMaxDb->text(), m_cfg.maxScaleDb);
    txtMaxDb->setText(c.text);
    if (c.beep)
        emit beepRequested();
    if (const auto v = parseNumber(txtMaxDb->text(), ParseFlag::AllowGroupSeparator))
        m_cfg.maxScaleDb = toInt32(*v).value_or(m_cfg.maxScaleDb);
    drawScreen();
    emit fullScaleChanged();
}
