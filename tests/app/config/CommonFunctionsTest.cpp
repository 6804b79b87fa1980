#include "CommonFunctions.h"

#include "LocaleGuard.h"
#include "ScratchFiles.h"

#include <QFileInfo>
#include <cmath>
#include <gtest/gtest.h>

namespace {

TEST(LeggiIni, MissingOrEmptyKeyGivesTheDefaultAndWritesItBack) {
    ScratchIni s;
    EXPECT_EQ(leggiINI("Config", "Interface", s.path(), "2"), "2");
    EXPECT_EQ(readLines(s.path()), QStringList({"[Config]", "Interface=2"}));

    writeBytes(s.path(), "[Config]\nInterface=\nDDS Device=   \nADC Device=8bit\n");
    EXPECT_EQ(leggiINI("Config", "Interface", s.path(), "2"), "2");
    EXPECT_EQ(leggiINI("config", "dds device", s.path(), "AD9850"), "AD9850");
    EXPECT_EQ(leggiINI("Config", "ADC Device", s.path(), "10bit"), "8bit");
    // Rewritten in place, nothing duplicated.
    EXPECT_EQ(readLines(s.path()),
              QStringList({"[Config]", "Interface=2", "DDS Device=AD9850", "ADC Device=8bit"}));
}

TEST(LeggiIni, ReadsAtMost254Characters) {
    ScratchIni s;
    writeBytes(s.path(), "[Aux1]\nTitle=" + QByteArray(300, 'a') + "\n");
    EXPECT_EQ(leggiINI("Aux1", "Title", s.path(), "Aux 1"), QString(254, QLatin1Char('a')));
}

TEST(ProbeIni, AnswersPresenceAndWritesNothing) {
    ScratchIni s;
    EXPECT_FALSE(probeINI("Config", "DDS Device", s.path()));
    EXPECT_FALSE(QFileInfo::exists(s.path()));
    writeBytes(s.path(), "[Config]\nDDS Device=\n[Interface2]\nDDS Device=AD9851\n");
    const QByteArray before = readBytes(s.path());
    EXPECT_FALSE(probeINI("Config", "DDS Device", s.path()));
    EXPECT_TRUE(probeINI("interface2", "dds device", s.path()));
    EXPECT_FALSE(probeINI("Interface3", "DDS Device", s.path()));
    EXPECT_EQ(readBytes(s.path()), before);
}

TEST(ScriviLog, OnlyWhenEnabledAndInOrder) {
    QStringList lines;
    setLogSink([&lines](const QString& l) { lines << l; });
    setLogEnabled(false);
    scriviLog("hidden");
    EXPECT_TRUE(lines.isEmpty());
    setLogEnabled(true);
    EXPECT_TRUE(logEnabled());
    scriviLog("0 L> uno");
    scriviLog("3 L> due");
    setLogEnabled(false);
    scriviLog("after");
    setLogSink({});
    EXPECT_EQ(lines, QStringList({"0 L> uno", "3 L> due"}));
    setLogEnabled(true);
    scriviLog("no sink, no crash");
    setLogEnabled(false);
}

TEST(DecimalSeparator, NormalisesEitherConventionToTheLocale) {
    {
        LocaleGuard guard(LocaleGuard::german());
        EXPECT_EQ(separatoreDecimale(), QLatin1Char(','));
        EXPECT_EQ(normalizzaNumero("1.5"), "1,5");
        EXPECT_EQ(normalizzaNumero("1,5"), "1,5");
    }
    {
        LocaleGuard guard(LocaleGuard::english());
        EXPECT_EQ(separatoreDecimale(), QLatin1Char('.'));
        EXPECT_EQ(normalizzaNumero("1,5"), "1.5");
        EXPECT_EQ(normalizzaNumero("-0.25"), "-0.25");
    }
}

TEST(VoltDb, ConversionsPerScale) {
    EXPECT_DOUBLE_EQ(voltToDb(1.0, 1), 0.0);
    EXPECT_DOUBLE_EQ(voltToDb(1.0, 3), -20.0);
    EXPECT_DOUBLE_EQ(voltToDb(0.0, 1), -100.0);
    EXPECT_DOUBLE_EQ(voltToDb(0.0, 3), -100.0);
    EXPECT_DOUBLE_EQ(voltToDb(-0.2, 2), -100.0);
    EXPECT_DOUBLE_EQ(voltToDb(std::nan(""), 1), -100.0);
    EXPECT_DOUBLE_EQ(voltToDb(0.5, 1), -6.02);
    EXPECT_DOUBLE_EQ(voltToDb(0.5, 2), -6.02);
    EXPECT_DOUBLE_EQ(voltToDb(5.0, 4), -6.02);
    EXPECT_DOUBLE_EQ(voltToDb(-3.0, 0), -3.0);

    EXPECT_DOUBLE_EQ(dbToVolt(-6.02, 1), 0.5);
    EXPECT_DOUBLE_EQ(dbToVolt(-6.02, 3), 5.0);
    EXPECT_DOUBLE_EQ(dbToVolt(-6.02, 4), 5.0);
    EXPECT_DOUBLE_EQ(dbToVolt(2.0, 0), 2.0);
    EXPECT_DOUBLE_EQ(dbToVolt(-6.02, 7), 0.0);
    EXPECT_DOUBLE_EQ(dbToVolt(-40.0, 1), 0.01);
}

} // namespace
