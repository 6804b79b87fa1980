#pragma once
// Shared by the main-window tests: a message seam that records instead of showing modal boxes
// and answers questions as told, a dialog seam that counts set-up requests, and a temporary
// configuration.
#include "SweepDialogs.h"
#include "UserMessages.h"
#include "frmSweep.h"

#include <QCoreApplication>
#include <QFile>
#include <QFocusEvent>
#include <QLineEdit>
#include <QList>
#include <QPair>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
#include <functional>
#include <memory>

// Types into a field as a user does: focus in, the text, focus out (which validates it).
inline void typeInto(QLineEdit* field, const QString& text) {
    QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
    QCoreApplication::sendEvent(field, &in);
    field->setText(text);
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(field, &out);
}

class RecordingMessages : public UserMessages {
public:
    void beep() override { ++beeps; }
    void message(const QString& text, QMessageBox::Icon icon) override {
        shown.append({text, icon});
        // What happens while the box would be open (its event loop runs).
        if (whileShown)
            whileShown();
    }
    bool question(const QString& title, const QString& text, QMessageBox::Icon icon) override {
        asked.append({title, text, icon});
        return answerOk;
    }
    QString lastText() const { return shown.isEmpty() ? QString() : shown.last().first; }

    struct Question {
        QString title;
        QString text;
        QMessageBox::Icon icon;
    };
    int beeps = 0;
    QList<QPair<QString, QMessageBox::Icon>> shown;
    QList<Question> asked;
    bool answerOk = true;
    std::function<void()> whileShown;
};

class CountingDialogs : public SweepDialogs {
public:
    bool showSetup(QWidget*, SweepContext&) override {
        ++setupShown;
        return applyOnSetup;
    }
    int setupShown = 0;
    bool applyOnSetup = false;
};

// A Sweep.ini in a private folder, plus a window built on it with the recording seams.
class SweepFixture {
public:
    SweepFixture() = default;

    QString iniPath() const { return m_dir.filePath(QStringLiteral("Sweep.ini")); }

    void writeIni(const QString& text) {
        QFile f(iniPath());
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(text.toUtf8());
    }

    QString readIni() const {
        QFile f(iniPath());
        f.open(QIODevice::ReadOnly);
        return QString::fromUtf8(f.readAll());
    }

    // The parallel-port board simulated inside tarvex, unpaced, with the given device under test.
    static QString lptIni(const QString& sweepSection, const QString& extraConfig = QString()) {
        return QStringLiteral(
                   "[Config]\nInterface=2\nDDS Device=AD9851\nDDS Multiplier=1\nDDS Xtal "
                   "freq=30000000\n"
                   "DDS Max freq=60000000\nDDS Min freq=10\nDDS Offset=0\nADC Device=10bit\n"
                   "ADC Offset=0\nADC Step=0.005\nADC Channel=1\n") +
               extraConfig +
               QStringLiteral("[Parallel Port]\nLPT=&H378\nDriver=sim\n[Sweep Generator]\n") +
               sweepSection;
    }

    // No device object at all: the window works without hardware (interface 0).
    static QString noDeviceIni(const QString& sweepSection) {
        QString t = lptIni(sweepSection);
        t.replace(QStringLiteral("Interface=2"), QStringLiteral("Interface=0"));
        return t;
    }

    frmSweep* makeWindow(const QStringList& serverArgs = {QStringLiteral("--sim-pace"),
                                                          QStringLiteral("max")}) {
        StartOptions o;
        o.iniPath = iniPath();
        o.lockPath = m_dir.filePath(QStringLiteral("sweep.lock"));
        o.extraServerArgs = serverArgs;
        o.serverProgram = serverProgram;
        o.stopWaitMs = stopWaitMs;
        window = std::make_unique<frmSweep>(o, &messages, &dialogs);
        return window.get();
    }

    // The window on the given configuration, loaded, shown and active, so focus moves for real.
    frmSweep* openShown(const QString& ini) {
        writeIni(ini);
        frmSweep* w = makeWindow();
        if (!w->load())
            return nullptr;
        w->show();
        w->activateWindow();
        return QTest::qWaitForWindowActive(w) ? w : nullptr;
    }

    StartOptions options() const {
        StartOptions o;
        o.iniPath = iniPath();
        o.lockPath = m_dir.filePath(QStringLiteral("sweep.lock"));
        return o;
    }

    QTemporaryDir m_dir;
    RecordingMessages messages;
    CountingDialogs dialogs;
    QString serverProgram;
    int stopWaitMs = 10000;
    std::unique_ptr<frmSweep> window;
};
