#pragma once
// picSweep: the graph picture. The grid lives in a background pixmap (drawScreen), the curve is
// painted over it from the levels of the last sweep (drawLine), once per sweep. User coordinates:
// x is the point number 0..400; y is millivolts (linear scale, upwards) or -1000 x dB
// (logarithmic scales, downwards), with the picture's top and height as set by setUserScale.
#include <QPixmap>
#include <QVector>
#include <QWidget>

class SweepGraph : public QWidget {
    Q_OBJECT
public:
    explicit SweepGraph(QWidget* parent = nullptr);

    // Black picture, green foreground, linear user scale of maxScaleV volts.
    void inizializzaGraph(double maxScaleV);
    // Top and height of the picture in user units (height may be negative: y grows upwards).
    void setUserScale(double top, double height);
    // Redraws the grid of the current user scale into the background.
    void drawScreen();
    // Draws the curve of points 1..400 with levels in user units (y values).
    void drawLine(const QVector<double>& yUser);
    // Removes the curve; the grid stays.
    void clearCurve();

    // Marker lines: x of M1/M2 (point numbers), y of M3/M4 (user units).
    void setMarkerX(int index, double x);
    void setMarkerY(int index, double y);
    double markerX(int index) const { return m_markerX[index & 1]; }
    double markerY(int index) const { return m_markerY[index & 1]; }

    double userTop() const { return m_top; }
    double userHeight() const { return m_height; }
    int curvePointCount() const { return m_curve.size(); }
    // Counts drawLine calls; a sweep must repaint the curve once, not per point.
    int drawLineCount() const { return m_drawLineCount; }

    // Level of a point (volts, or dB on the logarithmic scales) in user units.
    static double userLevel(double level, int scala) {
        return scala == 0 ? level * 1000.0 : level * -1000.0;
    }

    // Maps user coordinates to pixels of the current size.
    QPointF toPixel(double x, double y) const;

signals:
    void mousePressed();
    void mouseMoved(double x, double y, Qt::MouseButtons buttons, Qt::KeyboardModifiers mods);
    void mouseReleased(double x, double y, Qt::MouseButton button, Qt::KeyboardModifiers mods);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QPointF toUser(const QPointF& pixel) const;

    QPixmap m_background;
    QVector<double> m_curve;
    double m_top = 1500.0 * 0.998;
    double m_height = -1500.0;
    double m_markerX[2] = {1, 2};
    double m_markerY[2] = {0, 0};
    int m_drawLineCount = 0;
};
