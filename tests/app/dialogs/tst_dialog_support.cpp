// What the dialogs stand on: the help windows and where the guide is found, the factory sets,
// the parallel ports the kernel lists, and the first-run paths of the window with the real
// setup dialog.
#include "DialogFixture.h"
#include "FactorySets.h"
#include "HelpWindows.h"
#include "IniFile.h"
#include "frmSweep.h"

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// Presses a button of the setup dialog once it is shown modally.
void pressInSetup(const char* button, bool* seen) {
    QTimer::singleShot(0, [button, seen] {
        QTRY_VERIFY(QApplication::activeModalWidget());
        QWidget* dialog = QApplication::activeModalWidget();
        *seen = dialog->objectName() == QLatin1String("frmSetUp");
        dialog->findChild<QPushButton*>(QString::fromLatin1(button))->click();
    });
}

} // namespace

class TestDialogSupport : public QObject {
    Q_OBJECT
private slots:
    void guideIsFoundBesideOrInstalled();
    void oneMainHelpWindowClosedAtTheEnd();
    void factorySetsAreAddedOnlyWhereMissing();
    void parallelPortsComeFromProc();
    void firstRunShowsTheSetupBeforeTheWindow();
    void unknownConverterShowsItsMessageThenTheSetupThenEnds();
};

void TestDialogSupport::guideIsFoundBesideOrInstalled() {
    QTemporaryDir dir;
    const QString bin = dir.filePath(QStringLiteral("usr/bin"));
    QDir().mkpath(bin);
    QCOMPARE(HelpWindows::indexPath(bin), QString());
    writeFile(dir.filePath(QStringLiteral("usr/share/sweep/help/index.html")), "<html/>");
    QCOMPARE(HelpWindows::indexPath(bin),
             QFileInfo(dir.filePath(QStringLiteral("usr/share/sweep/help/index.html")))
                 .canonicalFilePath());
    writeFile(bin + QStringLiteral("/help/index.html"), "<html/>");
    QCOMPARE(HelpWindows::indexPath(bin),
             QFileInfo(bin + QStringLiteral("/help/index.html")).canonicalFilePath());
    // The build tree carries the guide beside the programs.
    QVERIFY(!HelpWindows::indexPath().isEmpty());
}

void TestDialogSupport::oneMainHelpWindowClosedAtTheEnd() {
    QTextBrowser* first = HelpWindows::showMain();
    QTextBrowser* second = HelpWindows::showMain();
    QCOMPARE(first, second);
    QCOMPARE(first->windowTitle(), QStringLiteral("Main"));
    QVERIFY(first->toPlainText().contains(QStringLiteral("Getting started")));
    QCOMPARE(HelpWindows::openCount(), 1);
    const QPointer<QTextBrowser> alive(first);
    HelpWindows::closeAll();
    QCOMPARE(HelpWindows::openCount(), 0);
    QTRY_VERIFY(!alive); // deleted on close
}

void TestDialogSupport::factorySetsAreAddedOnlyWhereMissing() {
    DialogFixture f(QStringLiteral("[Interface1]\nDDS Device=AD9851\nDDS Xtal freq=1\n"
                                   "[Interface2]\nDDS Device=\nADC Step=0.004\n"));
    QVERIFY(FactorySets::ensure(f.ini.path()));
    const IniFile ini(f.ini.path());
    QCOMPARE(ini.keys("Interface1"), QStringList({"DDS Device", "DDS Xtal freq"})); // a user's set
    QCOMPARE(ini.value("Interface2", "DDS Device"), QStringLiteral("AD9851"));
    QCOMPARE(ini.value("Interface2", "ADC Step"), QStringLiteral("0.004"));
    QCOMPARE(ini.keys("Interface3").size(), 10);
    // The sets read as the setup dialog reads them.
    SweepConfig cfg(f.ini.path());
    cfg.readHardwareSection(QStringLiteral("Interface3"));
    QCOMPARE(cfg.ddsDevice, QStringLiteral("AD9951"));
    QCOMPARE(double(cfg.ddsMultiplier) * cfg.ddsClock, 400e6);
    QCOMPARE(cfg.adcStep, 0.0048828f);
    QCOMPARE(cfg.adcChannel, 3);
}

void TestDialogSupport::parallelPortsComeFromProc() {
    QTemporaryDir proc;
    writeFile(proc.filePath(QStringLiteral("parport1/base-addr")), "632\t1656\n");
    writeFile(proc.filePath(QStringLiteral("parport0/base-addr")), "888\t1912\n");
    writeFile(proc.filePath(QStringLiteral("parport2/base-addr")), "garbage\n");
    QDir().mkpath(proc.filePath(QStringLiteral("default")));
    const QList<ParallelPortEntry> ports = PortScan::parallelPortsIn(proc.path());
    QCOMPARE(ports.size(), 2);
    QCOMPARE(ports[0].name, QStringLiteral("parport0"));
    QCOMPARE(ports[0].base, 888);
    QCOMPARE(ports[1].base, 632);
    QVERIFY(PortScan().serialPortExists(QStringLiteral("sim:pic")));
    QVERIFY(!PortScan().serialPortExists(QStringLiteral("/dev/no-such-tty")));
    QVERIFY(!PortScan().serialPortExists(QStringLiteral("/dev/null"))); // not a serial line
}

void TestDialogSupport::firstRunShowsTheSetupBeforeTheWindow() {
    DialogFixture f;
    StartOptions o;
    o.iniPath = f.ini.path();
    o.lockPath = f.ini.filePath(QStringLiteral("lock"));
    o.extraServerArgs = {QStringLiteral("--lpt-driver"), QStringLiteral("sim")};
    frmSweep w(o, &f.messages);
    bool seen = false;
    pressInSetup("cmdExit", &seen);
    QVERIFY(w.load());
    QVERIFY(seen);
    QVERIFY(!w.isVisible());
    // Closed without APPLY: the start goes on with the defaults.
    QCOMPARE(w.config().interfaccia, 2);
    QCOMPARE(w.config().ddsDevice, QStringLiteral("AD9850"));
    QCOMPARE(w.config().lptAddress, 888);
    w.close();
}

void TestDialogSupport::unknownConverterShowsItsMessageThenTheSetupThenEnds() {
    DialogFixture f(QStringLiteral("[Config]\nInterface=2\nDDS Device=AD9850\nADC Device=12bit\n"));
    StartOptions o;
    o.iniPath = f.ini.path();
    o.lockPath = f.ini.filePath(QStringLiteral("lock"));
    frmSweep w(o, &f.messages);
    bool seen = false;
    pressInSetup("cmdApply", &seen);
    QVERIFY(!w.load());
    QVERIFY(seen);
    QCOMPARE(f.messages.shownTexts().value(0),
             QStringLiteral("12bit : Unknow ADCdevice.\nSupported ADC are: 8bit, 10bit"));
    // APPLY wrote the dialog's values; the window's keys were never saved.
    QCOMPARE(IniFile(f.ini.path()).value("Parallel Port", "LPT"), QStringLiteral("&H378"));
    QVERIFY(!IniFile(f.ini.path()).hasValue("Sweep Generator", "Marker 1"));
}

QTEST_MAIN(TestDialogSupport)
#include "tst_dialog_support.moc"
