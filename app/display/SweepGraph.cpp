#include "SweepGraph.h"

#include "SweepContract.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <utility>

namespace {
const QColor kMinorGrid(0, 100, 0);
const QColor kMajorGrid(0, 200, 0);
const QColor kRedLine(230, 0, 0);
const QColor kCurve(255, 255, 0);
const QColor kMarkerLine(0, 255, 255);
const QColor kMarker2Line(128, 255, 255);

QColor gridColour(ScaleModel::LineKind kind) {
    switch (kind) {
    case ScaleModel::LineKind::Major:
        return kMajorGrid;
    case ScaleModel::LineKind::Red:
        return kRedLine;
    default:
        return kMinorGrid;
    }
}
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
    for (int m = 0; m < 4; ++m) {
        auto* l = new QLabel(QStringLiteral("M%1").arg(m + 1), this);
        l->setObjectName(QStringLiteral("lblM%1").arg(m + 1));
        l->setStyleSheet(QStringLiteral("color: rgb(0, 255, 255); background: transparent;"));
        l->setAttribute(Qt::WA_TransparentForMouseEvents);
        l->adjustSize();
        m_markerLabels[m] = l;
    }
}

void SweepGraph::inizializzaGraph(double maxScaleV) {
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    pal.setColor(QPalette::WindowText, Qt::green);
    setPalette(pal);
    if (const auto f = ScaleModel::frameOf(0, maxScaleV, 0))
        setScale(0, *f);
}

void SweepGraph::setScale(int scala, const ScaleModel::Frame& frame) {
    m_scala = scala;
    m_frame = frame;
    if (m_frame.height == 0.0)
        m_frame.height = -1.0;
    m_backgroundStale = true;
    placeMarkerLabels();
}

QPointF SweepGraph::toPixel(double x, double y) const {
    return {x / NUMERO_CAMPIONI * width(), (y - m_frame.top) / m_frame.height * height()};
}

QPointF SweepGraph::toUser(const QPointF& p) const {
    const double w = std::max(1, width());
    const double h = std::max(1, height());
    return {p.x() / w * NUMERO_CAMPIONI, m_frame.top + p.y() / h * m_frame.height};
}

void SweepGraph::ownUpdate() {
    // Inside a repaint the picture is being painted already.
    if (m_inPaint)
        return;
    m_ownUpdate = true;
    update();
}

void SweepGraph::drawScreen() {
    m_curve.clear();
    m_backgroundStale = true;
    ownUpdate();
}

void SweepGraph::renderBackground(qreal ratio) {
    m_background = QPixmap(size() * ratio);
    m_background.setDevicePixelRatio(ratio);
    m_background.fill(Qt::black);
    QPainter p(&m_background);
    for (const ScaleModel::GridLine& line : ScaleModel::verticalLines()) {
        p.setPen(gridColour(line.kind));
        const double px = toPixel(line.at, 0).x();
        p.drawLine(QPointF(px, 0), QPointF(px, height()));
    }
    for (const ScaleModel::GridLine& line : ScaleModel::horizontalLines(m_scala, m_frame)) {
        const double py = toPixel(0, line.at).y();
        if (py < -1 || py > height() + 1)
            continue;
        p.setPen(gridColour(line.kind));
        p.drawLine(QPointF(0, py), QPointF(width(), py));
    }
    m_backgroundStale = false;
}

void SweepGraph::drawLine(const QVector<double>& yUser) {
    m_curve.resize(yUser.size());
    for (int i = 0; i < yUser.size(); ++i)
        m_curve[i] = QPointF(i + 1, yUser[i]);
    ++m_drawLineCount;
    ownUpdate();
}

void SweepGraph::clearCurve() {
    m_curve.clear();
    ownUpdate();
}

QColor SweepGraph::memoryColour(int n) {
    static const QColor kMemory[] = {QColor(255, 140, 0), QColor(255, 80, 255),
                                     QColor(120, 150, 255), QColor(200, 200, 200)};
    return kMemory[std::clamp(n, 1, 4) - 1];
}

void SweepGraph::setMemories(const QVector<MemoryCurve>& memories) {
    m_memories = memories;
    ownUpdate();
}

void SweepGraph::paintMemories(QPainter& p) const {
    QPolygonF run;
    const auto flush = [&] {
        if (run.size() > 1)
            p.drawPolyline(run);
        run.clear();
    };
    p.setRenderHint(QPainter::Antialiasing, true);
    for (const MemoryCurve& memory : m_memories) {
        QPen pen(memory.colour, 1.0);
        pen.setCosmetic(true);
        p.setPen(pen);
        // Drawn only over the points the memory reaches: a gap breaks the line.
        for (int i = 0; i < memory.y.size(); ++i) {
            if (memory.y[i])
                run << toPixel(i + 1, *memory.y[i]);
            else
                flush();
        }
        flush();
    }
    p.setRenderHint(QPainter::Antialiasing, false);
}

void SweepGraph::paintMemoryCaptions(QPainter& p) const {
    // Over every line, each on a black ground of its own, Memory 1 the highest.
    const QFontMetrics fm(font());
    int baseline = height() - 4;
    for (int m = int(m_memories.size()) - 1; m >= 0; --m) {
        const MemoryCurve& memory = m_memories[m];
        const int width = fm.horizontalAdvance(memory.caption);
        const int x = this->width() - 6 - width;
        p.fillRect(QRect(x - 2, baseline - fm.ascent() - 1, width + 4, fm.height() + 1), Qt::black);
        p.setPen(memory.colour);
        p.drawText(x, baseline, memory.caption);
        baseline -= fm.height();
    }
}

void SweepGraph::setMarkerX(int index, double x) {
    m_markerX[index & 1] = x;
    placeMarkerLabels();
    ownUpdate();
}

void SweepGraph::setMarkerY(int index, double y) {
    m_markerY[index & 1] = y;
    placeMarkerLabels();
    ownUpdate();
}

void SweepGraph::setCrossVisible(bool visible) {
    m_crossVisible = visible;
    ownUpdate();
}

void SweepGraph::setCross(double x, double y) {
    m_crossX = x;
    m_crossY = y;
    if (m_crossVisible)
        ownUpdate();
}

void SweepGraph::placeMarkerLabels() {
    for (int m = 0; m < 2; ++m) {
        QLabel* l = m_markerLabels[m];
        const double px = toPixel(m_markerX[m] + 2, 0).x();
        l->move(int(std::lround(px)), 2 + m * l->height());
        l->setVisible(px >= 0 && px < width());
    }
    for (int m = 0; m < 2; ++m) {
        QLabel* l = m_markerLabels[2 + m];
        const double py = toPixel(0, m_markerY[m]).y();
        // Just above the line, at the right end; M4 beside M3 so the two never cover each other.
        l->move(width() - (m + 1) * (l->width() + 6), int(std::lround(py)) - l->height());
        l->setVisible(py >= 0 && py <= height());
    }
}

void SweepGraph::paintPicture(QPainter& p) {
    const qreal ratio = p.device()->devicePixelRatioF();
    if (m_backgroundStale || m_background.size() != size() * ratio ||
        m_background.devicePixelRatio() != ratio)
        renderBackground(ratio);
    p.drawPixmap(0, 0, m_background);
    paintMemories(p);

    if (!m_curve.isEmpty()) {
        QPolygonF poly(m_curve.size());
        for (int i = 0; i < m_curve.size(); ++i)
            poly[i] = toPixel(m_curve[i].x(), m_curve[i].y());
        p.setRenderHint(QPainter::Antialiasing, true);
        // A one-pixel cosmetic pen has the fast antialiased path; on dense screens a second
        // stroke one device pixel aside gives the curve the width it has on others.
        QPen pen(kCurve, 1.0);
        pen.setCosmetic(true);
        p.setPen(pen);
        p.drawPolyline(poly);
        if (ratio >= 1.5) {
            poly.translate(1.0 / ratio, 1.0 / ratio);
            p.drawPolyline(poly);
        }
        p.setRenderHint(QPainter::Antialiasing, false);
    }

    for (int m = 0; m < 2; ++m) {
        p.setPen(m == 0 ? kMarkerLine : kMarker2Line);
        const double px = toPixel(m_markerX[m], 0).x();
        p.drawLine(QPointF(px, 0), QPointF(px, height()));
    }
    p.setPen(kMarkerLine);
    for (double y : m_markerY) {
        const double py = toPixel(0, y).y();
        p.drawLine(QPointF(0, py), QPointF(width(), py));
    }
    paintMemoryCaptions(p);
    if (m_crossVisible) {
        p.setPen(QGuiApplication::palette().color(QPalette::Window));
        const QPointF c = toPixel(m_crossX, m_crossY);
        p.drawLine(QPointF(c.x(), 0), QPointF(c.x(), height()));
        p.drawLine(QPointF(0, c.y()), QPointF(width(), c.y()));
    }
}

void SweepGraph::paintEvent(QPaintEvent*) {
    if (!std::exchange(m_ownUpdate, false)) {
        m_inPaint = true;
        emit repaintRequested();
        m_inPaint = false;
    }
    QPainter p(this);
    paintPicture(p);
}

void SweepGraph::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_backgroundStale = true;
    placeMarkerLabels();
}

void SweepGraph::mousePressEvent(QMouseEvent* event) {
    QWidget::mousePressEvent(event);
    emit mousePressed();
}

void SweepGraph::mouseMoveEvent(QMouseEvent* event) {
    const QPointF u = toUser(event->position());
    emit mouseMoved(u.x(), u.y());
}

void SweepGraph::mouseReleaseEvent(QMouseEvent* event) {
    const QPointF u = toUser(event->position());
    emit mouseReleased(event->button(), event->modifiers(), u.x(), u.y());
}
