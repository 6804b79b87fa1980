#include "IniFile.h"
#include "LocaleGuard.h"
#include "NumberParse.h"
#include "ScratchFiles.h"
#include "SweepConfig.h"

#include <QDir>
#include <QRegularExpression>
#include <chrono>
#include <csignal>
#include <gtest/gtest.h>
#include <iostream>
#include <random>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

class SweepConfigWrite : public ::testing::TestWithParam<QLocale> {
protected:
    SweepConfigWrite() : m_guard(GetParam()), cfg(s.path()) {}
    QString L(const char* english) const {
        QString t = QString::fromLatin1(english);
        if (GetParam().decimalPoint() == QLatin1String(","))
            t.replace(QLatin1Char('.'), QLatin1Char(','));
        return t;
    }
    LocaleGuard m_guard;
    ScratchIni s;
    SweepConfig cfg;
};

TEST_P(SweepConfigWrite, ClosingWritesTheWindowStateInOrder) {
    cfg.freqStart = 1500000;
    cfg.freqStop = 2500000;
    cfg.vistaCorrente = 1;
    cfg.maxScaleV = 1.1f;
    cfg.maxScaleDb = -60;
    cfg.scala = 3;
    cfg.sweepMode = 2;
    cfg.aux1Value = 5;
    cfg.pot2Value = 128;
    cfg.ddsOffset = 0.5;
    cfg.adcOffset = 0.25f;
    const QString m1 = GetParam().decimalPoint() == QLatin1String(",") ? "1.000.000" : "1,000,000";
    ASSERT_TRUE(cfg.writeOnClose(m1, "2000000", L("-12.5"), "garbage"));
    IniFile ini(s.path());
    EXPECT_EQ(ini.sections(), QStringList({"Sweep Generator", "Config"}));
    EXPECT_EQ(ini.keys("Sweep Generator"),
              QStringList({"Start", "Stop", "Marker 0", "Marker 1", "Marker 2", "Marker 3",
                           "Marker 4", "Max scaleV", "Max scaleDb", "Scale", "Sweep mode", "Aux_1",
                           "Aux_2", "Pot_2"}));
    EXPECT_EQ(ini.keys("Config"), QStringList({"DDS Offset", "ADC Offset"}));
    EXPECT_EQ(ini.value("Sweep Generator", "Marker 1"), QString("1000000"));
    EXPECT_EQ(ini.value("Sweep Generator", "Marker 3"), L("-12.5"));
    EXPECT_EQ(ini.value("Sweep Generator", "Marker 4"), QString("garbage"));
    EXPECT_EQ(ini.value("Sweep Generator", "Max scaleV"), L("1.1"));
    EXPECT_EQ(ini.value("Sweep Generator", "Scale"), QString("3"));
    EXPECT_EQ(ini.value("Config", "DDS Offset"), L("0.5"));
    EXPECT_EQ(ini.value("Config", "ADC Offset"), L("0.25"));
}

TEST_P(SweepConfigWrite, MarkerFrequencyThatIsNoNumberKeepsTheStoredValue) {
    writeBytes(s.path(), "[Sweep Generator]\nMarker 1=1234\n");
    cfg.writeOnClose("12ab", "7", "0", "0");
    EXPECT_EQ(IniFile(s.path()).value("Sweep Generator", "Marker 1"), QString("1234"));
    EXPECT_EQ(IniFile(s.path()).value("Sweep Generator", "Marker 2"), QString("7"));
}

TEST_P(SweepConfigWrite, ScaleTenIsSavedAsThree) {
    writeBytes(s.path(), "[Sweep Generator]\nScale=10\n");
    cfg.readMainWindowState();
    cfg.writeOnClose(cfg.marker1, cfg.marker2, cfg.marker3, cfg.marker4);
    EXPECT_EQ(IniFile(s.path()).value("Sweep Generator", "Scale"), QString("3"));
}

TEST_P(SweepConfigWrite, ValuesWrittenUnderOneSeparatorReadUnderTheOther) {
    cfg.ddsOffset = 0.5;
    cfg.adcOffset = -0.125f;
    cfg.maxScaleV = 2.5f;
    cfg.writeOnClose("1", "2", L("1.5"), L("-3.25"));
    const QLocale other = GetParam().decimalPoint() == QLatin1String(",") ? LocaleGuard::english()
                                                                          : LocaleGuard::german();
    LocaleGuard switched(other);
    SweepConfig reader(s.path());
    reader.readAll();
    EXPECT_DOUBLE_EQ(reader.ddsOffset, 0.5);
    EXPECT_FLOAT_EQ(reader.adcOffset, -0.125f);
    EXPECT_FLOAT_EQ(reader.maxScaleV, 2.5f);
    EXPECT_EQ(reader.marker3, QString("1") + other.decimalPoint() + "5");
    EXPECT_EQ(reader.marker4, QString("-3") + other.decimalPoint() + "25");
}

TEST_P(SweepConfigWrite, SetupApplyWritesItsKeysInOrderOverTheStartupSpelling) {
    cfg.readAll(); // fresh file with the start-up spelling "DDS Max freq"
    cfg.interfaccia = 1;
    cfg.ddsDevice = "AD9951";
    cfg.ddsMaxFreq = 150000000;
    cfg.adcStep = 0.0049f;
    cfg.commPort = 0;
    cfg.lptAddress = 956;
    AuxConfig aux1;
    aux1.enabled = true;
    aux1.title = "Attenuator";
    for (int i = 0; i < AuxConfig::kSteps; ++i)
        aux1.setStep(i, AuxConfig::defaultStep(i));
    aux1.stepLabel[0] = "  dB 1  ";
    aux1.stepValueText[0] = "1";
    AuxConfig aux2;
    aux2.title = "Gain";
    aux2.potMax = 200;
    ASSERT_TRUE(cfg.writeSetup(aux1, aux2));

    IniFile ini(s.path());
    EXPECT_EQ(ini.value("Config", "DDS Max freq"), QString("150000000"));
    EXPECT_EQ(
        ini.keys("Config")
            .filter(QRegularExpression("^DDS Max freq$", QRegularExpression::CaseInsensitiveOption))
            .size(),
        1);
    EXPECT_EQ(ini.value("Serial Port", "CommPort"), QString("1"));
    EXPECT_EQ(ini.value("Parallel Port", "LPT"), QString("&H3BC"));
    EXPECT_EQ(ini.value("Config", "ADC Step"), L("0.0049"));
    EXPECT_EQ(ini.keys("Aux1"),
              QStringList({"Enabled", "Step 0", "Step 1", "Step 2", "Step 3", "Step 4", "Step 5",
                           "Step 6", "Step 7", "Inverse Logic", "Title"}));
    EXPECT_EQ(ini.keys("Aux2").mid(9), QStringList({"Inverse Logic", "Title", "PotMax", "PotMin"}));
    EXPECT_EQ(ini.value("Aux1", "Step 0"), QString("dB 1;1"));
    EXPECT_EQ(ini.value("Aux1", "Step 7"), QString("dB 80;80"));

    SweepConfig again(s.path());
    ASSERT_TRUE(again.readAll());
    EXPECT_EQ(again.interfaccia, 1);
    EXPECT_EQ(again.lptAddress, 956);
    const AuxConfig back = again.readAux(1);
    EXPECT_TRUE(back.enabled);
    EXPECT_EQ(back.title, "Attenuator");
    EXPECT_EQ(back.stepLabel[0], "dB 1");
    EXPECT_EQ(back.stepValue[0], 1);
    EXPECT_EQ(again.readAuxForSetup(2).potMax, 200);
}

TEST_P(SweepConfigWrite, SetupApplyOnAFreshFileFollowsTheDocumentedOrder) {
    ASSERT_TRUE(cfg.writeSetup(AuxConfig{}, AuxConfig{}));
    IniFile ini(s.path());
    EXPECT_EQ(ini.sections(),
              QStringList({"Config", "Serial Port", "Parallel Port", "Aux1", "Aux2"}));
    EXPECT_EQ(ini.keys("Config"),
              QStringList({"Interface", "DDS Device", "DDS Xtal freq", "DDS Multiplier",
                           "DDS Max Freq", "DDS Min Freq", "DDS Offset", "ADC Device", "ADC Step",
                           "ADC Offset", "ADC Channel"}));
}

TEST_P(SweepConfigWrite, PreferencesAndPortMapping) {
    ASSERT_TRUE(cfg.writePreferences(1));
    EXPECT_EQ(cfg.cursorMode, 1);
    cfg.lptDriver = "sim";
    cfg.serialDevice = "sim:vna";
    ASSERT_TRUE(cfg.writePortMapping());
    // No device under test chosen: none is written, so tarvex keeps its own default.
    EXPECT_FALSE(IniFile(s.path()).value("Simulator", "DUT").has_value());
    cfg.simDut = "ramp";
    ASSERT_TRUE(cfg.writePortMapping());
    SweepConfig back(s.path());
    back.readAll();
    EXPECT_EQ(back.cursorMode, 1);
    EXPECT_EQ(back.lptDriver, "sim");
    EXPECT_EQ(back.serialDevice, "sim:vna");
    EXPECT_EQ(back.simDut, "ramp");
    IniFile(s.path()).setValue("Simulator", "DUT", "resistor");
    back.readAll();
    EXPECT_EQ(back.simDut, "");
    // Every device the set-up offers is kept (a name it did not know would fall back to
    // tarvex's default).
    for (const char* dut : {"bandpass", "through", "lowpass", "notch", "ramp", "flat"}) {
        IniFile(s.path()).setValue("Simulator", "DUT", dut);
        back.readAll();
        EXPECT_EQ(back.simDut, dut);
    }
}

TEST_P(SweepConfigWrite, NumbersReadBackUnchangedThroughThreeSaves) {
    // Values whose ordinary 15-digit text is another number, and levels too long to show.
    const double offsets[] = {0.1, 0.1 + 0.2, 1.0 / 3.0, 1e-300, -123456.78901234567};
    const QString hugeLevel = "-1" + QString(300, QLatin1Char('0')) + L(".000");
    for (const double offset : offsets) {
        SweepConfig w(s.path());
        w.ddsOffset = offset;
        w.adcOffset = 0.1f;
        w.maxScaleV = 1.1f;
        QString m1 = "12345678901234567";
        QString m3 = hugeLevel;
        QString m4 = L("1e-300");
        for (int round = 0; round < 3; ++round) {
            ASSERT_TRUE(w.writeOnClose(m1, "2000000", m3, m4));
            SweepConfig r(s.path());
            r.readAll();
            EXPECT_EQ(r.ddsOffset, offset) << round;
            EXPECT_EQ(r.adcOffset, 0.1f) << round;
            EXPECT_EQ(r.maxScaleV, 1.1f) << round;
            EXPECT_EQ(parseNumber(r.marker1), 12345678901234567.0) << round;
            EXPECT_EQ(parseNumber(r.marker3), -1e300) << round;
            EXPECT_EQ(parseNumber(r.marker4), 1e-300) << round;
            EXPECT_LE(IniFile(s.path()).value("Sweep Generator", "Marker 3")->size(), 254);
            // The next start saves what it read.
            w = r;
            m1 = r.marker1;
            m3 = r.marker3;
            m4 = r.marker4;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Locales, SweepConfigWrite,
                         ::testing::Values(LocaleGuard::english(), LocaleGuard::german()),
                         [](const auto& info) {
                             return info.param.bcp47Name().replace('-', '_').toStdString();
                         });

// The closing save in a child process, killed at random moments: the file is always wholly
// the old one or wholly the new one, and the next start removes what the kill left behind.
TEST(SweepConfigFaults, ClosingSaveKilledAnywhereLeavesTheOldOrTheNewFile) {
    ScratchIni s;
    QByteArray old = "[Sweep Generator]\nStart=1000000\nStop=2000000\nMarker 1=1000000\n";
    old += "[Config]\nDDS Offset=0\nADC Offset=0\n[Notes]\n";
    for (int i = 0; i < 20000; ++i) // half a megabyte, so that the save takes a while
        old += "Note " + QByteArray::number(i) + "=kept as it is\n";
    const QString path = s.path();
    auto save = [&path] {
        SweepConfig cfg(path);
        cfg.freqStart = 3000000;
        cfg.freqStop = 4000000;
        cfg.scala = 2;
        _exit(cfg.writeOnClose("3500000", "3900000", "0.5", "0.25") ? 0 : 1);
    };
    auto run = [&](std::chrono::microseconds killAfter) {
        writeBytes(path, old);
        const pid_t pid = fork();
        if (pid == 0)
            save();
        if (killAfter.count() >= 0) {
            std::this_thread::sleep_for(killAfter);
            kill(pid, SIGKILL);
        }
        int status = 0;
        waitpid(pid, &status, 0);
        return status;
    };

    const auto begin = std::chrono::steady_clock::now();
    ASSERT_EQ(run(std::chrono::microseconds(-1)), 0);
    const auto took = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now() - begin);
    const QByteArray fresh = readBytes(path);
    ASSERT_TRUE(fresh.startsWith("[Sweep Generator]\nStart=3000000\nStop=4000000\n"));
    ASSERT_TRUE(fresh.contains("Note 19999=kept as it is\n"));

    std::mt19937 random(20240611);
    std::uniform_int_distribution<long long> delay(0, took.count() * 3 / 2);
    int oldSeen = 0;
    int newSeen = 0;
    for (int i = 0; i < 40; ++i) {
        run(std::chrono::microseconds(delay(random)));
        const QByteArray now = readBytes(path);
        ASSERT_TRUE(now == old || now == fresh) << "kill " << i << ": " << now.size() << " bytes";
        ++(now == old ? oldSeen : newSeen);
    }
    std::cout << "kills: " << oldSeen << " before the save was done, " << newSeen << " after\n";

    SweepConfig(path).removeObsoleteSections();
    EXPECT_EQ(QDir(s.dir()).entryList(QDir::Files | QDir::Hidden), QStringList({"Sweep.ini"}));
}

} // namespace
