// The auxiliary-output views and the test panel against the real tarvex and its simulated
// hardware: the saved words and potentiometer restored at start, a press stepping a button
// off -> grayed -> on, inverted words, and the test buttons' device commands. What the boards
// saw is read from the simulator's log once the window is closed.
#include "SweepData.h"
#include "SweepFixture.h"
#include "SweepGraph.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QtTest>

namespace {
constexpr int kWaitMs = 20000;
} // namespace

class TestFrmSweepPanels : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<SweepFixture> m_fx;
    QString m_simLog;

    frmSweep* open(const QString& ini) {
        m_fx = std::make_unique<SweepFixture>();
        m_fx->ini.write(ini);
        m_simLog = m_fx->ini.filePath(QStringLiteral("hardware.log"));
        frmSweep* w = m_fx->makeWindow({QStringLiteral("--sim-pace"), QStringLiteral("max"),
                                        QStringLiteral("--sim-log"), m_simLog});
        if (!w->load())
            return nullptr;
        w->show();
        return QTest::qWaitForWindowExposed(w) ? w : nullptr;
    }
    template <typename T> T* child(const QString& name) {
        return m_fx->window->findChild<T*>(name);
    }
    QPushButton* button(const char* name) { return child<QPushButton>(QLatin1String(name)); }
    QCheckBox* aux(int n, int i) {
        return child<QCheckBox>(QStringLiteral("chkAux%1_%2").arg(n).arg(i));
    }
    // A click on the button's box, as a user aims it.
    void press(QCheckBox* b) {
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(8, b->height() / 2));
    }
    QString text(const char* name) { return child<QLabel>(QLatin1String(name))->text(); }
    QStringList logLines() {
        QStringList lines;
        auto* list = child<QListWidget>(QStringLiteral("lstLOG"));
        for (int i = 0; i < list->count(); ++i)
            lines << list->item(i)->text();
        return lines;
    }
    // Closes the window and returns what the simulated hardware saw.
    QStringList closeAndReadSimLog() {
        m_fx->window->close();
        QFile f(m_simLog);
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

private slots:
    void cleanup() {
        if (m_fx && m_fx->window) {
            if (QTest::currentTestFailed())
                qWarning().noquote() << "lstLOG:\n" << logLines().join(QLatin1Char('\n'));
            m_fx->window->close();
        }
        m_fx.reset();
    }

    void auxOutputsRestoreStepAndInvert() {
        frmSweep* w = open(SweepFixture::lptIni(
            QStringLiteral("Aux_1=5\nAux_2=0\nPot_2=250\n"),
            QStringLiteral("[Aux1]\nEnabled=1\nInverse Logic=1\nStep 7=Max;\n[Aux2]\nEnabled=1\n"
                           "PotMax=200\nPotMin=10\n[Debug]\nLog=1\n")));
        QVERIFY(w);
        QVERIFY(w->deviceBound());
        QCOMPARE(aux(1, 0)->text(), QStringLiteral("dB 10"));
        QCOMPARE(aux(1, 7)->text(), QStringLiteral("Max"));
        QCOMPARE(aux(1, 0)->checkState(), Qt::Checked);
        QCOMPARE(aux(1, 1)->checkState(), Qt::Unchecked);
        QCOMPARE(aux(1, 2)->checkState(), Qt::Checked);
        QCOMPARE(text("lblAux1"), QStringLiteral("5")); // the saved word until the first press
        auto* pot = child<QScrollBar>(QStringLiteral("VScrollPot2"));
        QCOMPARE(pot->minimum(), 10);
        QCOMPARE(pot->maximum(), 200);
        QCOMPARE(pot->value(), 200); // 250 brought inside the limits
        QCOMPARE(text("lblPot2"), QStringLiteral("200"));

        w->selezionaVista(2);
        press(aux(1, 0)); // on -> off: word 4
        QCOMPARE(aux(1, 0)->checkState(), Qt::Unchecked);
        QCOMPARE(text("lblAux1"), QStringLiteral("30"));
        press(aux(1, 1)); // off -> grayed: the line stays off
        QCOMPARE(aux(1, 1)->checkState(), Qt::PartiallyChecked);
        QCOMPARE(w->config().aux1Value, qint16(4));
        press(aux(1, 1)); // grayed -> on: word 6
        QCOMPARE(text("lblAux1"), QStringLiteral("50"));
        QCOMPARE(w->config().aux1Value, qint16(6));

        w->selezionaVista(3);
        // Not inverted: buttons 0 and 2 pressed twice each latch 5, the total adds 10 and 30.
        for (int i : {0, 0, 2, 2})
            press(aux(2, i));
        QCOMPARE(text("lblAux2"), QStringLiteral("40"));
        QCOMPARE(w->config().aux2Value, qint16(5));
        pot->setValue(128);
        QCOMPARE(text("lblPot2"), QStringLiteral("128"));
        QTRY_VERIFY_WITH_TIMEOUT(logLines().contains(QStringLiteral("0 L> POT: 128")), kWaitMs);

        const QStringList seen = closeAndReadSimLog();
        const QStringList latches = seen.filter(QStringLiteral("aux1: latch"));
        // Inverse logic: 5, 4, 4, 6 reach the register complemented.
        QCOMPARE(
            latches,
            (QStringList{QStringLiteral("aux1: latch 0xfa"), QStringLiteral("aux1: latch 0xfb"),
                         QStringLiteral("aux1: latch 0xfb"), QStringLiteral("aux1: latch 0xf9")}));
        QCOMPARE(seen.filter(QStringLiteral("aux2: latch")).last(),
                 QStringLiteral("aux2: latch 0x05"));
        // The three bytes of each potentiometer write: control 80, command 175, wiper.
        QCOMPARE(seen.filter(QStringLiteral("pot: ")),
                 (QStringList{QStringLiteral("pot: write 50 af c8 acks 3 stop wiper 200"),
                              QStringLiteral("pot: write 50 af 80 acks 3 stop wiper 128")}));
        const QString saved = m_fx->ini.read();
        QVERIFY(saved.contains(QStringLiteral("Aux_1=6")));
        QVERIFY(saved.contains(QStringLiteral("Pot_2=128")));
    }

    void disabledOutputsAndAFixedPotentiometerAreHidden() {
        frmSweep* w = open(SweepFixture::lptIni(
            QStringLiteral("Marker 0=2\n"),
            QStringLiteral("[Aux1]\nEnabled=0\n[Aux2]\nEnabled=1\nPotMax=7\nPotMin=7\n")));
        QVERIFY(w);
        QCOMPARE(w->vistaCorrente(), qint16(0));
        QVERIFY(button("cmdView_2")->isHidden());
        QVERIFY(!child<QAction>(QStringLiteral("mnuView_2"))->isVisible());
        QVERIFY(!button("cmdView_3")->isHidden());
        w->selezionaVista(3);
        QVERIFY(!aux(2, 0)->isHidden());
        QVERIFY(child<QScrollBar>(QStringLiteral("VScrollPot2"))->isHidden());
        QVERIFY(child<QLabel>(QStringLiteral("lblPot2"))->isHidden());
    }

    // Another interface than the parallel port: a stored AUX view is shown, but its buttons
    // and potentiometer change neither the saved words nor the position. And the test panel's
    // refused commands are told, each with its beep.
    void auxViewIsInertAndTestMessagesBeepOnAnotherInterface() {
        frmSweep* w = open(QStringLiteral(
            "[Config]\nInterface=1\nDDS Device=AD9850\nADC Device=10bit\n[Serial Port]\n"
            "CommPort=7\nDevice=/nonexistent/ttyUSB9\n[Debug]\nLog=1\n[Sweep Generator]\n"
            "Start=1000000\nStop=5000000\nMarker 0=2\nAux_1=5\nAux_2=3\nPot_2=40\n"));
        QVERIFY(w);
        QCOMPARE(w->vistaCorrente(), qint16(2));
        QVERIFY(child<QWidget>(QStringLiteral("frameView_2"))->isVisible());
        QVERIFY(child<QLabel>(QStringLiteral("lblAux1Note"))->isVisible());
        for (int i : {0, 1, 2, 0})
            press(aux(1, i));
        w->selezionaVista(3);
        for (int i : {0, 1, 1})
            press(aux(2, i));
        child<QScrollBar>(QStringLiteral("VScrollPot2"))->setValue(100);
        QCOMPARE(w->config().aux1Value, qint16(5));
        QCOMPARE(w->config().aux2Value, qint16(3));
        QCOMPARE(w->config().pot2Value, qint16(40));
        QCOMPARE(aux(1, 1)->checkState(), Qt::Unchecked);

        const int beeps = m_fx->messages.beeps;
        const int shown = int(m_fx->messages.shown.size());
        QTest::mouseClick(button("cmdFreqDDS"), Qt::LeftButton);
        QTest::mouseClick(button("cmdFreqStart"), Qt::LeftButton);
        QTest::mouseClick(button("cmdFreqStep"), Qt::LeftButton);
        QCOMPARE(m_fx->messages.shown.size(), shown + 3);
        QCOMPARE(m_fx->messages.shown.mid(shown),
                 (QList<QPair<QString, QMessageBox::Icon>>{
                     {QStringLiteral("DDS frequency not initialized"), QMessageBox::Warning},
                     {QStringLiteral("Start frequency not initialized"), QMessageBox::Warning},
                     {QStringLiteral("Step frequency not initialized"), QMessageBox::Warning}}));
        QCOMPARE(m_fx->messages.beeps, beeps + 3);

        closeAndReadSimLog();
        const QString saved = m_fx->ini.read();
        QVERIFY(saved.contains(QStringLiteral("Aux_1=5\n")));
        QVERIFY(saved.contains(QStringLiteral("Aux_2=3\n")));
        QVERIFY(saved.contains(QStringLiteral("Pot_2=40\n")));
    }

    void testButtonsOnTheParallelPort() {
        frmSweep* w =
            open(SweepFixture::lptIni(QStringLiteral("Start=1000000\nStop=5000000\n"),
                                      QStringLiteral("[Debug]\nLog=1\n[Simulator]\nDUT=flat\n")));
        QVERIFY(w);
        QCOMPARE(button("cmdMisura")->text(), QStringLiteral("Angle"));
        QTest::mouseClick(button("cmdMisura"), Qt::LeftButton); // the MiniVNA's only
        QCOMPARE(button("cmdMisura")->text(), QStringLiteral("Angle"));

        const int beeps = m_fx->messages.beeps;
        QTest::mouseClick(button("cmdFreqStep"), Qt::LeftButton);
        QCOMPARE(m_fx->messages.beeps, beeps + 1);
        QCOMPARE(w->freqStep(), 10000);

        const int drawn = w->graph()->drawLineCount();
        QTest::mouseClick(button("cmdDraw"), Qt::LeftButton);
        QCOMPARE(w->graph()->drawLineCount(), drawn + 1);
        QCOMPARE(w->graph()->curvePointCount(), 400);
        for (int row = 1; row <= 400; ++row) {
            const double raw = w->data()->raw(row);
            QVERIFY2(raw >= 0 && raw <= 1023 && raw == int(raw), qPrintable(QString::number(raw)));
            QCOMPARE(w->data()->text(row, 2), QString::number(int(raw)));
        }

        QTest::mouseClick(button("cmdFreqDDS"), Qt::LeftButton);
        QTest::mouseClick(button("cmdClear"), Qt::LeftButton);
        QVERIFY(logLines().isEmpty());
        QVERIFY(m_fx->messages.shown.isEmpty());

        // "Stop" gives the controls back at once, without the device's end report.
        QSignalSpy sweeps(w, &frmSweep::sweepReceived);
        QTest::mouseClick(button("cmdStart"), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(sweeps.count() >= 1, kWaitMs);
        // The device under test chosen in the set-up reached the simulated board: flat.
        QCOMPARE(w->data()->raw(1), w->data()->raw(400));
        QCOMPARE(w->data()->raw(1), w->data()->raw(137));
        QTest::mouseClick(button("cmdSwStop"), Qt::LeftButton);
        QVERIFY(!button("cmdStart")->isHidden());
        QVERIFY(button("cmdStop")->isHidden());
        QVERIFY(child<QMenu>(QStringLiteral("mnuSetUp"))->menuAction()->isEnabled());
        QVERIFY(child<QAction>(QStringLiteral("mnuSaveCSV"))->isEnabled());
        QVERIFY(logLines().contains(QStringLiteral("Stop sweep forzato")));
        QTRY_COMPARE_WITH_TIMEOUT(w->statoSweep(), qint16(0), kWaitMs);

        const QStringList loads = closeAndReadSimLog().filter(QStringLiteral("dds: load"));
        QVERIFY(!loads.isEmpty());
    }

    void serialBoardsTakeTheirOwnTestCommands() {
        // The MiniVNA cycles its measurement kind: 2, 3, 1.
        QString ini = QStringLiteral(
            "[Config]\nInterface=3\nDDS Device=AD9850\nDDS Xtal freq=100000000\nADC "
            "Device=10bit\nADC Channel=1\n[Serial Port]\nCommPort=5\nDevice=sim:vna\n[Debug]\n"
            "Log=1\n");
        frmSweep* w = open(ini);
        QVERIFY(w);
        QList<qint16> kinds;
        for (int i = 0; i < 3; ++i) {
            QTest::mouseClick(button("cmdMisura"), Qt::LeftButton);
            kinds << w->config().adcChannel;
        }
        QCOMPARE(kinds, (QList<qint16>{2, 3, 1}));
        QCOMPARE(button("cmdMisura")->text(), QStringLiteral("Angle"));
        closeAndReadSimLog();

        // The PIC board: reset, a second's pause with the window painting, then 1 MHz; the
        // step goes to the board as command D.
        ini.replace(QStringLiteral("Interface=3"), QStringLiteral("Interface=1"));
        ini.replace(QStringLiteral("sim:vna"), QStringLiteral("sim:pic"));
        ini += QStringLiteral("[Sweep Generator]\nStart=1000000\nStop=5000000\n");
        w = open(ini);
        QVERIFY(w);
        QTest::mouseClick(button("cmdReset"), Qt::LeftButton);
        QCOMPARE(w->statoSweep(), qint16(0));
        QTest::mouseClick(button("cmdFreqStep"), Qt::LeftButton);
        QTest::mouseClick(button("cmdFreqStart"), Qt::LeftButton);
        QVERIFY(m_fx->messages.shown.isEmpty());
        const QStringList seen =
            closeAndReadSimLog().filter(QRegularExpression(QStringLiteral("^pic: [*ABD]")));
        QVERIFY2(
            seen.mid(1, 4) ==
                (QStringList{QStringLiteral("pic: * 0"), QStringLiteral("pic: A 1000000"),
                             QStringLiteral("pic: D 10000"), QStringLiteral("pic: B 1000000")}),
            qPrintable(seen.join(QLatin1Char('|'))));
    }
};

QTEST_MAIN(TestFrmSweepPanels)
#include "tst_frmsweep_panels.moc"
