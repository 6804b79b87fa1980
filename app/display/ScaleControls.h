#pragma once
// The scale of the graph: the column of scale labels lblVolt(0..10) beside the picture, the
// full-scale boxes txtMaxVolt and txtMaxDb, and the switch of the whole display to the current
// scale (table header and value column recomputed from the raw counts, picture coordinates,
// labels). The menu's check marks and the marker boxes are the window's.
#include "SampleConverter.h"

#include <QObject>
#include <array>

class QGroupBox;
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
    QGroupBox* fullScaleBox() const { return m_box; }

    // Start-up: maxScaleV as plain text, maxScaleDb as the whole number it is.
    void showStored();
    // Display switched to config.scala: header "Volt" or "dB", the value column recomputed,
    // the full scale taken from the boxes, the picture's coordinates and the labels.
    void apply();
    void placeLabels();

signals:
    // A full-scale box was edited: the scale is to be applied again.
    void edited();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    SweepConfig& m_cfg;
    SweepData* m_data;
    SweepGraph* m_graph;
    SampleConverter m_converter;
    QWidget* m_column = nullptr;
    QGroupBox* m_box = nullptr;
    std::array<QLabel*, 11> lblVolt{};
    QLineEdit* txtMaxVolt = nullptr;
    QLineEdit* txtMaxDb = nullptr;
};
