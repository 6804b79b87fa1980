// "Preferences" and "About Sweep Generator": the cursor type stored and told to the window, the
// detector's lower limit in dB, and the hardware summary of each interface.
#include "DialogFixture.h"
#include "IniFile.h"
#include "frmAbout.h"
#include "frmPreferences.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

class TestPrefsAbout : public QObject {
    Q_OBJECT
private slots:
    void preferencesStoreTheCursorTypeAndTellTheWindow();
    void aboutSummarisesEachInterface_data();
    void aboutSummarisesEachInterface();
    void aboutClosesOnAClick();
};

void TestPrefsAbout::preferencesStoreTheCursorTypeAndTellTheWindow() {
    DialogFixture f(QStringLiteral("[Sweep Generator]\nCursor mode=0\n"));
    f.config.adcOffset = 0;
    f.config.adcStep = 0.005f;
    QList<qint16> told;
    f.context.cursorModeChanged = [&told](qint16 mode) { told.append(mode); };
    {
        frmPreferences d(f.context);
        QVERIFY(d.findChild<QRadioButton*>(QStringLiteral("optCursor_0"))->isChecked());
        auto* linked = d.findChild<QRadioButton*>(QStringLiteral("optCursor_1"));
        QCOMPARE(linked->text(), QStringLiteral("Linked "));
        // 20 log10(0.005 / 1 V), two decimals.
        QCOMPARE(d.findChild<QCheckBox*>(QStringLiteral("chkScalaLogaritmica"))->text(),
                 QStringLiteral("Limit the Logaritmic Scales to the range of the ADC (") +
                     localised("-46.02") + QStringLiteral(")"));
        d.show();
        linked->click();
        QVERIFY(told.isEmpty()); // only when the dialog closes
        d.findChild<QPushButton*>(QStringLiteral("cmdExit"))->click();
    }
    QCOMPARE(told, QList<qint16>{1});
    QCOMPARE(f.config.cursorMode, 1);
    QCOMPARE(IniFile(f.ini.path()).value("Sweep Generator", "Cursor mode"), QStringLiteral("1"));

    frmPreferences d(f.context);
    QVERIFY(d.findChild<QRadioButton*>(QStringLiteral("optCursor_1"))->isChecked());
    d.show();
    d.findChild<QRadioButton*>(QStringLiteral("optCursor_0"))->click();
    d.close();
    QCOMPARE(told, QList<qint16>({1, 0}));
    QCOMPARE(IniFile(f.ini.path()).value("Sweep Generator", "Cursor mode"), QStringLiteral("0"));
}

void TestPrefsAbout::aboutSummarisesEachInterface_data() {
    QTest::addColumn<int>("interfaccia");
    QTest::addColumn<QString>("interfaceFirstLine");
    QTest::addColumn<QString>("dac");
    QTest::newRow("PIC") << 1 << "PIC connected to the USB port COM4"
                         << "10bitby PIC 16F877, step: " + localised("4.883") + "mV";
    QTest::newRow("LPT") << 2 << "DDS Generator/Detector connected to the parallel port LPT 03BC"
                         << "10bit, step: " + localised("4.883") + "mV";
    QTest::newRow("MiniVNA") << 3 << "MiniVNA connected to the USB port COM4"
                             << "10bit, step: " + localised("4.883") + "mV";
}

void TestPrefsAbout::aboutSummarisesEachInterface() {
    QFETCH(int, interfaccia);
    QFETCH(QString, interfaceFirstLine);
    QFETCH(QString, dac);
    DialogFixture f;
    f.config.interfaccia = static_cast<qint16>(interfaccia);
    f.config.commPort = 4;
    f.config.lptAddress = 956;
    f.config.adcStep = 0.0048828f;
    f.config.ddsDevice = QStringLiteral("AD9850");
    f.config.ddsClock = 80000000;
    f.config.ddsMultiplier = 1;
    f.config.ddsMaxFreq = 60000000;
    frmAbout d(f.context);
    const QString shown = d.findChild<QLabel*>(QStringLiteral("lblInterfaccia"))->text();
    QCOMPARE(shown.section(QLatin1Char('\n'), 0, 0), interfaceFirstLine);
    QVERIFY(shown.count(QLatin1Char('\n')) >= 1); // the credit lines follow
    QCOMPARE(d.findChild<QLabel*>(QStringLiteral("lblDDS"))->text(),
             QStringLiteral("AD9850, ClockRef: 80MHz, Multiplier: 1, Max frequency: 60MHz"));
    QCOMPARE(d.findChild<QLabel*>(QStringLiteral("lblDAC"))->text(), dac);
}

void TestPrefsAbout::aboutClosesOnAClick() {
    DialogFixture f;
    frmAbout d(f.context);
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    QTest::mouseClick(&d, Qt::LeftButton, {}, QPoint(5, 5));
    QVERIFY(!d.isVisible());
    QCOMPARE(d.result(), int(QDialog::Accepted));
}

QTEST_MAIN(TestPrefsAbout)
#include "tst_prefs_about.moc"
