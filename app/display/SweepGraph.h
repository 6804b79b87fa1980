#pragma once
// picSweep: the graph picture. Two layers: the grid of the current scale lives in a background
// pixmap (drawScreen), the curve of the last sweep is painted over it (drawLine) and can be
// cleared without touching the grid. Over both stand the marker lines lineM1..lineM4 with
// their labels lblM1..lblM4 and the cross lines LineCV/LineCH of the "Linked" cursor. Stored
// memories are drawn under the curve, each in a colour of its own with its caption in the
// picture's lower right corner.
// User coordinates: x is the point number 0..400; y is millivolts (linear scale, upwards) or
// -1000 x dB (logarithmic scales, downwards), with the top and height of ScaleModel::frameOf.
#include "ScaleModel.h"

#include <QColor>
#include <QPixmap>
#include <QPolygonF>
#include <QVector>
#include <QWidget>
#include <array>
#include <optional>

class QLabel;

// A stored curve drawn under the live one: y of points 1..400 in user units, none where the
// memory does not reach.
struct MemoryCurve {
    QColor colour;
    QString caption;
    QVector<std::optional<double>> y;
};

class SweepGraph : public QWidget {
    Q_OBJECT
public:
    explicit SweepGraph(QWidget* parent = nullptr);

    // Black picture, green foreground, linear user scale of maxScaleV volts.
    void inizializzaGraph(double maxScaleV);
    // The scale whose grid drawScreen draws, with the picture's coordinates.
    void setScale(int scala, const ScaleModel::Frame& frame);
    // Redraws the grid into the background; the curve is cleared with it.
    void drawScreen();
    // Draws the curve of points 1..400 from their y values, in place of the previous one.
    void drawLine(const QVector<double>& yUser);
    // Removes the curve; the grid stays.
    void clearCurve();
    // The colour of memory n (1..4): none of the grid's, the curve's or the markers'.
    static QColor memoryColour(int n);
    // The memories drawn under the curve, in place of the previous ones.
    void setMemories(const QVector<MemoryCurve>& memories);
    const QVector<MemoryCurve>& memories() const { return m_memories; }

    // Marker lines: x of M1/M2 (point numbers), y of M3/M4 (user units).
    void setMarkerX(int index, double x);
    void setMarkerY(int index, double y);
    double markerX(int index) const { return m_markerX[index & 1]; }
    double markerY(int index) const { return m_markerY[index & 1]; }

    // The cross of the "Linked" cursor.
    void setCrossVisible(bool visible);
    bool crossVisible() const { return m_crossVisible; }
    void setCross(double x, double y);
    double crossX() const { return m_crossX; }
    double crossY() const { return m_crossY; }

    int scala() const { return m_scala; }
    const ScaleModel::Frame& frame() const { return m_frame; }
    int curvePointCount() const { return m_curve.size(); }
    // y of point i (1..curvePointCount()) of the curve as drawn, in user units.
    double curveY(int i) const { return m_curve.value(i - 1).y(); }
    // Counts drawLine calls; a sweep must repaint the curve once, not per point.
    int drawLineCount() const { return m_drawLineCount; }

    // User coordinates to pixels of the current size, and back.
    QPointF toPixel(double x, double y) const;
    QPointF toUser(const QPointF& pixel) const;

    // Paints grid, curve, marker and cross lines as the screen shows them (the labels are
    // child widgets); the background follows the painter's pixel ratio.
    void paintPicture(QPainter& painter);

signals:
    void mousePressed();
    void mouseMoved(double x, double y);
    void mouseReleased(Qt::MouseButton button, Qt::KeyboardModifiers mods, double x, double y);
    // The window system asked for a repaint (not one of the graph's own drawings).
    void repaintRequested();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void renderBackground(qreal ratio);
    void ownUpdate();
    void placeMarkerLabels();
    void paintMemories(QPainter& p) const;
    void paintMemoryCaptions(QPainter& p) const;

    QPixmap m_background;
    bool m_backgroundStale = true;
    QPolygonF m_curve; // user coordinates
    QVector<MemoryCurve> m_memories;
    int m_scala = 0;
    ScaleModel::Frame m_frame{1497.0, -1500.0};
    double m_markerX[2] = {1, 2};
    double m_markerY[2] = {0, 0};
    std::array<QLabel*, 4> m_markerLabels{};
    bool m_crossVisible = false;
    double m_crossX = 0;
    double m_crossY = 0;
    int m_drawLineCount = 0;
    bool m_ownUpdate = false;
    bool m_inPaint = false;
};
