#include "SweepGraph.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace {
constexpr int kPointsAcross = 400;
const QColor kMinorGrid(0, 100, 0);
const QColor kMajorGrid(0, 200, 0);
const QColor kZeroLine(230, 0, 0);
const QColor kCurve(255, 255, 0);
const QColor kMarkerLine(0, 255, 255);
const QColor kMarker2Line(128, 255, 255);
} // namespace

SweepGraph::SweepGraph(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("picSweep"));
    setAccessibleName(tr("Sweep graph"));
    setMouseTracking(true);
    // A click moves the focus here, so an edit pending in a field is committed before the
    // click acts on the markers.
    setFocusPolicy(Qt::ClickFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(300, 220);
}

void SweepGraph::inizializzaGraph(double maxScaleV) {
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    pal.setColor(QPalette::WindowText, Qt::green);
    setPalette(pal);
    setUserScale(998.0 * maxScaleV, -1000.0 * maxScaleV);
}

void SweepGraph::setUserScale(double top, double height) {
    m_top = top;
    m_height = height == 0.0 ? -1.0 : height;
    drawScreen();
}

QPointF SweepGraph::toPixel(double x, double y) const {
    return {x / kPointsAcross * width(), (y - m_top) / m_height * height()};
}

QPointF SweepGraph::toUser(const QPointF& p) const {
    const double w = std::max(1, width());
    const double h = std::max(1, height());
    return {p.x() / w * kPointsAcross, m_top + p.y() / h * m_height};
}

void SweepGraph::drawScreen() {
    if (width() <= 0 || height() <= 0)
        return;
    m_background = QPixmap(size());
    m_background.fill(Qt::black);
    QPainter p(&m_background);
    // Vertical divisions: every 20 points, major every 100 points; centre line red.
    for (int x = 0; x <= kPointsAcross; x += 20) {
        p.setPen(x % 100 == 0 ? kMajorGrid : kMinorGrid);
        if (x == kPointsAcross / 2)
            p.setPen(kZeroLine);
        const double px = toPixel(x, 0).x();
        p.drawLine(QPointF(px, 0), QPointF(px, height()));
    }
    // Horizontal divisions: twenty minor and four major bands across the visible range.
    for (int k = 0; k <= 20; ++k) {
        const double y = m_top + k * m_height / 20.0;
        p.setPen(k % 5 == 0 ? kMajorGrid : kMinorGrid);
        const double py = toPixel(0, y).y();
        p.drawLine(QPointF(0, py), QPointF(width(), py));
    }
    const double zero = toPixel(0, 0).y();
    if (zero >= 0 && zero <= height()) {
        p.setPen(kZeroLine);
        p.drawLine(QPointF(0, zero), QPointF(width(), zero));
    }
    update();
}

void SweepGraph::drawLine(const QVector<double>& yUser) {
    m_curve = yUser;
    ++m_drawLineCount;
    update();
}

void SweepGraph::clearCurve() {
    m_curve.clear();
    update();
}

void SweepGraph::setMarkerX(int index, double x) {
    m_markerX[index & 1] = x;
    update();
}

void SweepGraph::setMarkerY(int index, double y) {
    m_markerY[index & 1] = y;
    update();
}

void SweepGraph::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (m_background.size() != size())
        drawScreen();
    p.drawPixmap(0, 0, m_background);
    p.setRenderHint(QPainter::Antialiasing, false);

    if (!m_curve.isEmpty()) {
        QPolygonF poly;
        poly.reserve(m_curve.size());
        for (int i = 0; i < m_curve.size(); ++i)
            poly << toPixel(i + 1, m_curve[i]);
        p.setPen(kCurve);
        p.drawPolyline(poly);
    }

    for (int m = 0; m < 2; ++m) {
        p.setPen(m == 0 ? kMarkerLine : kMarker2Line);
        const double px = toPixel(m_markerX[m], 0).x();
        p.drawLine(QPointF(px, 0), QPointF(px, height()));
        p.drawText(QPointF(px + 3, 12 + 12 * m),
                   m == 0 ? QStringLiteral("M1") : QStringLiteral("M2"));
    }
    p.setPen(kMarkerLine);
    for (int m = 0; m < 2; ++m) {
        const double py = toPixel(0, m_markerY[m]).y();
        if (py < 0 || py > height())
            continue;
        p.drawLine(QPointF(0, py), QPointF(width(), py));
        p.drawText(QPointF(width() - 22, py - 2),
                   m == 0 ? QStringLiteral("M3") : QStringLiteral("M4"));
    }
}

void SweepGraph::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    drawScreen();
}

void SweepGraph::mousePressEvent(QMouseEvent* event) {
    QWidget::mousePressEvent(event);
    emit mousePressed();
}

void SweepGraph::mouseMoveEvent(QMouseEvent* event) {
    const QPointF u = toUser(event->position());
    emit mouseMoved(u.x(), u.y(), event->buttons(), event->modifiers());
}

void SweepGraph::mouseReleaseEvent(QMouseEvent* event) {
    const QPointF u = toUser(event->position());
    emit mouseReleased(u.x(), u.y(), event->button(), event->modifiers());
}
