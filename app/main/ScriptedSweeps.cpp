#include "ScriptedSweeps.h"

#include "HelpWindows.h"
#include "SweepController.h"
#include "SweepData.h"
#include "SweepDevice.h"
#include "frmSweep.h"

#include <QFileInfo>
#include <QTimer>
#include <algorithm>
#include <cstdio>

ScriptedSweeps::ScriptedSweeps(frmSweep* window, int sweeps, int timeLimitMs, QObject* parent)
    : QObject(parent), m_window(window), m_wanted(sweeps), m_limit(new QTimer(this)) {
    m_limit->setSingleShot(true);
    m_limit->setInterval(timeLimitMs);
    connect(m_limit, &QTimer::timeout, this, [this] {
        fail(QStringLiteral("only %1 of %2 sweeps arrived within %3 s")
                 .arg(m_received)
                 .arg(m_wanted)
                 .arg(m_limit->interval() / 1000));
    });
    connect(window, &frmSweep::sweepReceived, this, &ScriptedSweeps::onSweep);
    // The device's error lines go where a script looks: on stderr, as they come.
    if (SweepDevice* device = window->context().device)
        connect(device, &SweepDevice::errore, this, [](qint16 code, const QString& text) {
            if (code == ErrorCode::kError) {
                std::fprintf(stderr, "sweep: %s\n", text.toLocal8Bit().constData());
                std::fflush(stderr);
            }
        });
}

void ScriptedSweeps::begin() {
    QTimer::singleShot(0, this, [this] {
        if (!m_window)
            return;
        if (!m_window->deviceBound()) {
            fail(QStringLiteral("no device is bound, so there is nothing to sweep"));
            return;
        }
        // What this run found, for a script to check: the files and the server actually used.
        const QString help = HelpWindows::indexPath();
        const QString server =
            QFileInfo(QStringLiteral("/proc/%1/exe").arg(m_window->serverPid())).symLinkTarget();
        std::printf("configuration: %s\nhelp: %s\ndevice server: %s\n",
                    qPrintable(m_window->iniFile()), help.isEmpty() ? "missing" : qPrintable(help),
                    qPrintable(server));
        std::fflush(stdout);
        m_limit->start();
        m_window->cmdStart_Click();
        // Reported after the device's lines, which are handed on once the click is done.
        if (m_window->statoSweep() == SweepState::kStopped) {
            QTimer::singleShot(0, this,
                               [this] { fail(QStringLiteral("the sweep did not start")); });
            return;
        }
        connect(m_window->controller(), &SweepController::idle, this, [this] {
            QTimer::singleShot(0, this, [this] {
                fail(QStringLiteral("the device ended the sweep after %1 of %2 sweeps")
                         .arg(m_received)
                         .arg(m_wanted));
            });
        });
    });
}

void ScriptedSweeps::onSweep() {
    if (m_done || !m_window)
        return;
    ++m_received;
    const SweepData* data = m_window->data();
    const auto [low, high] = std::minmax_element(data->raws().begin(), data->raws().end());
    std::printf("sweep %d: %lld readings, %lld Hz to %lld Hz, counts %g to %g\n", m_received,
                static_cast<long long>(data->raws().size()),
                static_cast<long long>(data->frequencyOf(1)),
                static_cast<long long>(data->frequencyOf(SweepData::kPoints)), *low, *high);
    std::fflush(stdout);
    if (m_received >= m_wanted) {
        m_done = true;
        m_limit->stop();
        m_window->close();
    }
}

void ScriptedSweeps::fail(const QString& reason) {
    if (m_done)
        return;
    m_done = true;
    std::fprintf(stderr, "sweep: %s\n", reason.toLocal8Bit().constData());
    std::fflush(stderr);
    if (m_window)
        m_window->close();
}
