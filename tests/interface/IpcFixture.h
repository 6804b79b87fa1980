#pragma once
// A tarvex-testserver started through TarvexLauncher, and recorders of device events.
#include "CAsyncLPTProxy.h"
#include "CAsyncMiniVNAProxy.h"
#include "CAsyncPICProxy.h"
#include "FlowProxy.h"
#include "QtTestApp.h"
#include "TarvexLauncher.h"

#include <QDBusPendingCallWatcher>
#include <QStringList>
#include <gtest/gtest.h>

inline QString binDir() {
    const QString dir = qEnvironmentVariable("SWEEP_BIN_DIR");
    return dir.isEmpty() ? QCoreApplication::applicationDirPath() : dir;
}

// Events as short texts: "E<code>:<text>", "V<pass>", "C"; plus call replies "R<tag>".
struct EventLog {
    QStringList events;
    QList<int> passes;
    int vectorSize = -1;

    template <class Proxy> void attach(Proxy* p) {
        QObject::connect(p, &Proxy::aErrore, p, [this](short code, const QString& text) {
            events << QStringLiteral("E%1:%2").arg(code).arg(text);
        });
        QObject::connect(p, &Proxy::aVettore, p, [this](const auto& v) { vector(v); });
        QObject::connect(p, &Proxy::aComplete, p, [this] { events << QStringLiteral("C"); });
    }
    template <class List> void vector(const List& v) {
        vectorSize = static_cast<int>(v.size());
        // Sample 1 of pass p is 7p + 1 (+ 0.5 on the MiniVNA).
        const int pass = (static_cast<int>(v.value(1)) - 1) / 7;
        passes << pass;
        events << QStringLiteral("V%1").arg(pass);
    }
    void reply(QDBusPendingCall call, const QString& tag, QObject* ctx) {
        auto* w = new QDBusPendingCallWatcher(call, ctx);
        QObject::connect(w, &QDBusPendingCallWatcher::finished, ctx, [this, tag, w] {
            events << QStringLiteral("R") + tag;
            w->deleteLater();
        });
    }
    int vectors() const { return static_cast<int>(passes.size()); }
    bool complete() const { return events.contains(QStringLiteral("C")); }
    bool consecutive() const {
        for (qsizetype i = 1; i < passes.size(); ++i)
            if (passes[i] != passes[i - 1] + 1)
                return false;
        return true;
    }
    QString dump() const { return events.join(QStringLiteral(" | ")); }
};

class IpcTest : public ::testing::Test {
protected:
    void SetUp() override {
        testApp();
        launcher.setProgram(binDir() + QStringLiteral("/tarvex-testserver"));
        QString error;
        ASSERT_TRUE(launcher.start({}, &error)) << qPrintable(error);
        pic = new CAsyncPICProxy(QString(), QStringLiteral("/cAsyncPIC"), launcher.connection(),
                                 &owner);
        lpt = new CAsyncLPTProxy(QString(), QStringLiteral("/cAsyncLPT"), launcher.connection(),
                                 &owner);
        vna = new CAsyncMiniVNAProxy(QString(), QStringLiteral("/cAsyncMiniVNA"),
                                     launcher.connection(), &owner);
    }

    QObject owner;
    TarvexLauncher launcher;
    CAsyncPICProxy* pic = nullptr;
    CAsyncLPTProxy* lpt = nullptr;
    CAsyncMiniVNAProxy* vna = nullptr;
};
