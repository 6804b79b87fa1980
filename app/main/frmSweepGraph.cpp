// The scale and the drawing of the main window: the switch of scale from the menu, the grid
// and the curve, and the graph's mouse and repaint handlers.
#include "CursorReadout.h"
#include "FrequencyEntry.h"
#include "MarkerPanel.h"
#include "NumberFormat.h"
#include "ScaleControls.h"
#include "ScaleModel.h"
#include "SweepController.h"
#include "SweepData.h"
#include "SweepGraph.h"
#include "TraceMenu.h"
#include "UserMessages.h"
#include "frmSweep.h"

#include <QAction>

void frmSweep::wireGraph() {
    // A click on the graph acts on the markers; a typed range goes in first.
    connect(m_graph, &SweepGraph::mousePressed, m_entry, &FrequencyEntry::commitPendingEdit);
    connect(m_graph, &SweepGraph::mouseMoved, m_cursor, &CursorReadout::picSweep_MouseMove);
    connect(m_graph, &SweepGraph::mouseReleased, m_markers, &MarkerPanel::picSweep_MouseUp);
    // A repaint the window system asks for brings the curve back only between sweeps; while a
    // sweep runs the curve is drawn when its samples are in.
    connect(m_graph, &SweepGraph::repaintRequested, this, [this] {
        if (m_controller->statoSweep() == SweepState::kStopped)
            drawLine();
    });
    connect(m_scale, &ScaleControls::fullScaleChanged, this, [this] {
        m_markers->aggiornaPosMarkerY();
        describeGraph();
    });
    connect(m_scale, &ScaleControls::beepRequested, this, [this] { m_messages->beep(); });
    connect(m_markers, &MarkerPanel::beepRequested, this, [this] { m_messages->beep(); });
    m_markers->setFullScaleText([this] { return m_scale->maxVoltText(); });
}

void frmSweep::mnuScala_Click(int index) {
    m_markers->convertLevels(m_cfg.scala, index);
    aggiornaScala(index);
}

void frmSweep::aggiornaScala(int index) {
    m_cfg.scala = static_cast<qint16>(index);
    for (QAction* item : mnuScala)
        item->setChecked(false);
    m_scale->applyUnit();
    // The level column's heading: the scale's unit, or "Ratio" when normalised on "Linear".
    const QString unit = m_data->text(0, 1);
    m_cursor->setUnit(unit);
    m_markers->setUnit(unit);
    if (ScaleModel::isValid(index))
        mnuScala[index]->setChecked(true);
    drawScreen();
    m_markers->aggiornaPosMarkerY();
    m_cursor->clear();
    m_markers->aggiornaLblMarkerX();
    drawLine();
}

void frmSweep::drawScreen() {
    m_scale->drawScreen();
    describeGraph();
}

void frmSweep::drawLine() {
    const QVector<double>& levels = m_data->levels();
    QVector<double> y(levels.size());
    for (int i = 0; i < y.size(); ++i)
        y[i] = ScaleModel::userY(levels[i], m_cfg.scala);
    m_graph->drawLine(y);
    if (m_trace)
        m_trace->drawMemories();
}

void frmSweep::describeGraph() {
    // What a screen reader says of the picture: its scale and the range it shows.
    const int s = m_graph->scala();
    const ScaleModel::Frame& f = m_graph->frame();
    const QString picture = ScaleModel::levelPicture(s);
    const QString unit = ScaleModel::isLinear(s) ? QStringLiteral("V") : QStringLiteral("dB");
    const double top = ScaleModel::levelAt(f.top, s);
    const double bottom = ScaleModel::levelAt(f.bottom(), s);
    m_graph->setAccessibleDescription(
        QStringLiteral("%1 scale, %2 %4 at the top to %3 %4 at the bottom; %5 Hz to %6 Hz")
            .arg(ScaleModel::caption(s), formatNumber(top, picture), formatNumber(bottom, picture),
                 unit, m_data->text(1, 0), m_data->text(SweepData::kPoints, 0)));
}
