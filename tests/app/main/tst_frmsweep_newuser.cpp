// What a new user met trying the window without hardware: typed values lost to a click on a
// digit bar or the graph, a table cut off, the log not selecting its last line, the full-scale
// boxes showing the file's text, and a fresh file filling itself in the wrong order. Focus moves
// are real: the window is shown and active, and the mouse and keyboard drive it.
#include "NumberFormat.h"
#include "SweepFixture.h"
#include "SweepGraph.h"
#include "SweepTable.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QtTest>

namespace {
QString fmt(double f) {
    return formatNumber(f, QStringLiteral("###,###,##0"));
}

// The keys of one section of an ini text, in file order.
QStringList keysOf(const QString& ini, const QString& section) {
    QStringList keys;
    bool inside = false;
    for (const QString& line : ini.split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1Char('[')))
            inside = line == QLatin1Char('[') + section + QLatin1Char(']');
        else if (inside && line.contains(QLatin1Char('=')))
            keys << line.section(QLatin1Char('='), 0, 0);
    }
    return keys;
}
} // namespace

class TestFrmSweepNewUser : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<SweepFixture> m_fx;

    frmSweep* openShown(const QString& ini) {
        m_fx = std::make_unique<SweepFixture>();
        return m_fx->openShown(ini);
    }
    template <typename T> T* child(const QString& name) {
        return m_fx->window->findChild<T*>(name);
    }
    // Clicks into the field and types over its text, leaving the focus in it.
    void typeWithoutLeaving(QLineEdit* field, const QString& text) {
        QTest::mouseClick(field, Qt::LeftButton);
        QVERIFY(field->hasFocus());
        field->selectAll();
        QTest::keyClicks(field, text);
    }

private slots:
    void cleanup() {
        if (m_fx && m_fx->window)
            m_fx->window->close();
        m_fx.reset();
    }

    void typedRangeSurvivesAClickOnADigitBarOrTheGraph() {
        frmSweep* w =
            openShown(SweepFixture::noDeviceIni(QStringLiteral("Start=1000000\nStop=10000000\n")));
        QVERIFY(w);
        auto* start = child<QLineEdit>(QStringLiteral("txtStart"));
        auto* stop = child<QLineEdit>(QStringLiteral("txtStop"));

        // The upper arrow of the 1 Hz bar adds one to the value just typed.
        typeWithoutLeaving(start, QStringLiteral("3000000"));
        auto* bar = child<QScrollBar>(QStringLiteral("VScrollStart_0"));
        QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, 3));
        QCOMPARE(w->config().freqStart, 3000001);
        QCOMPARE(start->text(), fmt(3000001));

        // A wheel turn over a bar moves no focus; the typed value still goes in first.
        typeWithoutLeaving(stop, QStringLiteral("7000000"));
        auto* stopBar = child<QScrollBar>(QStringLiteral("VScrollStop_3"));
        QWheelEvent wheel(QPointF(8, 15), stopBar->mapToGlobal(QPointF(8, 15)), QPoint(),
                          QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(stopBar, &wheel);
        QCOMPARE(w->config().freqStop, 7001000);

        // A click on the graph takes the focus: the typed stop frequency is kept.
        typeWithoutLeaving(stop, QStringLiteral("4000000"));
        QTest::mouseClick(w->graph(), Qt::LeftButton, {}, QPoint(50, 50));
        QCOMPARE(w->config().freqStop, 4000000);
        QCOMPARE(stop->text(), fmt(4000000));
    }

    void tableBuiltWhileHiddenIsNotCutOff() {
        frmSweep* w =
            openShown(SweepFixture::noDeviceIni(QStringLiteral("Start=10000000\nStop=50000000\n")));
        QVERIFY(w);
        QVERIFY(w->table()->isHidden() || !w->table()->isVisible());
        w->selezionaVista(1);
        QTRY_VERIFY(w->table()->isVisible());
        QTRY_COMPARE(w->table()->columnWidth(0), qRound(w->table()->viewport()->width() / 2.0));
        const QString widest = w->table()->cellText(400, 0);
        QCOMPARE(widest, fmt(49900000));
        QVERIFY2(w->table()->columnWidth(0) >
                     w->table()->fontMetrics().horizontalAdvance(widest) + 4,
                 qPrintable(QString::number(w->table()->columnWidth(0))));
        // A wider window gives a wider column.
        const int before = w->table()->columnWidth(0);
        w->resize(w->width() + 200, w->height());
        QTRY_VERIFY(w->table()->columnWidth(0) >= before);
    }

    void logSelectsItsNewLastLine() {
        frmSweep* w = openShown(SweepFixture::noDeviceIni(QStringLiteral("Start=1000000\n")) +
                                QStringLiteral("[Debug]\nLog=1\n"));
        QVERIFY(w);
        auto* log = child<QListWidget>(QStringLiteral("lstLOG"));
        w->onErrore(0, QStringLiteral("L> first"));
        w->onErrore(3, QStringLiteral("L> second"));
        QCOMPARE(log->count(), 2);
        QCOMPARE(log->currentRow(), 1);
        QCOMPARE(log->selectedItems().size(), 1);
        QCOMPARE(log->selectedItems().first()->text(), QStringLiteral("3 L> second"));
    }

    void fullScaleBoxesShowTheStoredNumbers() {
        frmSweep* w = openShown(
            SweepFixture::noDeviceIni(QStringLiteral("Max scaleV=1.50\nMax scaleDb=-40.4\n")));
        QVERIFY(w);
        QCOMPARE(child<QLineEdit>(QStringLiteral("txtMaxVolt"))->text(),
                 QStringLiteral("1") + QLocale().decimalPoint() + QStringLiteral("50"));
        QCOMPARE(child<QLineEdit>(QStringLiteral("txtMaxDb"))->text(), QStringLiteral("-40"));
    }

    void freshFileFillsItselfInReadingOrder() {
        frmSweep* w = openShown(
            QStringLiteral("[Config]\nInterface=0\nDDS Device=AD9851\nADC Device=10bit\n"));
        QVERIFY(w);
        QCOMPARE(
            keysOf(m_fx->ini.read(), QStringLiteral("Sweep Generator")),
            (QStringList{QStringLiteral("Scale"), QStringLiteral("Start"), QStringLiteral("Stop"),
                         QStringLiteral("Marker 0"), QStringLiteral("Max scaleV"),
                         QStringLiteral("Max scaleDb"), QStringLiteral("Sweep mode"),
                         QStringLiteral("Cursor mode"), QStringLiteral("Aux_1"),
                         QStringLiteral("Aux_2"), QStringLiteral("Pot_2"),
                         QStringLiteral("Marker 3"), QStringLiteral("Marker 4"),
                         QStringLiteral("Marker 1"), QStringLiteral("Marker 2")}));
    }
};

QTEST_MAIN(TestFrmSweepNewUser)
#include "tst_frmsweep_newuser.moc"
