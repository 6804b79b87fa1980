#include "SweepFixture.h"

#include <QFocusEvent>

void typeInto(QLineEdit* field, const QString& text) {
    QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
    QCoreApplication::sendEvent(field, &in);
    field->setText(text);
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(field, &out);
}

QString SweepFixture::lptIni(const QString& sweepSection, const QString& extraConfig) {
    return QStringLiteral("[Config]\nInterface=2\nDDS Device=AD9851\nDDS Multiplier=1\nDDS Xtal "
                          "freq=30000000\n"
                          "DDS Max freq=60000000\nDDS Min freq=10\nDDS Offset=0\nADC Device=10bit\n"
                          "ADC Offset=0\nADC Step=0.005\nADC Channel=1\n") +
           extraConfig +
           QStringLiteral("[Parallel Port]\nLPT=&H378\nDriver=sim\n[Sweep Generator]\n") +
           sweepSection;
}

QString SweepFixture::noDeviceIni(const QString& sweepSection) {
    QString t = lptIni(sweepSection);
    t.replace(QStringLiteral("Interface=2"), QStringLiteral("Interface=0"));
    return t;
}

StartOptions SweepFixture::options() const {
    StartOptions o;
    o.iniPath = ini.path();
    o.lockPath = ini.filePath(QStringLiteral("sweep.lock"));
    return o;
}

frmSweep* SweepFixture::makeWindow(const QStringList& serverArgs) {
    StartOptions o = options();
    o.extraServerArgs = serverArgs;
    o.serverProgram = serverProgram;
    o.stopWaitMs = stopWaitMs;
    window = std::make_unique<frmSweep>(o, &messages, &dialogs);
    return window.get();
}

frmSweep* SweepFixture::openShown(const QString& iniText) {
    ini.write(iniText);
    frmSweep* w = makeWindow();
    if (!w->load())
        return nullptr;
    w->show();
    w->activateWindow();
    return QTest::qWaitForWindowActive(w) ? w : nullptr;
}
