// The picture as pixels: background, grid and red lines, the yellow curve over them, one curve
// after two drawings, the grid alone after a grid redraw, and a crisp grid with an antialiased
// curve at pixel ratio 2.
#include "ScaleModel.h"
#include "SweepGraph.h"

#include <QImage>
#include <QPainter>
#include <QtTest>

namespace {
const QColor kBlack(0, 0, 0);
const QColor kMinor(0, 100, 0);
const QColor kMajor(0, 200, 0);
const QColor kRed(230, 0, 0);
const QColor kYellow(255, 255, 0);

// 400 x 300 pixels: one pixel per point; on "Logarithmic (1V)" with -40 dB one pixel row is
// 40000 / 300 user units.
constexpr double kRow = 40000.0 / 300.0;

QImage render(SweepGraph& g, qreal ratio = 1.0) {
    QImage img(g.size() * ratio, QImage::Format_RGB32);
    img.setDevicePixelRatio(ratio);
    img.fill(Qt::magenta);
    QPainter p(&img);
    g.paintPicture(p);
    return img;
}

QColor at(const QImage& img, int x, int y) {
    return img.pixelColor(x, y);
}

// A flat curve whose line covers pixel row `row` exactly.
QVector<double> flatAtRow(int row) {
    return QVector<double>(400, (row + 0.5) * kRow);
}
} // namespace

class TestSweepGraph : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<SweepGraph> m_graph;

private slots:
    void init() {
        m_graph = std::make_unique<SweepGraph>();
        m_graph->resize(400, 300);
        m_graph->inizializzaGraph(1.5);
        m_graph->setScale(1, *ScaleModel::frameOf(1, 1.5, 40));
        m_graph->drawScreen();
        // Markers out of the way of the pixels looked at.
        m_graph->setMarkerX(0, 393);
        m_graph->setMarkerX(1, 397);
        m_graph->setMarkerY(0, 39000);
        m_graph->setMarkerY(1, 39000);
    }

    void gridAndCurveColours() {
        m_graph->drawLine(flatAtRow(150));
        const QImage img = render(*m_graph);
        QCOMPARE(at(img, 5, 40), kBlack);
        QCOMPARE(at(img, 10, 40), kMinor);    // x = 10
        QCOMPARE(at(img, 50, 40), kMajor);    // x = 50
        QCOMPARE(at(img, 200, 40), kRed);     // centre line
        QCOMPARE(at(img, 5, 75), kMajor);     // -10 dB
        QCOMPARE(at(img, 5, 0), kRed);        // 0 dB
        QCOMPARE(at(img, 5, 15), kMinor);     // -2 dB
        QCOMPARE(at(img, 305, 150), kYellow); // the curve over the grid
        QCOMPARE(at(img, 305, 146), kBlack);
    }

    void redrawKeepsOneCurveAndGridRedrawClearsIt() {
        m_graph->drawLine(flatAtRow(100));
        m_graph->drawLine(flatAtRow(200));
        QImage img = render(*m_graph);
        QCOMPARE(at(img, 305, 100), kBlack);
        QCOMPARE(at(img, 305, 200), kYellow);
        m_graph->clearCurve();
        QCOMPARE(at(render(*m_graph), 305, 200), kBlack);

        m_graph->drawLine(flatAtRow(200));
        m_graph->drawScreen();
        img = render(*m_graph);
        QCOMPARE(at(img, 305, 200), kBlack);
        QCOMPARE(at(img, 200, 200), kRed); // the grid is still there
        QCOMPARE(m_graph->curvePointCount(), 0);
    }

    void linearScaleHasItsZeroLineNearTheBottom() {
        m_graph->setScale(0, *ScaleModel::frameOf(0, 1.5, 0));
        m_graph->drawScreen();
        const QImage img = render(*m_graph);
        // 0 mV is 3 of 1500 mV above the bottom edge: row 299.4, drawn on row 299.
        QCOMPARE(at(img, 5, 299), kRed);
        QCOMPARE(at(img, 5, 290), kBlack);
        // The major line a quarter down from the top (1122 mV) is on row 75.
        QCOMPARE(at(img, 5, 75), kMajor);
    }

    void crispGridAndSmoothCurveAtRatioTwo() {
        QVector<double> ramp(400);
        for (int i = 0; i < 400; ++i)
            ramp[i] = i * 50.0; // a slope: 0 .. -20 dB
        m_graph->drawLine(ramp);
        const QImage img = render(*m_graph, 2.0);
        QCOMPARE(img.width(), 800);
        // The line at x = 10 covers device columns 19 and 20 fully, nothing beside them.
        QCOMPARE(at(img, 19, 500), kMinor);
        QCOMPARE(at(img, 20, 500), kMinor);
        QCOMPARE(at(img, 18, 500), kBlack);
        QCOMPARE(at(img, 21, 500), kBlack);
        // Along the slope the curve's edge pixels are blends of yellow and black.
        bool blended = false;
        for (int y = 0; y < img.height() && !blended; ++y) {
            const QColor c = at(img, 611, y);
            blended = c.red() > 20 && c.red() < 235 && c.blue() == 0 && c.red() == c.green();
        }
        QVERIFY(blended);
    }
};

QTEST_MAIN(TestSweepGraph)
#include "tst_sweepgraph.moc"
