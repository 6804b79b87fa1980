#pragma once
// The view "Measure": a filter's figures read from the curve the window shows, recomputed with
// every sweep. The filter type and the level of the edges are chosen here; the eight figures
// stand in read-only fields named for a screen reader ("Peak frequency", ... "Shape factor").
// "Peak -> M1" and "Edges -> M1/M2" put the frequency markers on the points nearest the peak
// (or the notch) and the edges; with "Track peak" M1 follows the peak after every sweep.
#include "FilterAnalysis.h"

#include <QObject>
#include <QVector>
#include <array>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QLineEdit;
class QPushButton;
class QWidget;
class SweepData;

class MeasurePanel : public QObject {
    Q_OBJECT
public:
    MeasurePanel(SweepData* data, QWidget* parent);

    QWidget* widget() const { return m_panel; }
    // The figures of the levels shown now.
    void recompute();
    const FilterResult& result() const { return m_result; }
    // The point nearest a frequency (1..400).
    int nearestRow(double hz) const;

signals:
    // Put frequency marker m (0: M1, 1: M2) on point row.
    void placeMarker(int m, int row);
    // Nothing to put a marker on.
    void beepRequested();

private:
    // The rows of the panel: the two choices, the eight figures, the marker buttons.
    void addChoices(QGridLayout* g);
    void addFigures(QGridLayout* g);
    void addButtons(QGridLayout* g);
    void peakToM1();
    void edgesToMarkers();

    SweepData* m_data;
    QWidget* m_panel;
    QComboBox* cboFilterType = nullptr;
    QComboBox* cboLevel = nullptr;
    std::array<QLineEdit*, 8> txtResult{};
    QPushButton* cmdPeakM1 = nullptr;
    QPushButton* cmdEdgesM1M2 = nullptr;
    QCheckBox* chkTrackPeak = nullptr;
    FilterResult m_result;
};
