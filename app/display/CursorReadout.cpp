#include "CursorReadout.h"

#include "DisplayWidgets.h"
#include "NumberFormat.h"
#include "ScaleModel.h"
#include "SweepConfig.h"
#include "SweepData.h"
#include "SweepGraph.h"

#include <QGroupBox>
#include <QHBoxLayout>

CursorReadout::CursorReadout(const SweepConfig& config, const SweepData* data, SweepGraph* graph,
                             QWidget* parent)
    : QObject(parent), m_cfg(config), m_data(data), m_graph(graph),
      m_box(new QGroupBox(QStringLiteral("Cursor position"), parent)) {
    m_box->setObjectName(QStringLiteral("frameCursor"));
    auto* row = new QHBoxLayout(m_box);
    row->setContentsMargins(6, 2, 6, 4);
    txtX = makeField(QStringLiteral("txtX"), QStringLiteral("Cursor frequency"), true, m_box);
    txtY = makeField(QStringLiteral("txtY"), QStringLiteral("Cursor level"), true, m_box);
    Label5 = makeLabel(QStringLiteral("Label5"), QStringLiteral("Volt"), m_box);
    row->addWidget(txtX, 2);
    row->addWidget(makeLabel(QStringLiteral("lblCursorHz"), QStringLiteral("Hz"), m_box));
    row->addSpacing(8);
    row->addWidget(txtY, 1);
    row->addWidget(Label5);
}

void CursorReadout::applyCursorMode() {
    m_graph->setCrossVisible(m_cfg.cursorMode != 0);
}

void CursorReadout::setUnit(const QString& unit) {
    Label5->setText(unit);
}

void CursorReadout::clear() {
    txtY->clear();
    txtX->clear();
}

void CursorReadout::picSweep_MouseMove(double x, double y) {
    const int s = m_graph->scala();
    const int row = SweepData::rowAt(x);
    txtX->setText(m_data->text(row, 0));
    txtY->setText(formatNumber(ScaleModel::levelAt(y, s), ScaleModel::levelPicture(s)));
    if (m_cfg.cursorMode != 0) {
        const double level = m_data->level(row);
        m_graph->setCross(x, ScaleModel::userY(level, s));
        txtY->setText(formatNumber(level, ScaleModel::levelPicture(s)));
    }
}

QString CursorReadout::frequencyText() const {
    return txtX->text();
}

QString CursorReadout::levelText() const {
    return txtY->text();
}
