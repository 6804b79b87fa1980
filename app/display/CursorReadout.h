#pragma once
// "Cursor position": the frequency and level under the mouse pointer over the graph (txtX,
// txtY, with the unit caption Label5). With "Floating cross" the level is the pointer's;
// with "Linked" a cross of two lines follows the curve and the level is the curve's.
#include <QObject>

class QGroupBox;
class QLabel;
class QLineEdit;
class SweepConfig;
class SweepData;
class SweepGraph;

class CursorReadout : public QObject {
    Q_OBJECT
public:
    CursorReadout(const SweepConfig& config, const SweepData* data, SweepGraph* graph,
                  QWidget* parent);

    QGroupBox* box() const { return m_box; }

    // The cross is shown exactly when the cursor mode is not "Floating cross".
    void applyCursorMode();
    void setUnit(const QString& unit);
    void clear();

    // The pointer moved over the graph to (x, y), in the picture's coordinates.
    void picSweep_MouseMove(double x, double y);

    QString frequencyText() const;
    QString levelText() const;

private:
    const SweepConfig& m_cfg;
    const SweepData* m_data;
    SweepGraph* m_graph;
    QGroupBox* m_box;
    QLineEdit* txtX = nullptr;
    QLineEdit* txtY = nullptr;
    QLabel* Label5 = nullptr;
};
