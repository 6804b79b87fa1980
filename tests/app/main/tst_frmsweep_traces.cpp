// The trace menu and the "Measure" view against the real tarvex and its simulated board: a
// "through" reference stored and kept over a restart, a band-pass normalised to it and measured,
// a memory drawn in its own colour, "Average" kept in Sweep.ini, and a reference that does not
// cover a new range turning "Normalize" off. The figures are read as a screen reader reads them.
#include "SweepController.h"
#include "SweepData.h"
#include "SweepFixture.h"
#include "SweepGraph.h"

#include <QAccessible>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>
#include <cmath>

namespace {
constexpr int kWaitMs = 20000;
const QString kRange = QStringLiteral("Start=3000000\nStop=7000000\nScale=1\n");

QString iniWithDut(const QString& dut) {
    return SweepFixture::lptIni(kRange) + QStringLiteral("[Simulator]\nDUT=") + dut +
           QStringLiteral("\n");
}

// The value a screen reader reads of the field named `name` inside `root`.
QString accessibleValue(QWidget* root, const QString& name) {
    QList<QAccessibleInterface*> todo{QAccessible::queryAccessibleInterface(root)};
    while (!todo.isEmpty()) {
        QAccessibleInterface* a = todo.takeFirst();
        if (!a)
            continue;
        if (a->role() == QAccessible::EditableText && a->text(QAccessible::Name) == name)
            return a->text(QAccessible::Value);
        for (int i = 0; i < a->childCount(); ++i)
            todo << a->child(i);
    }
    return QStringLiteral("<no field named %1>").arg(name);
}

// "623,519 Hz" or "8.02" in the locale's own separators.
double shownNumber(QString text) {
    text.remove(QStringLiteral(" Hz"));
    bool ok = false;
    const double v = QLocale().toDouble(text, &ok);
    return ok ? v : std::nan("");
}
} // namespace

class TestFrmSweepTraces : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<SweepFixture> m_fx;

    frmSweep* reopen(const QString& ini) {
        if (m_fx->window)
            m_fx->window->close();
        m_fx->window.reset();
        return m_fx->openShown(ini);
    }
    template <typename T> T* child(const QString& name) {
        return m_fx->window->findChild<T*>(name);
    }
    QAction* action(const char* name) { return child<QAction>(QLatin1String(name)); }
    // One whole sweep, then "Sweep OFF" and the device's end report.
    bool sweepOnce(frmSweep* w) {
        QSignalSpy sweeps(w, &frmSweep::sweepReceived);
        QTest::mouseClick(child<QPushButton>(QStringLiteral("cmdStart")), Qt::LeftButton);
        if (!sweeps.wait(kWaitMs))
            return false;
        QTest::mouseClick(child<QPushButton>(QStringLiteral("cmdStop")), Qt::LeftButton);
        return QTest::qWaitFor([w] { return w->statoSweep() == SweepState::kStopped; }, kWaitMs);
    }

private slots:
    void init() { m_fx = std::make_unique<SweepFixture>(); }
    void cleanup() {
        if (m_fx->window)
            m_fx->window->close();
        m_fx.reset();
    }

    void normalisedBandpassMeasuresTheCircuitsBandwidthAndQ() {
        frmSweep* w = m_fx->openShown(iniWithDut(QStringLiteral("through")));
        QVERIFY(w);
        QVERIFY(!action("mnuNormalize")->isEnabled()); // no reference yet
        QVERIFY(sweepOnce(w));
        action("mnuStoreReference")->trigger();
        QVERIFY(action("mnuNormalize")->isEnabled());
        QVERIFY(QFile::exists(m_fx->ini.filePath(QStringLiteral("Reference.csv"))));

        // The reference comes back at the next start, with another device under test.
        w = reopen(iniWithDut(QStringLiteral("bandpass")));
        QVERIFY(w);
        QVERIFY(action("mnuNormalize")->isEnabled());
        QVERIFY(sweepOnce(w));
        action("mnuNormalize")->trigger();
        QVERIFY(action("mnuNormalize")->isChecked());
        QCOMPARE(child<QLabel>(QStringLiteral("lblVolt_10"))->text(), QStringLiteral("(Ref)"));
        QVERIFY2(m_fx->messages.shown.isEmpty(), qPrintable(m_fx->messages.lastText()));

        QTest::mouseClick(child<QPushButton>(QStringLiteral("cmdView_4")), Qt::LeftButton);
        QWidget* measure = child<QGroupBox>(QStringLiteral("frameView_4"));
        QVERIFY(measure->isVisible());
        // The tuned circuit of the simulator, f0 = 5 MHz and Q = 8: at 3 dB below its peak
        // Q x = sqrt(10^0.3 - 1) with x = f/f0 - f0/f, so f2 - f1 = (f0 / Q) sqrt(10^0.3 - 1)
        // and f1 f2 = f0^2; the centre is their arithmetic mean.
        const double f0 = 5e6;
        const double bandwidth = f0 / 8.0 * std::sqrt(std::pow(10.0, 0.3) - 1.0);
        const double centre = std::sqrt(f0 * f0 + bandwidth * bandwidth / 4.0);
        const double measuredBw =
            shownNumber(accessibleValue(measure, QStringLiteral("Bandwidth")));
        const double measuredQ = shownNumber(accessibleValue(measure, QStringLiteral("Q")));
        QVERIFY2(
            std::abs(measuredBw / bandwidth - 1.0) < 0.02,
            qPrintable(QStringLiteral("bandwidth %1, expected %2").arg(measuredBw).arg(bandwidth)));
        QVERIFY2(
            std::abs(measuredQ / (centre / bandwidth) - 1.0) < 0.02,
            qPrintable(QStringLiteral("Q %1, expected %2").arg(measuredQ).arg(centre / bandwidth)));
        // Normalised, the peak is the circuit's own loss: about 0 dB.
        const double peak = shownNumber(
            accessibleValue(measure, QStringLiteral("Peak level")).remove(QStringLiteral(" dB")));
        QVERIFY2(std::abs(peak) < 0.3, qPrintable(QString::number(peak)));

        // "Edges -> M1/M2" puts the markers on the points nearest the 3 dB edges; normalised, the
        // marker panel reads there the SWR of a level of -3 dB: (1 + rho) / (1 - rho) = 5.85
        // with rho = 10^(-3/20), give or take the step between two points.
        QTest::mouseClick(child<QPushButton>(QStringLiteral("cmdEdgesM1M2")), Qt::LeftButton);
        for (const char* field : {"txtM1Swr", "txtM2Swr"}) {
            const QString shown = child<QLineEdit>(QLatin1String(field))->text();
            const double swr = shownNumber(shown);
            QVERIFY2(swr > 5.3 && swr < 6.5, qPrintable(shown));
        }
        // "Peak -> M1" puts M1 on the peak.
        QTest::mouseClick(child<QPushButton>(QStringLiteral("cmdPeakM1")), Qt::LeftButton);
        const int row = SweepData::rowAt(w->graph()->markerX(0));
        QVERIFY2(std::abs(double(w->data()->frequencyOf(row)) - f0) <= 10000,
                 qPrintable(QString::number(w->data()->frequencyOf(row))));

        // A memory is drawn under the curve in a colour none of the graph's lines has, over the
        // whole sweep, normalised like the live curve.
        action("mnuMemoryStore_1")->trigger();
        QCOMPARE(w->graph()->memories().size(), 1);
        const MemoryCurve& memory = w->graph()->memories().constFirst();
        QCOMPARE(memory.caption, QStringLiteral("Memory 1"));
        for (const QColor& taken :
             {QColor(0, 100, 0), QColor(0, 200, 0), QColor(230, 0, 0), QColor(255, 255, 0),
              QColor(0, 255, 255), QColor(128, 255, 255)})
            QVERIFY(memory.colour != taken);
        QCOMPARE(memory.y.size(), SweepData::kPoints);
        QVERIFY(memory.y[row - 1].has_value());
        QVERIFY(std::abs(*memory.y[row - 1] - w->graph()->curveY(row)) < 1.0); // 0.001 dB
        action("mnuMemoryShow_1")->trigger();
        QVERIFY(w->graph()->memories().isEmpty());

        // A sweep over a range the reference does not cover turns normalisation off and says why.
        auto* start = child<QLineEdit>(QStringLiteral("txtStart"));
        start->setFocus();
        start->selectAll();
        QTest::keyClicks(start, QStringLiteral("1000000"));
        QTest::keyClick(start, Qt::Key_Tab);
        QVERIFY(sweepOnce(w));
        QVERIFY(!action("mnuNormalize")->isChecked());
        QVERIFY2(m_fx->messages.lastText().contains(QStringLiteral("the sweep covers")),
                 qPrintable(m_fx->messages.lastText()));
        QVERIFY(child<QLabel>(QStringLiteral("lblVolt_10"))->text() != QStringLiteral("(Ref)"));
    }

    void averageIsKeptInTheSettingsFile() {
        frmSweep* w = m_fx->openShown(iniWithDut(QStringLiteral("flat")));
        QVERIFY(w);
        QVERIFY(action("mnuAverage_0")->isChecked());
        action("mnuAverage_2")->trigger(); // "4"
        QCOMPARE(w->controller()->averaging(), 4);
        w->close();
        m_fx->window.reset();
        QVERIFY(m_fx->ini.read().contains(QStringLiteral("Average=4")));
        w = m_fx->openShown(m_fx->ini.read());
        QVERIFY(w);
        QVERIFY(action("mnuAverage_2")->isChecked());
        QCOMPARE(w->controller()->averaging(), 4);
    }
};

QTEST_MAIN(TestFrmSweepTraces)
#include "tst_frmsweep_traces.moc"
