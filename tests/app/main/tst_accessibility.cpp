// What a screen reader gets of the window and the dialogs, read through Qt's accessibility
// interfaces as an assistive technology reads them: every label reads what it shows (a label
// showing a value is not renamed after its caption, the caption reaches it as a relation), and
// the checkable controls do through their accessible actions what a click does.
#include "DialogFixture.h"
#include "SweepFixture.h"
#include "frmAbout.h"
#include "frmCalibraADC.h"
#include "frmCalibraDDS.h"
#include "frmPreferences.h"
#include "frmSetUp.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QtTest>

namespace {

constexpr int kWaitMs = 20000;

template <typename T> T* child(QWidget* w, const QString& name) {
    T* c = w->findChild<T*>(name);
    if (!c)
        qFatal("no control %s", qPrintable(name));
    return c;
}

// Every label with a text in `root`, read as an assistive technology reads it: the name (and
// the value, where a label has one) must be the text shown. Returns the labels that differ.
QStringList labelsNotReadAsShown(QWidget* root) {
    QStringList wrong;
    for (QLabel* l : root->findChildren<QLabel*>()) {
        if (l->text().isEmpty())
            continue; // a picture, or a value not shown yet
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(l);
        const QString name = a ? a->text(QAccessible::Name) : QString();
        const QString value = a ? a->text(QAccessible::Value) : QString();
        if (name != l->text() || (!value.isEmpty() && value != l->text()))
            wrong << QStringLiteral("%1 shows \"%2\" but reads \"%3\" / \"%4\"")
                         .arg(l->objectName(), l->text(), name, value);
    }
    return wrong;
}

// The value label `name` shows a value, reads it, and has the caption `caption` as its label
// relation. Returns what is wrong, empty when nothing is.
QString captionedValue(QWidget* root, const QString& name, const QString& caption) {
    auto* l = root->findChild<QLabel*>(name);
    if (!l)
        return name + QStringLiteral(": missing");
    if (l->text().isEmpty())
        return name + QStringLiteral(": shows no value");
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(l);
    if (!a || a->text(QAccessible::Name) != l->text())
        return name + QStringLiteral(": does not read its value");
    QStringList captions;
    for (const auto& [other, relation] : a->relations(QAccessible::Label))
        captions << other->text(QAccessible::Name);
    if (!captions.contains(caption))
        return QStringLiteral("%1: captioned by [%2], not \"%3\"")
            .arg(name, captions.join(QStringLiteral(", ")), caption);
    return QString();
}

QAccessibleActionInterface* actionsOf(QWidget* w) {
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
    return a ? a->actionInterface() : nullptr;
}

// Runs the control's accessible toggle action, the one a checkable control offers.
bool toggleByAction(QWidget* w) {
    QAccessibleActionInterface* act = actionsOf(w);
    if (!act || !act->actionNames().contains(QAccessibleActionInterface::toggleAction()))
        return false;
    act->doAction(QAccessibleActionInterface::toggleAction());
    return true;
}

// The page of the set-up dialog shown (the only one not hidden), -1 when none or several.
int pageShown(frmSetUp& d) {
    int shown = -1;
    for (int p = 0; p < frmSetUp::kPages; ++p) {
        if (child<QGroupBox>(&d, QStringLiteral("frameSetUp_%1").arg(p))->isHidden())
            continue;
        if (shown >= 0)
            return -1;
        shown = p;
    }
    return shown;
}

const QString kLptConfig = QStringLiteral(
    "[Config]\nInterface=2\nDDS Device=AD9951\nDDS Multiplier=5\nDDS Xtal freq=30000000\n"
    "DDS Max freq=70000000\nDDS Min freq=10\nDDS Offset=0.5\nADC Device=10bit\nADC Step=0.005\n"
    "ADC Channel=1\nADC Offset=0.25\n[Parallel Port]\nLPT=&H378\n[Serial Port]\nCommPort=3\n");

} // namespace

class TestAccessibility : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<SweepFixture> m_fx;

    // The window on the parallel-port board simulated by tarvex, both AUX outputs enabled.
    frmSweep* openLpt(const QString& sweepSection) {
        m_fx = std::make_unique<SweepFixture>();
        m_fx->ini.write(SweepFixture::lptIni(sweepSection,
                                             QStringLiteral("[Aux1]\nEnabled=1\n[Aux2]\nEnabled=1\n"
                                                            "PotMax=200\nPotMin=10\n")));
        frmSweep* w = m_fx->makeWindow();
        if (!w->load())
            return nullptr;
        w->show();
        return QTest::qWaitForWindowExposed(w) ? w : nullptr;
    }

private slots:
    void cleanup() {
        if (m_fx && m_fx->window)
            m_fx->window->close();
        m_fx.reset();
    }

    void mainWindowValuesReadAsShownWithTheirCaptions() {
        frmSweep* w = openLpt(QStringLiteral("Start=1000000\nStop=5000000\nAux_1=5\n"));
        QVERIFY(w);
        QVERIFY(w->deviceBound());
        // Two sweeps, so the rates are shown.
        QSignalSpy received(w, &frmSweep::sweepReceived);
        QTest::mouseClick(child<QPushButton>(w, QStringLiteral("cmdStart")), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(received.count() >= 3, kWaitMs);
        child<QPushButton>(w, QStringLiteral("cmdStop"))->click();
        QTRY_COMPARE_WITH_TIMEOUT(w->statoSweep(), qint16(0), kWaitMs);
        QVERIFY(!child<QLabel>(w, QStringLiteral("lblSpeed"))->text().isEmpty());

        for (int view = 0; view < frmSweep::kViews; ++view) {
            w->selezionaVista(view);
            const QStringList wrong = labelsNotReadAsShown(w);
            QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(QLatin1Char('\n'))));
        }
        QCOMPARE(child<QLabel>(w, QStringLiteral("lblAux1"))->text(), QStringLiteral("5"));
        for (const auto& [value, caption] :
             {std::pair{"lblSpeed", "ms/sweep:"}, std::pair{"lblFreq", "sweep/s:"},
              std::pair{"lblAux1", "Total:"}, std::pair{"lblAux2", "Total:"}}) {
            const QString problem =
                captionedValue(w, QLatin1String(value), QString::fromLatin1(caption));
            QVERIFY2(problem.isEmpty(), qPrintable(problem));
        }
    }

    void dialogValuesReadAsShownWithTheirCaptions() {
        DialogFixture f(kLptConfig);
        f.config.interfaccia = 2;
        f.config.ddsDevice = QStringLiteral("AD9951");
        f.config.ddsMultiplier = 5;
        f.config.ddsClock = 30000000;
        f.config.adcStep = 0.005f;
        f.config.adcOffset = 0.25f;
        const auto check =
            [](QWidget& d,
               std::initializer_list<std::pair<const char*, const char*>> captioned) -> QString {
            const QStringList wrong = labelsNotReadAsShown(&d);
            if (!wrong.isEmpty())
                return d.objectName() + QStringLiteral(": ") + wrong.join(QLatin1Char('\n'));
            for (const auto& [value, caption] : captioned) {
                const QString problem =
                    captionedValue(&d, QLatin1String(value), QString::fromLatin1(caption));
                if (!problem.isEmpty())
                    return d.objectName() + QStringLiteral(": ") + problem;
            }
            return QString();
        };

        frmAbout about(f.context);
        QString problem = check(about, {{"lblInterfaccia", "Interface:"},
                                        {"lblDDS", "DDS Device:"},
                                        {"lblDAC", "DAC Device:"}});
        QVERIFY2(problem.isEmpty(), qPrintable(problem));

        // The simulated board's ramp reads 200 counts at 2 MHz.
        f.config.freqStart = 2000000;
        SimulatedDevice device(2, f.config, QStringLiteral("ramp"));
        QVERIFY2(device.problem.isEmpty(), qPrintable(device.problem));
        f.context.device = device.get();
        {
            frmCalibraADC detector(f.context);
            detector.TimerDetector_Timer();
            // 200 counts x 5 mV + the 0.25 V offset.
            QCOMPARE(child<QLabel>(&detector, QStringLiteral("lblVolt"))->text(),
                     localised("1.250"));
            problem = check(detector, {{"lblVolt", "Detector:"}});
            QVERIFY2(problem.isEmpty(), qPrintable(problem));
        }
        frmCalibraDDS generator(f.context);
        problem = check(generator, {});
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        f.context.device = nullptr;

        frmPreferences preferences(f.context);
        problem = check(preferences, {});
        QVERIFY2(problem.isEmpty(), qPrintable(problem));

        FixedPorts ports;
        frmSetUp setup(f.context, &ports);
        for (int p = 0; p < frmSetUp::kPages; ++p) {
            setup.showPage(p);
            problem = check(setup, {});
            QVERIFY2(problem.isEmpty(), qPrintable(problem));
        }
        // An AD9951 with multiplier 5 on a 30 MHz clock.
        QCOMPARE(child<QLabel>(&setup, QStringLiteral("lblSystemClock"))->text(),
                 localised("150,000,000"));
        problem = check(setup, {{"lblSystemClock", "SystemClock (Hz)"}});
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
    }

    void setUpControlsFollowTheirAccessibleActions() {
        DialogFixture f(kLptConfig);
        FixedPorts ports;
        frmSetUp d(f.context, &ports);
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        QCOMPARE(pageShown(d), int(frmSetUp::kInterface));

        // Each page button's toggle action shows its page and only that one.
        const QStringList buttons{QStringLiteral("cmdInterface"), QStringLiteral("cmdPort"),
                                  QStringLiteral("cmdDDS"),       QStringLiteral("cmdADC"),
                                  QStringLiteral("cmdAux"),       QStringLiteral("cmdLPTpin")};
        for (int p : {frmSetUp::kDds, frmSetUp::kPinout, frmSetUp::kPorts, frmSetUp::kAux,
                      frmSetUp::kAdc, frmSetUp::kInterface}) {
            auto* b = child<QPushButton>(&d, buttons[p]);
            QVERIFY2(toggleByAction(b), qPrintable(buttons[p]));
            QCOMPARE(pageShown(d), p);
            for (int other = 0; other < frmSetUp::kPages; ++other)
                QCOMPARE(child<QPushButton>(&d, buttons[other])->isChecked(), other == p);
        }
        // Toggling the button of the page shown keeps the page and its button down.
        QVERIFY(toggleByAction(child<QPushButton>(&d, QStringLiteral("cmdInterface"))));
        QCOMPARE(pageShown(d), int(frmSetUp::kInterface));
        QVERIFY(child<QPushButton>(&d, QStringLiteral("cmdInterface"))->isChecked());
        // The press action (a click) and the space bar do the same.
        actionsOf(child<QPushButton>(&d, QStringLiteral("cmdADC")))
            ->doAction(QAccessibleActionInterface::pressAction());
        QTRY_COMPARE(pageShown(d), int(frmSetUp::kAdc));
        auto* dds = child<QPushButton>(&d, QStringLiteral("cmdDDS"));
        dds->setFocus();
        QTest::keyClick(dds, Qt::Key_Space);
        QCOMPARE(pageShown(d), int(frmSetUp::kDds));

        // Options and check boxes change the working values through their actions too.
        QCOMPARE(d.working().ddsMultiplier, qint16(5)); // opening the page changed nothing
        QVERIFY(toggleByAction(child<QRadioButton>(&d, QStringLiteral("optMultiplier_1"))));
        QCOMPARE(d.working().ddsMultiplier, qint16(1));
        QVERIFY(toggleByAction(child<QRadioButton>(&d, QStringLiteral("optDDSselect_1"))));
        QCOMPARE(d.working().ddsDevice, QStringLiteral("AD9851"));
        QVERIFY(!child<QGroupBox>(&d, QStringLiteral("frmAD9851"))->isHidden());
        QCOMPARE(d.working().ddsMultiplier, qint16(0)); // multiplier 1 on an AD9951: x6 off
        QVERIFY(toggleByAction(child<QCheckBox>(&d, QStringLiteral("optDDSx6"))));
        QCOMPARE(d.working().ddsMultiplier, qint16(1));
        QVERIFY(toggleByAction(child<QRadioButton>(&d, QStringLiteral("optADC_1"))));
        QCOMPARE(d.working().adcDevice, QStringLiteral("8bit"));
        QVERIFY(toggleByAction(child<QRadioButton>(&d, QStringLiteral("optParallelPort_2"))));
        QCOMPARE(d.working().lptAddress, qint16(632));
        QVERIFY(toggleByAction(child<QRadioButton>(&d, QStringLiteral("optSerialPort_5"))));
        QCOMPARE(d.working().commPort, qint16(5));
        QVERIFY(toggleByAction(child<QCheckBox>(&d, QStringLiteral("chkBoxLogicaAux2"))));
        QVERIFY(d.aux(2).inverseLogic);
        QVERIFY(toggleByAction(child<QRadioButton>(&d, QStringLiteral("optInterface_3"))));
        QCOMPARE(d.working().interfaccia, qint16(3));
        QVERIFY(!dds->isEnabled()); // the parallel-port pages are closed to the MiniVNA

        frmPreferences preferences(f.context);
        QVERIFY(toggleByAction(child<QRadioButton>(&preferences, QStringLiteral("optCursor_1"))));
        preferences.accept();
        QCOMPARE(f.config.cursorMode, qint16(1));
    }

    void windowControlsFollowTheirAccessibleActions() {
        frmSweep* w = openLpt(QStringLiteral("Start=1000000\nStop=5000000\nSweep mode=0\n"));
        QVERIFY(w);
        QVERIFY(w->deviceBound());
        QVERIFY(toggleByAction(child<QRadioButton>(w, QStringLiteral("optSpeed_2"))));
        QCOMPARE(w->config().sweepMode, qint16(2));

        // A menu entry's press action: "View > Table" shows the table.
        QAccessibleInterface* menu =
            QAccessible::queryAccessibleInterface(child<QMenu>(w, QStringLiteral("mnuViewMain")));
        QVERIFY(menu);
        QAccessibleInterface* table = nullptr;
        for (int i = 0; i < menu->childCount(); ++i)
            if (menu->child(i)->text(QAccessible::Name) == QStringLiteral("Table"))
                table = menu->child(i);
        QVERIFY(table && table->actionInterface());
        table->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(w->vistaCorrente(), qint16(1));
        QVERIFY(!child<QGroupBox>(w, QStringLiteral("frameView_1"))->isHidden());

        // An AUX button switched through its action: the total and the word follow its state.
        w->selezionaVista(2);
        auto* step2 = child<QCheckBox>(w, QStringLiteral("chkAux1_1"));
        QCOMPARE(step2->text(), QStringLiteral("dB 20"));
        QVERIFY(toggleByAction(step2));
        QCOMPARE(step2->checkState(), Qt::Checked);
        QCOMPARE(child<QLabel>(w, QStringLiteral("lblAux1"))->text(), QStringLiteral("20"));
        QCOMPARE(w->config().aux1Value, qint16(2));
        QVERIFY(toggleByAction(step2));
        QCOMPARE(step2->checkState(), Qt::Unchecked);
        QCOMPARE(child<QLabel>(w, QStringLiteral("lblAux1"))->text(), QStringLiteral("0"));
        QCOMPARE(w->config().aux1Value, qint16(0));
    }
};

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
