// The object framework in one process: start requests, the pending list and its timer,
// the loop's events, the stop protocol, failures escaping a loop, the keep-alive lock,
// the credit window and the precise delay. The loops are the real PIC board and
// parallel-port devices on their simulated hardware, unpaced.
#include "LptTestRig.h"
#include "QtTestApp.h"
#include "SerialLine.h"
#include "StartQueue.h"
#include "cAsyncPIC.h"

#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <chrono>
#include <functional>
#include <gtest/gtest.h>
#include <limits>
#include <memory>
#include <stdexcept>
#include <utility>

namespace {

constexpr short kPicPort = 3;

// The PIC board's device whose next loop fails right after its start line, as a run-time
// error escaping the loop would: nothing on the board's side can make the host's loop throw.
class FailingPic : public cAsyncPIC {
public:
    using cAsyncPIC::cAsyncPIC;
    void failNextLoop() { m_failNext = true; }
    void Runnable_Start() override {
        if (!std::exchange(m_failNext, false))
            return cAsyncPIC::Runnable_Start();
        log(QStringLiteral("avvio ciclo di sweep"));
        setMySweepON(kRunning);
        throw std::runtime_error("errore di prova nel ciclo");
    }

private:
    bool m_failNext = false;
};

// The end of a loop also ends the board's own sweep cycle; a new loop needs it started again.
void startBoardCycle(cAsyncPIC* pic) {
    pic->aInizializzaSweep(1000000, 10000);
}

// A PIC board device on the firmware model (sim:pic at COM3), its port open and the board's
// sweep cycle started: each Start then reads blocks until stopped.
template <class Device = cAsyncPIC> std::unique_ptr<Device> makePic() {
    ServerOptions options;
    options.simPaceReal = false;
    options.simDut = QStringLiteral("ramp");
    options.comMap[kPicPort] = QStringLiteral("sim:pic");
    auto pic = std::make_unique<Device>(new SerialLine(options));
    pic->aInizializzaCOMM(kPicPort, QStringLiteral("115200,N,8,1"));
    startBoardCycle(pic.get());
    return pic;
}

// Records every event of a device as a short text: "E<code>:<text>", "V<n>" for the n-th
// vector, "C".
struct Recorder {
    QStringList events;
    int vectors = 0;
    bool busyDuringComplete = false;

    template <class Device> void attach(Device* d) {
        QObject::connect(d, &DeviceObject::aErrore, d, [this](short code, const QString& text) {
            events << QStringLiteral("E%1:%2").arg(code).arg(text);
        });
        QObject::connect(d, &Device::aVettore, d,
                         [this] { events << QStringLiteral("V%1").arg(++vectors); });
        QObject::connect(d, &DeviceObject::aComplete, d, [this, d] {
            busyDuringComplete = d->inEsecuzione();
            events << QStringLiteral("C");
        });
    }
    bool complete() const { return events.contains(QStringLiteral("C")); }
};

class FrameworkTest : public ::testing::Test {
protected:
    void SetUp() override {
        testApp();
        pic = makePic<FailingPic>();
        lptRig.configure(QStringLiteral("AD9850"), QStringLiteral("10bit"), 100e6, 0);
    }
    void TearDown() override {
        // Leave no loop running for the next test.
        for (auto* d : {static_cast<DeviceObject*>(pic.get()), static_cast<DeviceObject*>(lpt)})
            if (d)
                d->setASweepON(DeviceObject::kStopRequested);
        waitUntil([] { return StartQueue::instance().idle(); });
    }

    std::unique_ptr<FailingPic> pic;
    LptTestRig lptRig;
    cAsyncLPT* lpt = lptRig.lpt.get();
    Recorder rec;
};

// A loop runs inside the timer callback, nested in the test's event processing, so the
// test acts on it from event handlers, as a client's calls arrive between two points.
template <class Device> void onVector(Device* d, std::function<void(int)> action) {
    auto count = std::make_shared<int>(0);
    QObject::connect(d, &Device::aVettore, d, [count, action] { action(++*count); });
}

template <class Device> void stopAt(Device* d, int n) {
    onVector(d, [d, n](int i) {
        if (i >= n)
            d->setASweepON(DeviceObject::kStopRequested);
    });
}

TEST_F(FrameworkTest, StartReturnsAtOnceAndSecondRequestIsRefused) {
    rec.attach(pic.get());
    short stateInLoop = -1;
    onVector(pic.get(), [&](int i) {
        if (i == 2) {
            stateInLoop = pic->aSweepON();
            pic->setASweepON(DeviceObject::kStopRequested);
        }
    });
    pic->Start();
    // Queued, nothing raised yet: the loop starts from the timer.
    EXPECT_TRUE(rec.events.isEmpty());
    EXPECT_TRUE(pic->inEsecuzione());
    EXPECT_EQ(StartQueue::instance().pending(), 1);
    EXPECT_TRUE(StartQueue::instance().timerArmed());

    pic->Start();
    EXPECT_EQ(rec.events, QStringList{QStringLiteral("E3:P> Sweep già in esecuzione")});
    EXPECT_EQ(StartQueue::instance().pending(), 1);

    ASSERT_TRUE(waitUntil([&] { return rec.complete(); }));
    EXPECT_EQ(rec.events.at(1), QStringLiteral("E0:P> avvio ciclo di sweep"));
    EXPECT_EQ(stateInLoop, DeviceObject::kRunning);
    // One run only: one start line, one end.
    EXPECT_EQ(rec.events.count(QStringLiteral("E0:P> avvio ciclo di sweep")), 1);
    EXPECT_EQ(rec.events.count(QStringLiteral("C")), 1);
    EXPECT_FALSE(StartQueue::instance().timerArmed());
}

TEST_F(FrameworkTest, StopRequestEndsLoopWithEndLineThenComplete) {
    rec.attach(pic.get());
    stopAt(pic.get(), 3);
    pic->Start();
    ASSERT_TRUE(waitUntil([&] { return rec.complete(); }));
    const QStringList expected{QStringLiteral("E0:P> avvio ciclo di sweep"),
                               QStringLiteral("V1"),
                               QStringLiteral("V2"),
                               QStringLiteral("V3"),
                               QStringLiteral("E0:P> fine ciclo sweep"),
                               QStringLiteral("C")};
    EXPECT_EQ(rec.events, expected);
    EXPECT_EQ(pic->aSweepON(), DeviceObject::kStopped);
    // The busy flag is cleared after aComplete, as the very last step.
    EXPECT_TRUE(rec.busyDuringComplete);
    EXPECT_FALSE(pic->inEsecuzione());

    // Idle again: a write of 4 while idle starts nothing; a new start runs a new loop.
    pic->setASweepON(DeviceObject::kRunning);
    spin(20);
    EXPECT_EQ(rec.vectors, 3);
    pic->setASweepON(DeviceObject::kStopped);
    startBoardCycle(pic.get());
    rec.events.clear();
    pic->Start();
    ASSERT_TRUE(waitUntil([&] { return rec.complete(); }));
    EXPECT_EQ(rec.events.first(), QStringLiteral("E0:P> avvio ciclo di sweep"));

    // 1 (written to end a loop for a restart) ends it as well.
    Recorder lptRec;
    lptRec.attach(lpt);
    onVector(lpt, [&](int) { lpt->setASweepON(1); });
    lpt->aStartLPT();
    ASSERT_TRUE(waitUntil([&] { return lptRec.complete(); }));
    EXPECT_EQ(lptRec.vectors, 1);
    EXPECT_EQ(lpt->aSweepON(), DeviceObject::kStopped);
}

TEST_F(FrameworkTest, FailureEscapingLoopEndsItAndNextEntryIsServed) {
    rec.attach(pic.get());
    Recorder lptRec;
    lptRec.attach(lpt);
    stopAt(lpt, 1);
    pic->failNextLoop();
    pic->Start();
    lpt->aStartLPT(); // queued behind the failing loop
    ASSERT_TRUE(waitUntil([&] { return rec.complete() && lptRec.complete(); }));
    const QStringList expected{QStringLiteral("E0:P> avvio ciclo di sweep"),
                               QStringLiteral("E3:P> errore di prova nel ciclo"),
                               QStringLiteral("E0:P> fine ciclo sweep"), QStringLiteral("C")};
    EXPECT_EQ(rec.events, expected);
    EXPECT_EQ(pic->aSweepON(), DeviceObject::kStopped);
    EXPECT_FALSE(pic->inEsecuzione());
    EXPECT_FALSE(pic->isLocked());
    EXPECT_EQ(lptRec.events.first(), QStringLiteral("E0:L> StartFreq: 0"));

    // The failed device can start again.
    stopAt(pic.get(), 1);
    rec.events.clear();
    pic->Start();
    ASSERT_TRUE(waitUntil([&] { return rec.complete(); }));
    EXPECT_EQ(rec.vectors, 1);
}

TEST_F(FrameworkTest, FailureAfterOwnEndDoesNotAnnounceSecondEnd) {
    rec.attach(pic.get());
    pic->endAfterFailure(QStringLiteral("tardi"));
    EXPECT_EQ(rec.events, QStringList{QStringLiteral("E3:P> tardi")});
}

TEST_F(FrameworkTest, StartRequestDuringLoopIsServedAfterItBySameTick) {
    rec.attach(pic.get());
    Recorder lptRec;
    lptRec.attach(lpt);
    bool picDoneBeforeLpt = false;
    onVector(pic.get(), [&](int) {
        lpt->aStartLPT();
        pic->setASweepON(DeviceObject::kStopRequested);
    });
    onVector(lpt, [&](int) {
        picDoneBeforeLpt = rec.complete() && !pic->inEsecuzione();
        lpt->setASweepON(DeviceObject::kStopRequested);
    });
    pic->Start();
    ASSERT_TRUE(waitUntil([&] { return lptRec.complete(); }));
    EXPECT_TRUE(picDoneBeforeLpt);
    EXPECT_EQ(lptRec.vectors, 1);
}

TEST_F(FrameworkTest, ReleasedObjectLivesUntilItsLoopHasEnded) {
    auto* dev = makePic().release();
    QPointer<cAsyncPIC> alive(dev);
    rec.attach(dev);
    stopAt(dev, 2);
    dev->Start();
    dev->release(); // every client reference gone while queued
    spin(5);
    ASSERT_TRUE(waitUntil([&] { return alive.isNull(); }));
    EXPECT_EQ(rec.vectors, 2);
    EXPECT_EQ(rec.events.last(), QStringLiteral("C"));

    // Released while idle: gone at once (at the next turn of the event loop).
    auto* idle = makePic().release();
    QPointer<cAsyncPIC> idleAlive(idle);
    idle->release();
    ASSERT_TRUE(waitUntil([&] { return idleAlive.isNull(); }));
}

TEST_F(FrameworkTest, PeerGoneStopsRunningLoopAndCancelsQueuedOne) {
    rec.attach(pic.get());
    Recorder lptRec;
    lptRec.attach(lpt);
    onVector(pic.get(), [&](int) {
        pic->peerGone();
        lpt->peerGone();
    });
    pic->Start();
    lpt->aStartLPT();
    ASSERT_TRUE(waitUntil([] { return StartQueue::instance().idle(); }));
    EXPECT_TRUE(rec.complete());
    EXPECT_EQ(rec.vectors, 1);
    EXPECT_TRUE(lptRec.events.isEmpty());
    EXPECT_FALSE(lpt->inEsecuzione());
    EXPECT_FALSE(lpt->isLocked());
}

TEST_F(FrameworkTest, CreditWindowHoldsLoopUntilAcknowledged) {
    rec.attach(pic.get());
    int heldAt = -1;
    int afterAck = -1;
    int maxUnacked = -1;
    int acks = 0;
    int unackedSoFar = 0; // the most vectors sent and not acknowledged, as the client counts
    onVector(pic.get(), [&](int i) {
        unackedSoFar = qMax(unackedSoFar, i - acks);
        // With the window full the loop waits; these checks run from timers meanwhile.
        if (i == 2)
            QTimer::singleShot(50, pic.get(), [&] {
                heldAt = rec.vectors;
                ++acks;
                pic->AckVettore();
            });
        if (i == 3)
            QTimer::singleShot(50, pic.get(), [&] {
                afterAck = rec.vectors;
                maxUnacked = unackedSoFar;
                pic->setASweepON(DeviceObject::kStopRequested); // served with the window full
            });
    });
    pic->SetVectorWindow(2);
    pic->Start();
    ASSERT_TRUE(waitUntil([&] { return rec.complete(); }));
    EXPECT_EQ(heldAt, 2);
    EXPECT_EQ(afterAck, 3);
    EXPECT_EQ(maxUnacked, 2);

    // Window 0 turns flow control off: vectors flow without acknowledgements.
    startBoardCycle(pic.get());
    Recorder again;
    again.attach(pic.get());
    stopAt(pic.get(), 20);
    pic->SetVectorWindow(0);
    pic->Start();
    ASSERT_TRUE(waitUntil([&] { return again.complete(); }));
    EXPECT_EQ(again.vectors, 20);
}

TEST(AttesaPrecisa, ZeroAndInvalidRatesReturnAtOnce) {
    EXPECT_EQ(attesaPrecisa(0.0f), 0.0f);
    EXPECT_EQ(attesaPrecisa(-5.0f), 0.0f);
    EXPECT_EQ(attesaPrecisa(std::numeric_limits<float>::quiet_NaN()), 0.0f);
    EXPECT_EQ(attesaPrecisa(std::numeric_limits<float>::infinity()), 0.0f);
}

TEST(AttesaPrecisa, WaitsAtLeastNinetyFivePercentOfPeriod) {
    for (float rate : {100.0f, 10.0f}) {
        const auto t0 = std::chrono::steady_clock::now();
        const float achieved = attesaPrecisa(rate);
        const double waited =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        EXPECT_GE(waited, 0.00095 / rate) << rate;
        EXPECT_GT(achieved, 0.0f);
        EXPECT_LE(achieved, rate / 0.95f * 1.0001f) << rate;
    }
}

} // namespace
