#include "IniFile.h"

#include "LocaleGuard.h"
#include "ScratchFiles.h"

#include <QDir>
#include <QFileInfo>
#include <csignal>
#include <cstring>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace {

TEST(IniFile, NamesCompareWithoutCase) {
    ScratchIni s;
    IniFile ini(s.path());
    ASSERT_TRUE(ini.setValue("Config", "DDS Max freq", "60000000"));
    ASSERT_TRUE(ini.setValue("CONFIG", "DDS Max Freq", "50000000"));
    EXPECT_EQ(ini.value("config", "dds max FREQ"), QString("50000000"));
    // One section, one key, with the spelling first written.
    EXPECT_EQ(readLines(s.path()), QStringList({"[Config]", "DDS Max freq=50000000"}));
}

TEST(IniFile, MissingFileSectionOrKeyAndFirstWriteCreatesThem) {
    ScratchIni s;
    const QString path = s.dir() + "/sub/Sweep.ini";
    IniFile ini(path);
    EXPECT_EQ(ini.value("Config", "Interface"), std::nullopt);
    EXPECT_FALSE(QFileInfo::exists(path)); // reading creates nothing
    ASSERT_TRUE(ini.setValue("Config", "Interface", "2"));
    ASSERT_TRUE(ini.setValue("Debug", "Log", "0"));
    EXPECT_EQ(readLines(path), QStringList({"[Config]", "Interface=2", "[Debug]", "Log=0"}));
    EXPECT_EQ(ini.value("Config", "Log"), std::nullopt);
    EXPECT_EQ(ini.value("Nope", "Log"), std::nullopt);
}

TEST(IniFile, ValuesAreTrimmedAndCutTo254Characters) {
    ScratchIni s;
    const QString longValue(300, QLatin1Char('x'));
    writeBytes(s.path(),
               "[A]\n  Key  =  spaced value  \nEmpty=\nLong=" + longValue.toLatin1() + "\n");
    IniFile ini(s.path());
    EXPECT_EQ(ini.value("A", "Key"), QString("spaced value"));
    EXPECT_EQ(ini.value("A", "Empty"), QString(""));
    EXPECT_FALSE(ini.hasValue("A", "Empty"));
    EXPECT_EQ(ini.value("A", "Long")->size(), 254);
    // Writing keeps the whole value; only reading is limited.
    ASSERT_TRUE(ini.setValue("A", "Long2", longValue));
    EXPECT_TRUE(readBytes(s.path()).contains(longValue.toLatin1()));
}

TEST(IniFile, OrderCommentsAndUnknownLinesAreKept) {
    ScratchIni s;
    writeBytes(s.path(), "; Sweep settings\r\n"
                         "[Config]\r\n"
                         "Interface=1\r\n"
                         "; a comment\r\n"
                         "strange line\r\n"
                         "\r\n"
                         "[Debug]\r\n"
                         "Log=0\r\n");
    IniFile ini(s.path());
    ASSERT_TRUE(ini.setValue("Config", "DDS Device", "AD9851"));
    ASSERT_TRUE(ini.setValue("config", "interface", "3"));
    ASSERT_TRUE(ini.setValue("Sweep Generator", "Start", "100"));
    // CRLF files stay CRLF; a new key goes after the last line of its section, before
    // the blank line; a new section goes at the end.
    EXPECT_EQ(readBytes(s.path()), QByteArray("; Sweep settings\r\n"
                                              "[Config]\r\n"
                                              "Interface=3\r\n"
                                              "; a comment\r\n"
                                              "strange line\r\n"
                                              "DDS Device=AD9851\r\n"
                                              "\r\n"
                                              "[Debug]\r\n"
                                              "Log=0\r\n"
                                              "[Sweep Generator]\r\n"
                                              "Start=100\r\n"));
    EXPECT_EQ(ini.sections(), QStringList({"Config", "Debug", "Sweep Generator"}));
    EXPECT_EQ(ini.keys("CONFIG"), QStringList({"Interface", "DDS Device"}));
}

TEST(IniFile, FirstOfDuplicateSectionsAndKeysWins) {
    ScratchIni s;
    writeBytes(s.path(), "[A]\nk=1\nk=2\n[B]\nk=3\n[a]\nk=4\n");
    IniFile ini(s.path());
    EXPECT_EQ(ini.value("A", "K"), QString("1"));
    ASSERT_TRUE(ini.setValue("a", "k", "9"));
    EXPECT_EQ(readLines(s.path()), QStringList({"[A]", "k=9", "k=2", "[B]", "k=3", "[a]", "k=4"}));
}

TEST(IniFile, SectionRemoval) {
    ScratchIni s;
    writeBytes(s.path(), "[Config]\nInterface=2\n[Attenuator]\nx=1\n; old\n\n[Debug]\nLog=1\n");
    IniFile ini(s.path());
    ASSERT_TRUE(ini.removeSection("ATTENUATOR"));
    EXPECT_EQ(readLines(s.path()), QStringList({"[Config]", "Interface=2", "[Debug]", "Log=1"}));
    EXPECT_TRUE(ini.removeSection("Attenuator")); // already gone: nothing to do
    ASSERT_TRUE(ini.removeKey("debug", "LOG"));
    EXPECT_EQ(readLines(s.path()), QStringList({"[Config]", "Interface=2", "[Debug]"}));

    const QString missing = s.dir() + "/none.ini";
    EXPECT_TRUE(IniFile(missing).removeSection("Attenuator"));
    EXPECT_FALSE(QFileInfo::exists(missing));
}

TEST(IniFile, LineBreaksCannotInjectSectionsOrKeys) {
    ScratchIni s;
    IniFile ini(s.path());
    ASSERT_TRUE(ini.setValue("Aux1", "Title", "Att\n[Config]\r\nInterface=9"));
    EXPECT_EQ(ini.sections(), QStringList({"Aux1"}));
    EXPECT_EQ(ini.value("Config", "Interface"), std::nullopt);
    EXPECT_EQ(readLines(s.path()).size(), 2);
}

TEST(IniFile, AtomicWriteKeepsPermissionsAndLeavesNoTemporaries) {
    ScratchIni s;
    writeBytes(s.path(), "[Config]\nInterface=2\n");
    QFile::setPermissions(s.path(), QFile::ReadOwner | QFile::WriteOwner);
    IniFile ini(s.path());
    ASSERT_TRUE(ini.setValue("Config", "DDS Device", "AD9850"));
    const QFile::Permissions perms = QFile::permissions(s.path());
    EXPECT_TRUE(perms.testFlags(QFile::ReadOwner | QFile::WriteOwner));
    EXPECT_FALSE(perms &
                 (QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther));
    EXPECT_EQ(QDir(s.dir()).entryList(QDir::Files | QDir::Hidden), QStringList({"Sweep.ini"}));
}

TEST(IniFile, UnreadableFileIsNeverReplaced) {
    // A path that exists but cannot be read as a file: writing must fail, not start afresh.
    ScratchIni s;
    ASSERT_TRUE(QDir().mkpath(s.path()));
    IniFile ini(s.path());
    EXPECT_FALSE(ini.setValue("Config", "Interface", "2"));
    EXPECT_FALSE(ini.errorString().isEmpty());
    EXPECT_TRUE(QFileInfo(s.path()).isDir());
}

TEST(IniFile, TwoWritersKeepEachOthersKeys) {
    ScratchIni s;
    IniFile dialog(s.path());
    IniFile window(s.path());
    ASSERT_TRUE(dialog.setValue("Config", "Interface", "1"));
    ASSERT_TRUE(window.setValue("Sweep Generator", "Start", "5"));
    ASSERT_TRUE(dialog.setValue("Config", "DDS Device", "AD9951"));
    EXPECT_EQ(window.value("Config", "Interface"), QString("1"));
    EXPECT_EQ(dialog.value("Sweep Generator", "Start"), QString("5"));
    EXPECT_EQ(window.value("Config", "DDS Device"), QString("AD9951"));
}

TEST(IniFile, EightBitFilesFromWindowsAreRead) {
    ScratchIni s;
    writeBytes(s.path(), QByteArray("[Aux1]\nTitle=D\xe4mpfung\n"));
    EXPECT_EQ(IniFile(s.path()).value("Aux1", "Title"), QString::fromUtf8("Dämpfung"));
}

TEST(IniFile, UntouchedLinesKeepTheirBytesWhateverTheirEncoding) {
    // UTF-8 with a byte-order mark, one Latin-1 line from a Windows editor, mixed line ends
    // and no line end after the last line.
    const QByteArray utf8Title("Title=Filtre \xc3\xa0 50 \xce\xa9");
    const QByteArray old = QByteArray("\xef\xbb\xbf[Aux1]\r\n") + utf8Title +
                           "\r\n"
                           "[Aux2]\nTitle=D\xe4mpfung\n; \xc2\xb5V \x80 notes\n"
                           "[Sweep Generator]\nStart=1000000\nStop=2000000";
    ScratchIni s;
    writeBytes(s.path(), old);
    IniFile ini(s.path());
    // The mark does not hide the first section; each line is read in its own encoding.
    EXPECT_EQ(ini.value("Aux1", "Title"), QString::fromUtf8("Filtre \u00e0 50 \u03a9"));
    EXPECT_EQ(ini.value("Aux2", "Title"), QString::fromUtf8("D\u00e4mpfung"));
    ASSERT_TRUE(ini.setValue("Sweep Generator", "Start", "3000000"));
    ASSERT_TRUE(ini.setValue("Aux2", "Enabled", QString::fromUtf8("\u00e9")));
    EXPECT_EQ(readBytes(s.path()), QByteArray("\xef\xbb\xbf[Aux1]\r\n") + utf8Title +
                                       "\r\n"
                                       "[Aux2]\nTitle=D\xe4mpfung\n; \xc2\xb5V \x80 notes\n"
                                       "Enabled=\xc3\xa9\r\n"
                                       "[Sweep Generator]\nStart=3000000\nStop=2000000");
    EXPECT_EQ(IniFile(s.path()).value("Aux2", "Enabled"), QString::fromUtf8("\u00e9"));
}

TEST(IniFile, BatchReplacesTheFileOnceAndSeesItsOwnChanges) {
    ScratchIni s;
    writeBytes(s.path(), "[Config]\nInterface=2\n");
    IniFile ini(s.path());
    ini.beginBatch();
    ASSERT_TRUE(ini.setValue("Sweep Generator", "Start", "5"));
    ASSERT_TRUE(ini.removeSection("Config"));
    EXPECT_EQ(ini.value("Sweep Generator", "Start"), QString("5"));
    EXPECT_EQ(readBytes(s.path()), QByteArray("[Config]\nInterface=2\n")); // not yet
    ASSERT_TRUE(ini.commit());
    EXPECT_EQ(readBytes(s.path()), QByteArray("[Sweep Generator]\nStart=5\n"));
    // Another program rewrites the file: the next read sees it.
    writeBytes(s.path(), "[Sweep Generator]\nStart=7\n");
    EXPECT_EQ(ini.value("Sweep Generator", "Start"), QString("7"));
}

TEST(IniFile, FailedSaveNamesTheFileAndTheSystemsReasonAndKeepsTheOldFile) {
    ScratchIni s;
    // A folder that is a file (chmod stops nobody when the tests run as root).
    writeBytes(s.dir() + "/blocked", "");
    const QString blocked = s.dir() + "/blocked/Sweep.ini";
    IniFile nowhere(blocked);
    EXPECT_FALSE(nowhere.setValue("Config", "Interface", "2"));
    EXPECT_EQ(nowhere.error().file, blocked);
    EXPECT_EQ(nowhere.error().reason, QString::fromLocal8Bit(std::strerror(ENOTDIR)));
    EXPECT_TRUE(nowhere.errorString().contains(blocked));

    // A disk that fills up during the write: the old file stays, no temporary is left.
    writeBytes(s.path(), "[Config]\nInterface=2\n");
    IniFile ini(s.path());
    ini.beginBatch();
    ASSERT_TRUE(ini.setValue("Aux1", "Title", QString(100000, QLatin1Char('x'))));
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 4096;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = ini.commit();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(written);
    EXPECT_EQ(ini.error().file, s.path());
    EXPECT_EQ(ini.error().reason, QString::fromLocal8Bit(std::strerror(EFBIG)));
    EXPECT_EQ(readBytes(s.path()), QByteArray("[Config]\nInterface=2\n"));
    EXPECT_EQ(ini.value("Aux1", "Title"), std::nullopt); // what failed is not pretended
    EXPECT_EQ(QDir(s.dir()).entryList(QDir::Files | QDir::Hidden),
              QStringList({"blocked", "Sweep.ini"}));
}

} // namespace
