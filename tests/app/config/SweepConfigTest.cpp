#include "SweepConfig.h"

#include "CommonFunctions.h"
#include "IniFile.h"
#include "LocaleGuard.h"
#include "ScratchFiles.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <vector>

namespace {

class SweepConfigRead : public ::testing::TestWithParam<QLocale> {
protected:
    SweepConfigRead() : m_guard(GetParam()), cfg(s.path()) {}
    LocaleGuard m_guard;
    ScratchIni s;
    SweepConfig cfg;
};

TEST_P(SweepConfigRead, FreshFileFillsInTheOrderKeysAreRead) {
    EXPECT_TRUE(cfg.isFirstRun());
    cfg.removeObsoleteSections();
    EXPECT_FALSE(QFileInfo::exists(s.path())); // probe and removal create nothing
    cfg.readInterface();
    EXPECT_EQ(readLines(s.path()), QStringList({"[Config]", "Interface=2"}));
    ASSERT_TRUE(cfg.readAll());

    IniFile ini(s.path());
    EXPECT_EQ(ini.sections(),
              QStringList({"Config", "Debug", "Parallel Port", "Serial Port", "Sweep Generator"}));
    EXPECT_EQ(ini.keys("Config"),
              QStringList({"Interface", "DDS Device", "DDS Multiplier", "DDS Xtal freq",
                           "DDS Max freq", "DDS Min freq", "DDS Offset", "ADC Device", "ADC Offset",
                           "ADC Step", "ADC Channel"}));
    EXPECT_EQ(ini.keys("Debug"), QStringList({"Log", "USB API", "Slow CPU"}));
    EXPECT_EQ(ini.keys("Parallel Port"), QStringList({"LPT", "Driver"}));
    EXPECT_EQ(ini.keys("Serial Port"), QStringList({"CommPort", "Settings", "Device"}));
    EXPECT_EQ(ini.keys("Sweep Generator"),
              QStringList({"Scale", "Start", "Stop", "Marker 0", "Max scaleV", "Max scaleDb",
                           "Sweep mode", "Cursor mode", "Aux_1", "Aux_2", "Pot_2", "Marker 3",
                           "Marker 4", "Marker 1", "Marker 2"}));
    EXPECT_EQ(ini.value("Parallel Port", "LPT"), QString("&H378"));
    EXPECT_EQ(ini.value("Serial Port", "Device"), QString(""));
    EXPECT_FALSE(cfg.isFirstRun());

    EXPECT_EQ(cfg.interfaccia, 2);
    EXPECT_EQ(cfg.lptAddress, 888);
    EXPECT_EQ(cfg.maxScaleVText, QString("1") + GetParam().decimalPoint() + "5");
}

TEST_P(SweepConfigRead, EmptyOrNonNumericValuesAreReplacedByTheirDefaults) {
    writeBytes(s.path(), "[Config]\nInterface=\nDDS Xtal freq=abc\nDDS Multiplier=99999\n"
                         "[Sweep Generator]\nStart=12x\nSweep mode=7\nMarker 0=-1\nAux_1=300\n"
                         "Max scaleDb=1e99\n[Debug]\nLog=maybe\nUSB API=True\n");
    cfg.readAll();
    EXPECT_EQ(cfg.interfaccia, 2);
    EXPECT_EQ(cfg.ddsMultiplier, 1);
    EXPECT_EQ(cfg.freqStart, 1000000);
    EXPECT_EQ(cfg.sweepMode, 0);
    EXPECT_EQ(cfg.vistaCorrente, 0);
    EXPECT_EQ(cfg.aux1Value, 0);
    EXPECT_EQ(cfg.maxScaleDb, -40);
    EXPECT_FALSE(cfg.logEnabled);
    EXPECT_TRUE(cfg.usbApi);
    IniFile ini(s.path());
    EXPECT_EQ(ini.value("Config", "Interface"), QString("2"));
    EXPECT_EQ(ini.value("Config", "DDS Xtal freq"), QString("80000000"));
    EXPECT_EQ(ini.value("Config", "DDS Multiplier"), QString("1"));
    EXPECT_EQ(ini.value("Sweep Generator", "Start"), QString("1000000"));
    EXPECT_EQ(ini.value("Sweep Generator", "Sweep mode"), QString("0"));
    EXPECT_EQ(ini.value("Sweep Generator", "Max scaleDb"), QString("-40"));
    EXPECT_EQ(ini.value("Debug", "Log"), QString("0"));
    EXPECT_EQ(ini.keys("Config").first(), "Interface");
}

TEST_P(SweepConfigRead, ScaleTenIsThreeAndUnknownScalesAreReset) {
    writeBytes(s.path(), "[Sweep Generator]\nScale=10\n");
    cfg.readMainWindowState();
    EXPECT_EQ(cfg.scala, 3);
    writeBytes(s.path(), "[Sweep Generator]\nScale=5\n");
    cfg.readMainWindowState();
    EXPECT_EQ(cfg.scala, 0);
    EXPECT_EQ(IniFile(s.path()).value("Sweep Generator", "Scale"), QString("0"));
    writeBytes(s.path(), "[Sweep Generator]\nScale=4\n");
    cfg.readMainWindowState();
    EXPECT_EQ(cfg.scala, 4);
}

TEST_P(SweepConfigRead, StartAndStopAreClampedButNotWrittenBack) {
    writeBytes(s.path(), "[Config]\nDDS Max freq=60000000\nDDS Min freq=10\n"
                         "[Sweep Generator]\nStart=99999999\nStop=99999999\n");
    cfg.readDdsParameters();
    cfg.readMainWindowState();
    EXPECT_EQ(cfg.freqStart, 10);
    EXPECT_EQ(cfg.freqStop, 60000000);
    EXPECT_EQ(IniFile(s.path()).value("Sweep Generator", "Start"), QString("99999999"));

    writeBytes(s.path(), "[Config]\nDDS Max freq=60000000\nDDS Min freq=1000\n"
                         "[Sweep Generator]\nStart=5\nStop=3\n");
    cfg.readDdsParameters();
    cfg.readMainWindowState();
    EXPECT_EQ(cfg.freqStart, 1000);
    EXPECT_EQ(cfg.freqStop, 3); // no lower check on Stop
}

TEST_P(SweepConfigRead, FractionalKeysReadUnderEitherSeparator) {
    for (const char sep : {'.', ','}) {
        const QByteArray d(1, sep);
        writeBytes(s.path(), "[Config]\nDDS Offset=0" + d + "5\nADC Step=0" + d +
                                 "0049\n"
                                 "[Sweep Generator]\nMax scaleV=2" +
                                 d + "5\nMax scaleDb=-40" + d +
                                 "5\n"
                                 "Marker 3=1" +
                                 d + "25\n");
        cfg.readDdsParameters();
        cfg.readAdcParameters();
        cfg.readMainWindowState();
        cfg.readMarkers();
        EXPECT_DOUBLE_EQ(cfg.ddsOffset, 0.5) << sep;
        EXPECT_FLOAT_EQ(cfg.adcStep, 0.0049f) << sep;
        EXPECT_FLOAT_EQ(cfg.maxScaleV, 2.5f) << sep;
        EXPECT_EQ(cfg.maxScaleDb, -40) << sep; // -40.5 to the even neighbour
        EXPECT_EQ(cfg.marker3, QString("1") + GetParam().decimalPoint() + "25") << sep;
    }
}

TEST_P(SweepConfigRead, DeviceNamesAreSubstringChecks) {
    EXPECT_TRUE(SweepConfig::ddsDeviceAllowed("9851"));
    EXPECT_FALSE(SweepConfig::ddsDeviceAllowed("AD9852"));
    EXPECT_FALSE(SweepConfig::ddsDeviceAllowed("ad9850"));
    EXPECT_FALSE(SweepConfig::adcDeviceAllowed("12bit"));
    writeBytes(s.path(), "[Config]\nDDS Device=AD9852\nADC Device=10bit\n");
    EXPECT_FALSE(cfg.readDdsDevice());
    EXPECT_EQ(cfg.ddsDevice, "AD9852");
    EXPECT_TRUE(cfg.readAdcDevice());
    EXPECT_FALSE(cfg.readAll());
}

TEST_P(SweepConfigRead, PortsHexAddressDriverAndDevice) {
    writeBytes(s.path(), "[parallel port]\nlpt=&h278\nDriver=SIM\n[Serial "
                         "Port]\nCommPort=3\nDevice= /dev/ttyUSB0 \n");
    cfg.readPorts();
    EXPECT_EQ(cfg.lptAddress, 632);
    EXPECT_EQ(cfg.lptDriver, "sim");
    EXPECT_EQ(cfg.commPort, 3);
    EXPECT_EQ(cfg.serialDevice, "/dev/ttyUSB0");
    writeBytes(s.path(), "[Parallel Port]\nDriver=winio\n");
    cfg.readPorts();
    EXPECT_EQ(IniFile(s.path()).value("Parallel Port", "Driver"), QString("auto"));
}

TEST_P(SweepConfigRead, AttenuatorSectionIsRemoved) {
    writeBytes(s.path(), "[Config]\nDDS Device=AD9850\n[Attenuator]\nStep=1\n[Debug]\nLog=1\n");
    cfg.removeObsoleteSections();
    EXPECT_EQ(IniFile(s.path()).sections(), QStringList({"Config", "Debug"}));
    EXPECT_FALSE(cfg.isFirstRun());
    cfg.readDebug();
    EXPECT_TRUE(cfg.logEnabled);
}

TEST_P(SweepConfigRead, AuxPanelsReadOnlyWhatIsEnabled) {
    AuxConfig aux1 = cfg.readAux(1);
    EXPECT_FALSE(aux1.enabled);
    EXPECT_EQ(aux1.title, "Aux 1");
    EXPECT_EQ(IniFile(s.path()).keys("Aux1"), QStringList({"Inverse Logic", "Title", "Enabled"}));

    writeBytes(s.path(), "[Aux2]\nEnabled=1\nInverse Logic=1\nStep 1=Gain;\nStep 2=25\nStep 3=abc\n"
                         "Step 4=x;2.5\nPotMax=300\n");
    const AuxConfig aux2 = cfg.readAux(2);
    EXPECT_TRUE(aux2.enabled);
    EXPECT_TRUE(aux2.inverseLogic);
    EXPECT_EQ(aux2.stepLabel[0], "dB 10");
    EXPECT_EQ(aux2.stepValue[0], 10);
    EXPECT_EQ(aux2.stepLabel[7], "dB 80");
    EXPECT_EQ(aux2.stepValue[7], 80);
    EXPECT_EQ(aux2.stepLabel[1], "Gain");
    EXPECT_EQ(aux2.stepValue[1], 0);
    EXPECT_EQ(aux2.stepLabel[2], "25");
    EXPECT_EQ(aux2.stepValue[2], 25);
    EXPECT_EQ(aux2.stepLabel[3], "abc");
    EXPECT_EQ(aux2.stepValue[3], 0);
    EXPECT_EQ(aux2.stepValue[4], 2); // 2.5 to the even neighbour
    EXPECT_EQ(aux2.potMax, 255);     // beyond a byte: default
    EXPECT_EQ(aux2.i2cControl, 80);
    EXPECT_EQ(aux2.i2cCommand, 175);
    EXPECT_EQ(IniFile(s.path()).value("Aux2", "PotMax"), QString("255"));
}

TEST_P(SweepConfigRead, SetupLoaderUsesItsOwnDefaults) {
    EXPECT_FALSE(cfg.hasHardwareSection("Interface2"));
    cfg.readHardwareSection("Interface2");
    EXPECT_EQ(cfg.adcStep, 5.0f);
    EXPECT_EQ(cfg.adcOffset, 0.0f);
    EXPECT_TRUE(cfg.hasHardwareSection("interface2"));
    EXPECT_EQ(IniFile(s.path()).keys("Interface2"),
              QStringList({"DDS Device", "DDS Multiplier", "DDS Xtal freq", "DDS Max freq",
                           "DDS Min freq", "DDS Offset", "ADC Device", "ADC Step", "ADC Channel",
                           "ADC Offset"}));
}

TEST_P(SweepConfigRead, IniLocation) {
    ScratchIni home;
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", home.dir().toUtf8());
    const QString programDir = s.dir();
    EXPECT_EQ(SweepConfig::defaultIniPath(programDir), home.dir() + "/orvane/Sweep.ini");
    EXPECT_TRUE(QFileInfo(home.dir() + "/orvane").isDir());
    writeBytes(s.path(), "[Config]\n");
    EXPECT_EQ(SweepConfig::defaultIniPath(programDir), QFileInfo(s.path()).absoluteFilePath());
    if (saved.isNull())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", saved);
}

TEST_P(SweepConfigRead, AbsurdNumbersAreBroughtIntoRangeButNotWrittenBack) {
    const QByteArray absurd = "[Config]\nDDS Xtal freq=0\nDDS Max freq=-2147483648\n"
                              "DDS Min freq=-5\nDDS Multiplier=300\nDDS Offset=1e300\n"
                              "ADC Step=-1e30\nADC Offset=1e6\n[Serial Port]\nCommPort=-3\n"
                              "[Sweep Generator]\nStart=-2147483648\nStop=-2147483648\n"
                              "Max scaleV=0\nMax scaleDb=-1000\nPot_2=999\n";
    writeBytes(s.path(), absurd);
    cfg.readAll();
    EXPECT_EQ(cfg.ddsClock, 1);
    EXPECT_EQ(cfg.ddsMaxFreq, 1);
    EXPECT_EQ(cfg.ddsMinFreq, 0);
    EXPECT_EQ(cfg.ddsMultiplier, 20);
    EXPECT_EQ(cfg.ddsOffset, 1e6);
    EXPECT_EQ(cfg.adcStep, -1000.0f);
    EXPECT_EQ(cfg.adcOffset, 1000.0f);
    EXPECT_EQ(cfg.commPort, 1);
    // Start outside the DDS limits goes to the lowest frequency; the range no longer
    // overflows the step computation.
    EXPECT_EQ(cfg.freqStart, 0);
    EXPECT_EQ(cfg.freqStop, 0);
    EXPECT_EQ(cfg.maxScaleV, 0.001f);
    EXPECT_EQ(cfg.maxScaleVText, QString("0") + GetParam().decimalPoint() + "001");
    EXPECT_EQ(cfg.maxScaleDb, -90);
    EXPECT_EQ(cfg.maxScaleDbText, QString("-90"));
    EXPECT_EQ(cfg.pot2Value, 255);
    const QByteArray after = readBytes(s.path());
    EXPECT_TRUE(after.contains("DDS Max freq=-2147483648\n"));
    EXPECT_TRUE(after.contains("Start=-2147483648\n"));

    writeBytes(s.path(), "[Config]\nDDS Max freq=60000000\nDDS Min freq=10\n"
                         "[Sweep Generator]\nStart=1000000\nStop=-2147483648\n");
    cfg.readDdsParameters();
    cfg.readMainWindowState();
    EXPECT_EQ(cfg.freqStart, 1000000);
    EXPECT_EQ(cfg.freqStop, 0);
}

TEST_P(SweepConfigRead, StartRemovesTheTemporariesOfAnInterruptedSave) {
    writeBytes(s.path(), "[Config]\nInterface=2\n");
    writeBytes(s.path() + ".tmp-a1B2c3", "[Config]\nInter");
    writeBytes(s.path() + ".tmp-notours", "mine");
    writeBytes(s.dir() + "/Other.ini.tmp-a1B2c3", "other");
    cfg.removeObsoleteSections();
    EXPECT_EQ(QDir(s.dir()).entryList(QDir::Files | QDir::Hidden),
              QStringList({"Other.ini.tmp-a1B2c3", "Sweep.ini", "Sweep.ini.tmp-notours"}));
    EXPECT_EQ(readBytes(s.path()), QByteArray("[Config]\nInterface=2\n"));
}

TEST_P(SweepConfigRead, MembersStartWithTheDefaultsAnEmptyFileGives) {
    static_assert(ConfigKeys::kLpt.defaultAs<int>() == 888);
    static_assert(ConfigKeys::kMaxScaleV.defaultAs<double>() == 1.5);
    static_assert(ConfigKeys::kMaxScaleDb.defaultAs<int>() == -40);
    writeBytes(s.path(), "[Aux2]\nEnabled=1\n");
    cfg.readAll();
    const SweepConfig fresh;
    const auto numbers = [](const SweepConfig& c) {
        return std::vector<double>{double(c.interfaccia), double(c.ddsMultiplier),
                                   double(c.ddsClock),    double(c.ddsMaxFreq),
                                   double(c.ddsMinFreq),  c.ddsOffset,
                                   c.adcOffset,           c.adcStep,
                                   double(c.adcChannel),  double(c.logEnabled),
                                   double(c.usbApi),      double(c.slowCpu),
                                   double(c.lptAddress),  double(c.commPort),
                                   double(c.scala),       double(c.freqStart),
                                   double(c.freqStop),    double(c.vistaCorrente),
                                   c.maxScaleV,           double(c.maxScaleDb),
                                   double(c.sweepMode),   double(c.cursorMode),
                                   double(c.aux1Value),   double(c.aux2Value),
                                   double(c.pot2Value)};
    };
    const auto texts = [](const SweepConfig& c) {
        return QStringList{c.ddsDevice,      c.adcDevice,      c.lptDriver,
                           c.serialSettings, c.serialDevice,   c.simDut,
                           c.marker1,        c.marker2,        c.marker3,
                           c.marker4,        c.maxScaleDbText, normalizzaNumero(c.maxScaleVText)};
    };
    EXPECT_EQ(numbers(fresh), numbers(cfg));
    EXPECT_EQ(texts(fresh), texts(cfg));
    const AuxConfig read = cfg.readAux(2);
    const AuxConfig start;
    EXPECT_EQ(std::vector<int>({start.potMax, start.potMin, start.i2cControl, start.i2cCommand}),
              std::vector<int>({read.potMax, read.potMin, read.i2cControl, read.i2cCommand}));
    EXPECT_EQ(read.title, "Aux 2");
    EXPECT_EQ(read.stepLabel[7] + ";" + read.stepValueText[7], "dB 80;80");
}

INSTANTIATE_TEST_SUITE_P(Locales, SweepConfigRead,
                         ::testing::Values(LocaleGuard::english(), LocaleGuard::german()),
                         [](const auto& info) {
                             return info.param.bcp47Name().replace('-', '_').toStdString();
                         });

} // namespace
