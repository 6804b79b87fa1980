#pragma once
// The scale beside the graph: the column of scale labels lblVolt(0..10), with the full-scale
// box txtMaxVolt at its head (linear scale) or txtMaxDb at its foot (logarithmic scales),
// exactly one of them shown. Also the switch of the sweep data to a scale's unit: the table's
// header and value column recomputed from the raw counts.
#include <QObject>
#include <array>

class QLabel;
class QLineEdit;
class QWidget;
class SweepConfig;
class SweepData;
class SweepGraph;

class ScaleControls : public QObject {
    Q_OBJECT
public:
    ScaleControls(SweepConfig& config, SweepData* data, SweepGraph* graph, QWidget* parent);

    QWidget* labelColumn() const { return m_column; }
    // Space the column needs above and below the picture for the labels centred on its edges.
    static int edgeMargin();

    // Start-up: maxScaleV as plain text, maxScaleDb as the whole number it is.
    void showStored();
    // The unit of config.scala: header "Volt" or "dB", every level recomputed from its raw
    // count, and the full scale of that unit taken from its box.
    void applyUnit();
    // The grid of the current scale (the curve is cleared with it), the labels placed and
    // captioned, the visible full-scale box re-written.
    void drawScreen();
    void placeLabels();

    QString maxVoltText() const;

signals:
    // A full-scale box took a new value and the grid was redrawn: the level markers follow.
    void fullScaleChanged();
    // A typed value was corrected.
    void beepRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void txtMaxVolt_LostFocus();
    void txtMaxDb_LostFocus();

    SweepConfig& m_cfg;
    SweepData* m_data;
    SweepGraph* m_graph;
    QWidget* m_column = nullptr;
    std::array<QLabel*, 11> lblVolt{};
    QLineEdit* txtMaxVolt = nullptr;
    QLineEdit* txtMaxDb = nullptr;
};
