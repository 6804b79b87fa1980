// cAsyncLPT on the simulated board, outside sweep passes: port opening and refusal, DDS
// initialisation and loads of the three chips, detector reads, auxiliary outputs, shared
// lines and the log lines.
#include "LptTestRig.h"
#include "PpdevPortIo.h"
#include "ServerOptions.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <QtTest>

namespace {
// A converter input that follows a script: one value per sample taken.
class ScriptedDut : public DutModel {
public:
    explicit ScriptedDut(QList<int> values) : m_values(std::move(values)) {}
    int code(double, int) override { return m_values.isEmpty() ? 0 : m_values.takeFirst(); }

private:
    QList<int> m_values;
};

const double kTwo32 = 4294967296.0;
} // namespace

class LptDeviceTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English)); }

    void portOpeningAndRefusals() {
        LptTestRig rig;
        // Before a successful aInizializzaLPT every port operation is refused, untouched.
        rig.lpt->aSetFrequenzaDDS(1000000);
        rig.lpt->aInizializzaDDS();
        rig.lpt->aSetAttenuator(0xFF, 1);
        QCOMPARE(rig.lpt->aSetAmpli(1, 2, 3), false);
        QCOMPARE(rig.lpt->aReadADC(), short(0));
        rig.lpt->aStartLPT();
        QCOMPARE(rig.board->accesses(), uint64_t(0));
        QCOMPARE(rig.textsWithCode(3).size(), 6);
        QVERIFY(rig.textsWithCode(3).first().startsWith(QStringLiteral("L> aSetFrequenzaDDS")));
        QVERIFY(!rig.lpt->inEsecuzione());

        rig.events.clear();
        QVERIFY(rig.lpt->aInizializzaLPT(0x378));
        QCOMPARE(rig.texts(), (QStringList{QStringLiteral("L> Driver LPT installato"),
                                           QStringLiteral("L> LPT address: 888")}));
        QCOMPARE(rig.board->dataLatch(), uint8_t(0x04));

        rig.events.clear();
        rig.lpt->aExitLPT();
        QCOMPARE(rig.texts(), QStringList{QStringLiteral("L> LPTport chiusa")});
        rig.lpt->aSetAttenuator(1, 1);
        QCOMPARE(rig.textsWithCode(3).size(), 1); // closed again
    }

    void noUsableDriverExplainsWhy() {
        ServerOptions options;
        options.lptDriver = QStringLiteral("ppdev");
        cAsyncLPT lpt(PortIo::create(options), options.lptDriver);
        QList<QPair<short, QString>> events;
        connect(&lpt, &DeviceObject::aErrore, [&](short c, const QString& t) {
            events.append({c, t});
        });
        QCOMPARE(lpt.aInizializzaLPT(0x1234), false); // no port lives there
        QCOMPARE(events.size(), 2);
        QCOMPARE(events[0], qMakePair(short(3), QStringLiteral("L> Driver LPT NON installato")));
        QCOMPARE(events[1].first, short(3));
        QVERIFY(events[1].second.contains(QStringLiteral("0x1234")));

        options.lptDriver = QStringLiteral("bogus");
        cAsyncLPT unknown(PortIo::create(options), options.lptDriver);
        events.clear();
        connect(&unknown, &DeviceObject::aErrore, [&](short c, const QString& t) {
            events.append({c, t});
        });
        QCOMPARE(unknown.aInizializzaLPT(0x378), false);
        QCOMPARE(events.size(), 2);
        QVERIFY(events[1].second.contains(QStringLiteral("bogus")));
    }

    void ppdevFindsThePortByBaseAddress() {
        QTemporaryDir dir;
        auto add = [&](const QString& name, const QByteArray& text) {
            QDir(dir.path()).mkpath(name);
            QFile f(dir.path() + QLatin1Char('/') + name + QStringLiteral("/base-addr"));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(text);
        };
        add(QStringLiteral("parport0"), "888\t1912\n");
        add(QStringLiteral("parport1"), "632\t1656\n");
        add(QStringLiteral("parport2"), "garbage\n");
        QCOMPARE(PpdevPortIo::findPort(0x378, dir.path()), 0);
        QCOMPARE(PpdevPortIo::findPort(0x278, dir.path()), 1);
        QCOMPARE(PpdevPortIo::findPort(0x3BC, dir.path()), -1);
        QCOMPARE(PpdevPortIo::findPort(0x378, dir.path() + QStringLiteral("/none")), -1);
    }

    void propertyLogLines() {
        LptTestRig rig;
        rig.lpt->setADeviceDDS(QStringLiteral("AD9851"));
        rig.lpt->setADeviceADC(QStringLiteral("10bit"));
        rig.lpt->setAMultiplier(1);
        rig.lpt->setAClock(30000000.0);
        rig.lpt->setADDSoffset(1.0);
        rig.lpt->setASpeed(2);
        rig.lpt->setASweepON(2);
        QCOMPARE(rig.texts(),
                 (QStringList{QStringLiteral("L> DDS: AD9851"), QStringLiteral("L> ADC: 10bit"),
                              QStringLiteral("L> DDS CLK Mult: 1"),
                              QStringLiteral("L> DDS CLK Ref: 30000000"),
                              QStringLiteral("L> DDS offset: 0.001"),
                              QStringLiteral("L> Sweeping speed: 2")}));
        QCOMPARE(rig.lpt->offsetDDS(), 0.001);
        QCOMPARE(rig.lpt->mySweepON(), short(2));
        QLocale::setDefault(QLocale(QLocale::German));
        rig.events.clear();
        rig.lpt->setADDSoffset(1.0);
        QCOMPARE(rig.texts(), QStringList{QStringLiteral("L> DDS offset: 0,001")});
        QLocale::setDefault(QLocale(QLocale::English));
    }

    void ad9850LoadsTheWordThenTheControlByte() {
        LptTestRig rig;
        rig.configure(QStringLiteral("AD9850"), QStringLiteral("10bit"), 125e6, 0);
        rig.lpt->aSetFrequenzaDDS(10000000);
        QCOMPARE(rig.board->dds().serialBytes(), (QList<uint8_t>{0x48, 0xE1, 0x7A, 0x14, 0x00}));
        QCOMPARE(rig.texts(), QStringList{QStringLiteral("L> AD9850 FWord= 343597384")});
        QCOMPARE(rig.board->dds().log().last().bits, 40);
        QVERIFY(qAbs(rig.board->dds().outputHz() - 10e6) < 0.03);
        // FQ_UD stays high between loads.
        QVERIFY(rig.board->pin(4));

        // The offset adds its correction per hertz to the word.
        rig.lpt->setADDSoffset(1.0);
        rig.events.clear();
        rig.lpt->aSetFrequenzaDDS(10000000);
        QCOMPARE(rig.texts(), QStringList{QStringLiteral("L> AD9850 FWord= 343607384")});
    }

    void ad9851MultiplierOneAndSix() {
        LptTestRig rig;
        rig.configure(QStringLiteral("AD9851"), QStringLiteral("10bit"), 30e6, 1);
        rig.lpt->aSetFrequenzaDDS(10000000);
        const double word = std::nearbyint(kTwo32 / 180e6 * 10e6);
        QCOMPARE(rig.lpt->frequenzaCorrente(), word);
        QCOMPARE(rig.board->dds().log().last().control, uint8_t(0x01));
        QVERIFY(qAbs(rig.board->dds().outputHz() - 10e6) < 180e6 / kTwo32);
        rig.lpt->aSetFrequenzaDDS(20000000);
        QCOMPARE(rig.board->dds().log().last().control, uint8_t(0x01)); // on every load

        // Multiplier 6 means "none": written back as 0, factor 2^32 / clock.
        rig.configure(QStringLiteral("AD9851"), QStringLiteral("10bit"), 180e6, 6);
        QCOMPARE(rig.lpt->myMultifactor(), short(0));
        rig.lpt->aSetFrequenzaDDS(10000000);
        QCOMPARE(rig.lpt->frequenzaCorrente(), word);
        QCOMPARE(rig.board->dds().log().last().control, uint8_t(0x00));
        QVERIFY(qAbs(rig.board->dds().outputHz() - 10e6) < 180e6 / kTwo32);
        // The control byte is the multiplier at the time of the load; the factor changes
        // only at the next initialisation.
        rig.lpt->setAMultiplier(1);
        rig.lpt->aSetFrequenzaDDS(10000000);
        QCOMPARE(rig.lpt->frequenzaCorrente(), word);
        QCOMPARE(rig.board->dds().log().last().control, uint8_t(0x01));
    }

    void ad9951InitialisationAndLoads() {
        LptTestRig rig;
        rig.lpt->aInizializzaLPT(0x378);
        rig.lpt->setADeviceDDS(QStringLiteral("AD9951"));
        rig.lpt->setAClock(20e6);
        rig.lpt->setAMultiplier(4);
        rig.board->clearLogs();
        rig.events.clear();
        rig.lpt->aInizializzaDDS();
        QCOMPARE(rig.texts(), QStringList{QStringLiteral("L> AD9951 Inizializzato")});
        QCOMPARE(rig.board->dds().log().first().kind, DdsChip::Record::Kind::Reset);
        QCOMPARE(rig.board->dds().serialBytes(), (QList<uint8_t>{0x01, 0x00, 0x00, 0x21}));
        rig.lpt->aSetFrequenzaDDS(10000000);
        const uint32_t w = 0x20000000; // 10 MHz of 80 MHz
        QCOMPARE(rig.board->dds().serialBytes().mid(4),
                 (QList<uint8_t>{0x04, uint8_t(w >> 24), uint8_t(w >> 16), uint8_t(w >> 8),
                                 uint8_t(w)}));
        QCOMPARE(rig.texts().last(), QStringLiteral("L> AD9951 FWord= 536870912"));
        QCOMPARE(rig.board->dds().outputHz(), 10e6);
    }

    void invalidMultiplierOrClockLeavesTheDdsUninitialised() {
        for (short mult : {short(0), short(32), short(-1)}) {
            LptTestRig rig;
            rig.lpt->aInizializzaLPT(0x378);
            rig.lpt->setADeviceDDS(QStringLiteral("AD9951"));
            rig.lpt->setAClock(20e6);
            rig.lpt->setAMultiplier(mult);
            rig.events.clear();
            rig.lpt->aInizializzaDDS();
            QCOMPARE(rig.textsWithCode(3).size(), 1);
            QVERIFY(!rig.texts().contains(QStringLiteral("L> AD9951 Inizializzato")));
            rig.lpt->aInizializzaSweep(1000000, 1000);
            QCOMPARE(rig.lpt->parolaDDS(1), 0.0);
        }
        LptTestRig rig;
        rig.configure(QStringLiteral("AD9850"), QStringLiteral("10bit"), 0.0, 0);
        rig.lpt->aInizializzaSweep(1000000, 1000);
        QCOMPARE(rig.lpt->parolaDDS(400), 0.0);
    }

    void multiplierOutsideTheChipsRangeIsRefused() {
        // Multipliers each chip accepts: the AD9850/AD9851 0..255 (the load's control byte;
        // 1 switches on the AD9851's 6x multiplier, any other value means none), the AD9951
        // 0..31 (five bits of CFR2; 0 is refused at the initialisation). Anything else is
        // refused with a code-3 line and the chip keeps the multiplier it had.
        LptTestRig rig;
        rig.configure(QStringLiteral("AD9851"), QStringLiteral("10bit"), 30e6, 1);
        for (short bad : {short(-1), short(256), short(-32768), short(32767)}) {
            rig.events.clear();
            rig.lpt->setAMultiplier(bad);
            rig.lpt->setMyMultifactor(bad);
            QCOMPARE(rig.textsWithCode(3).size(), 2);
            QVERIFY(rig.textsWithCode(0).isEmpty());
            QVERIFY2(
                rig.texts().first().startsWith(QStringLiteral("L> DDS CLK Mult: %1 ").arg(bad)),
                qPrintable(rig.texts().first()));
            QCOMPARE(rig.lpt->myMultifactor(), short(1));
            rig.lpt->aSetFrequenzaDDS(10000000);
            // Still 6x and running: -1 sent as a byte would be 0xFF, power-down and test bits.
            QCOMPARE(rig.board->dds().log().last().control, uint8_t(0x01));
            QVERIFY(qAbs(rig.board->dds().outputHz() - 10e6) < 180e6 / kTwo32);
        }
        // Accepted values other than 1 select no multiplier on the chip: the control byte
        // never carries the test, power-down or phase bits.
        for (short good : {short(0), short(6), short(255)}) {
            rig.events.clear();
            rig.lpt->setAMultiplier(good);
            QCOMPARE(rig.texts(), QStringList{QStringLiteral("L> DDS CLK Mult: %1").arg(good)});
            QCOMPARE(rig.lpt->myMultifactor(), good);
            rig.lpt->aSetFrequenzaDDS(1000000);
            QCOMPARE(rig.board->dds().log().last().control, uint8_t(0x00));
        }

        LptTestRig ad9951;
        ad9951.lpt->aInizializzaLPT(0x378);
        ad9951.lpt->setADeviceDDS(QStringLiteral("AD9951"));
        ad9951.lpt->setAClock(20e6);
        ad9951.lpt->setAMultiplier(31);
        QCOMPARE(ad9951.lpt->myMultifactor(), short(31));
        ad9951.lpt->setAMultiplier(4);
        ad9951.events.clear();
        for (short bad : {short(32), short(-1), short(255)})
            ad9951.lpt->setAMultiplier(bad);
        QCOMPARE(ad9951.textsWithCode(3).size(), 3);
        QCOMPARE(ad9951.lpt->myMultifactor(), short(4));
        ad9951.board->clearLogs();
        ad9951.lpt->aInizializzaDDS();
        QCOMPARE(ad9951.board->dds().serialBytes(), (QList<uint8_t>{0x01, 0x00, 0x00, 0x21}));
    }

    void wordOutsideThirtyTwoBitsLoadsNothing() {
        LptTestRig rig;
        rig.configure(QStringLiteral("AD9850"), QStringLiteral("10bit"), 100e6, 0);
        rig.lpt->aSetFrequenzaDDS(100000000); // the clock itself: word 2^32
        rig.lpt->aSetFrequenzaDDS(-5);
        QCOMPARE(rig.textsWithCode(3).size(), 2);
        QVERIFY(rig.textsWithCode(0).isEmpty());
        QVERIFY(rig.board->dds().log().isEmpty());
        rig.lpt->aSetFrequenzaDDS(99999999); // the largest that fits
        QCOMPARE(rig.board->dds().log().size(), 1);
    }

    void detectorReadsAndAveraging() {
        // Each read returns the conversion sampled during the read before.
        {
            LptTestRig rig(std::make_unique<ScriptedDut>(QList<int>{100, 101, 102}));
            rig.configure(QStringLiteral("AD9850"), QStringLiteral("8bit"), 100e6, 0, 0);
            QCOMPARE(rig.lpt->aReadADC(), short(0));
            QCOMPARE(rig.lpt->aReadADC(), short(100));
            QCOMPARE(rig.lpt->aReadADC(), short(101));
            QVERIFY(rig.board->pin(14)); // deselected
            QVERIFY(!rig.board->pin(1)); // clock low
        }
        // Slow: reads 100, 101, 102 give 102; 100, 100, 101 give 100.
        {
            LptTestRig rig(std::make_unique<ScriptedDut>(QList<int>{101, 102, 0, 100, 101}));
            rig.configure(QStringLiteral("AD9850"), QStringLiteral("10bit"), 100e6, 0, 1);
            QCOMPARE(rig.lpt->aReadADC(), short(102));
            QCOMPARE(rig.lpt->aReadADC(), short(100));
            QCOMPARE(rig.board->adc().reads(), 6);
        }
        // Very slow: reads 3 to 7 of 10, 50, 12, 11, 13 give 12.
        {
            LptTestRig rig(std::make_unique<ScriptedDut>(QList<int>{999, 10, 50, 12, 11, 13, 0}));
            rig.configure(QStringLiteral("AD9850"), QStringLiteral("10bit"), 100e6, 0, 2);
            QCOMPARE(rig.lpt->aReadADC(), short(12));
            QCOMPARE(rig.board->adc().reads(), 7);
        }
        // Speed 5 reads once; "8BIT" is not "8bit": the ten-bit routine clocks ten bits.
        {
            LptTestRig rig(std::make_unique<ScriptedDut>(QList<int>{200, 201}));
            rig.configure(QStringLiteral("AD9850"), QStringLiteral("8BIT"), 100e6, 0, 5);
            rig.lpt->aReadADC();
            QCOMPARE(rig.lpt->aReadADC(), short(200));
            QCOMPARE(rig.board->adc().bits(), 10);
            QCOMPARE(rig.board->adc().reads(), 2);
        }
    }

    void shiftRegistersAndTheirLogLines() {
        LptTestRig rig;
        rig.configure(QStringLiteral("AD9850"), QStringLiteral("10bit"), 100e6, 0);
        rig.lpt->aSetAttenuator(0x01, 1);
        QCOMPARE(rig.board->aux1().outputs(), uint8_t(0x01));
        QCOMPARE(rig.board->aux1().shiftClocks(), 8);
        QCOMPARE(rig.texts(), QStringList{QStringLiteral("L> AUX_1: 1")});
        rig.lpt->aSetAttenuator(0xA5, 2);
        QCOMPARE(rig.board->aux2().outputs(), uint8_t(0xA5));
        QCOMPARE(rig.board->aux1().outputs(), uint8_t(0x01)); // its latch stayed low
        // Any number but 2 is AUX1; afterwards D5 and the latch are low and D0 holds bit 7.
        rig.lpt->aSetAttenuator(0x80, 3);
        QCOMPARE(rig.board->aux1().outputs(), uint8_t(0x80));
        QCOMPARE(rig.texts().last(), QStringLiteral("L> AUX_3: 128"));
        QVERIFY(!rig.board->pin(7));
        QVERIFY(!rig.board->pin(8));
        QVERIFY(rig.board->pin(2));
    }

    void potentiometerBytesInOrder() {
        LptTestRig rig;
        rig.configure(QStringLiteral("AD9850"), QStringLiteral("10bit"), 100e6, 0);
        QVERIFY(rig.lpt->aSetAmpli(0x50, 0xA9, 0x7F));
        QCOMPARE(rig.texts(), QStringList{QStringLiteral("L> POT: 127")});
        QCOMPARE(rig.board->pot().transfers().size(), 1);
        const auto t = rig.board->pot().transfers().first();
        QCOMPARE(t.bytes, (QList<uint8_t>{0x50, 0xA9, 0x7F}));
        QCOMPARE(t.ackClocks, 3);
        QVERIFY(t.stopped);
        QCOMPARE(rig.board->pot().starts(), 3);
        QCOMPARE(rig.board->pot().wiper(), 0x7F);
        QVERIFY(rig.board->pin(2)); // SDA and SCL left high
        QVERIFY(rig.board->pin(6));
        // The acknowledge reads the port's own latch: high after the stop, then low.
        QCOMPARE(rig.lpt->i2c_Ack(), true);
        QVERIFY(!rig.board->pin(2));
        QCOMPARE(rig.lpt->i2c_Ack(), false);
    }

    void linesKeepTheirLevelsAcrossFunctions() {
        LptTestRig rig;
        rig.configure(QStringLiteral("AD9850"), QStringLiteral("10bit"), 100e6, 0);
        rig.lpt->aSetAttenuator(0x0F, 2);
        // Raise the AUX latch lines and "Syncro" behind the class's back: the DDS, converter
        // and I2C routines must not drop lines they do not own.
        rig.board->write(0, rig.board->dataLatch() | 0xC0);
        rig.board->write(2, rig.board->controlLatch() | 0x04);
        const auto latches1 = rig.board->aux1().latched().size();
        const auto latches2 = rig.board->aux2().latched().size();
        rig.lpt->aSetFrequenzaDDS(1000000);
        rig.lpt->aReadADC();
        QCOMPARE(rig.board->dataLatch() & 0xE0, 0xC0);
        QVERIFY(rig.board->pin(16));
        rig.lpt->aSetAmpli(1, 2, 3);
        QCOMPARE(rig.board->dataLatch() & 0xEE, 0xC4); // D6, D7, FQ_UD high; reset low
        QVERIFY(rig.board->pin(16));
        QCOMPARE(rig.board->aux1().latched().size(), latches1); // no stray latch edges
        QCOMPARE(rig.board->aux2().latched().size(), latches2);
        // The auxiliary outputs never disturb the DDS word.
        const uint32_t word = rig.board->dds().activeWord();
        rig.lpt->aSetAttenuator(0xFF, 1);
        rig.lpt->aSetAmpli(0x50, 0x00, 0xFF);
        QCOMPARE(rig.board->dds().activeWord(), word);
    }
};

QTEST_GUILESS_MAIN(LptDeviceTest)
#include "test_lpt_device.moc"
