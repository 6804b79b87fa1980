#pragma once
// The view "Marker": the frequency markers M1 and M2 (boxes of frequency and level, their
// difference), the level markers M3 and M4 (boxes and difference) and the buttons that copy
// M1 and M2 to the sweep range. Marker lines live on the graph; this panel keeps the boxes
// and the lines in step, reading the points from the sweep data.
#include <QObject>
#include <functional>

class QLineEdit;
class QPushButton;
class QLabel;
class QWidget;
class SweepConfig;
class SweepData;
class SweepGraph;

class MarkerPanel : public QObject {
    Q_OBJECT
public:
    MarkerPanel(const SweepConfig& config, SweepData* data, SweepGraph* graph, QWidget* parent);

    QWidget* widget() const { return m_panel; }

    // Start-up: the stored texts, then the lines placed from them (levels first).
    void restore(const QString& m1, const QString& m2, const QString& m3, const QString& m4);

    // Line of "M1" or "M2" moved to the first point whose frequency reaches the box's value.
    void aggiornaPosMarkerX(const QString& name);
    // Boxes of M1 and M2 from the points under their lines, and their difference.
    void aggiornaLblMarkerX();
    // Lines of M3 and M4 from their boxes.
    void aggiornaPosMarkerY();
    // Boxes of M3 and M4 from their lines, and their difference.
    void aggiornaLblMarkerY();
    // M1 (m = 0) or M2 (m = 1) put on point row, its boxes following.
    void placeMarker(int m, int row);
    // After a redraw: the level boxes of M1 and M2 from the points under their lines.
    void showLevels();
    // The table was rebuilt: the level boxes of M1 and M2 read "0".
    void clearLevels();
    // Unit heading of the level column ("Volt" or "dB").
    void setUnit(const QString& unit);
    // Before a switch of scale: M3 and M4 re-written in the new unit, same physical levels.
    void convertLevels(int from, int to);
    // A mouse button released over the graph (x, y in the picture's coordinates): M1 or M2 by
    // a plain click, M3 or M4 with Shift or Ctrl; in "Linked" mode the level is the curve's.
    void picSweep_MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers mods, double x, double y);
    // Where a non-numeric M4 level is taken from: the text of the volts full-scale box.
    void setFullScaleText(std::function<QString()> text) { m_fullScaleText = std::move(text); }

    // Texts the closing writer saves.
    QString m1Text() const;
    QString m2Text() const;
    QString m3Text() const;
    QString m4Text() const;

signals:
    // A typed value was corrected.
    void beepRequested();
    // "M1 -> Start" (toStart) or "M2 -> Stop" with the marker's frequency.
    void copyToRange(bool toStart, qint32 frequency);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void copy(bool toStart);
    void frequencyLostFocus(QLineEdit* field);
    void levelLostFocus(QLineEdit* field);
    // "M1 SWR", "M2 SWR" in one row: shown while the sweep is normalised.
    void showReflection();

    const SweepConfig& m_cfg;
    SweepData* m_data;
    SweepGraph* m_graph;
    QWidget* m_panel;
    QLabel* Label15 = nullptr;
    QLineEdit* txtM1X = nullptr;
    QLineEdit* txtM2X = nullptr;
    QLineEdit* txtM1Y = nullptr;
    QLineEdit* txtM2Y = nullptr;
    QLineEdit* txtM2M1 = nullptr;
    QLineEdit* txtM3Y = nullptr;
    QLineEdit* txtM4Y = nullptr;
    QLineEdit* txtM4M3 = nullptr;
    QPushButton* cmdCopyM1 = nullptr;
    QPushButton* cmdCopyM2 = nullptr;
    QLineEdit* txtSwr[2] = {nullptr, nullptr};
    QLabel* lblSwr = nullptr;
    std::function<QString()> m_fullScaleText;
};
