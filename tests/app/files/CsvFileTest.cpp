// The sweep file as bytes: the written layout, reading back under any locale, files written by
// other programs, and refused, truncated or random input that must never yield half a sweep.
#include "CsvReader.h"
#include "CsvWriter.h"
#include "LocaleGuard.h"
#include "SafeSave.h"

#include <QFile>
#include <QList>
#include <QTemporaryDir>
#include <clocale>
#include <gtest/gtest.h>
#include <random>

namespace {

// Row i: 1,000,000 + 10,000 (i - 1) Hz, raw i - 1, raw x 5 mV.
CsvSweep ramp() {
    CsvSweep s;
    for (int i = 0; i < kCsvRows; ++i)
        s[i] = {1000000.0 + 10000.0 * i, double(i), i * 0.005};
    return s;
}

// The data lines of ramp(), the way another program might write them.
QList<QByteArray> rampLines() {
    QList<QByteArray> lines{"\"Sample N\",\"Frequency\",\"DAC sample\",\"milliVolt\""};
    for (int i = 0; i < kCsvRows; ++i)
        lines << QByteArray::number(i + 1) + ',' + QByteArray::number(1000000 + 10000 * i) + ',' +
                     QByteArray::number(i) + ',' + QByteArray::number(5 * i);
    return lines;
}

void expectRefused(const CsvReadResult& r, int line, const char* what) {
    EXPECT_FALSE(r.sweep.has_value()) << what;
    EXPECT_EQ(r.line, line) << what;
    EXPECT_TRUE(r.error.contains(QLatin1String(what))) << r.error.toStdString();
}

} // namespace

// The C library's locale too, where it is installed: strtod or printf would follow it.
TEST(CsvFile, WritesOneCrLfLayoutAndReadsItBackUnderAPointAndACommaLocale) {
    CsvSweep s = ramp();
    s[0] = {1000000, 512, 1.250};
    s[1] = {1010000.5, 3, 0.0015};
    s[2] = {2147483647, 1023, -0.25};
    s[3] = {1030000, 12.5, 1e-8};
    QByteArray text;
    for (const QLocale& locale : {LocaleGuard::english(), LocaleGuard::german()}) {
        LocaleGuard guard(locale);
        std::setlocale(LC_ALL, locale.language() == QLocale::German ? "de_DE.UTF-8" : "C");
        const QByteArray written = writeSweepCsv(s);
        const CsvReadResult r = readSweepCsv(written);
        std::setlocale(LC_ALL, "C");
        EXPECT_TRUE(text.isEmpty() || written == text);
        text = written;
        ASSERT_TRUE(r.sweep.has_value()) << r.error.toStdString();
        for (int i = 0; i < kCsvRows; ++i) {
            EXPECT_DOUBLE_EQ((*r.sweep)[i].frequency, s[i].frequency) << i;
            EXPECT_DOUBLE_EQ((*r.sweep)[i].raw, s[i].raw) << i;
            EXPECT_DOUBLE_EQ((*r.sweep)[i].volts, s[i].volts) << i;
        }
    }
    EXPECT_EQ(text.count("\r\n"), 401);
    EXPECT_EQ(text.count('\n'), 401);
    ASSERT_TRUE(text.endsWith("\r\n"));
    const QList<QByteArray> lines = text.chopped(2).split('\n');
    ASSERT_EQ(lines.size(), 401);
    EXPECT_EQ(lines[0], "\"Sample N\",\"Frequency\",\"DAC sample\",\"milliVolt\"\r");
    EXPECT_EQ(lines[1], "1,1000000,512,1250\r");
    EXPECT_EQ(lines[2], "2,1010000.5,3,1.5\r");
    EXPECT_EQ(lines[3], "3,2147483647,1023,-250\r");
    EXPECT_EQ(lines[4], "4,1030000,12.5,1E-05\r");
    EXPECT_EQ(lines[400], "400,4990000,399,1995");
}

TEST(CsvFile, ReadsFilesFromOtherProgramsByTheirRowNumbers) {
    QList<QByteArray> lines = rampLines();
    lines[0] = "Sample,Freq,Raw,mV";
    lines[1] = "  \"1\" , \"1000000.5\" ,\"7\", 35.25 ,extra,\"fields\"";
    lines[2] = "2,1.01E6,+8,4e1";
    std::swap(lines[3], lines[4]); // row 4 comes before row 3
    lines.insert(5, "   ");
    lines << "not,a,sweep"
          << "\x01\x02";
    for (const char* eol : {"\n", "\r", "\r\n\r\n"}) {
        const CsvReadResult r = readSweepCsv(lines.join(eol));
        ASSERT_TRUE(r.sweep.has_value()) << eol << r.error.toStdString();
        const CsvSweep& s = *r.sweep;
        EXPECT_DOUBLE_EQ(s[0].frequency, 1000000.5);
        EXPECT_DOUBLE_EQ(s[0].raw, 7);
        EXPECT_DOUBLE_EQ(s[0].volts, 0.03525);
        EXPECT_DOUBLE_EQ(s[1].frequency, 1010000);
        EXPECT_DOUBLE_EQ(s[1].raw, 8);
        EXPECT_DOUBLE_EQ(s[1].volts, 0.04);
        EXPECT_DOUBLE_EQ(s[2].raw, 2);
        EXPECT_DOUBLE_EQ(s[3].raw, 3);
        EXPECT_DOUBLE_EQ(s[399].frequency, 4990000);
    }
}

TEST(CsvFile, RefusesMalformedFilesNamingTheLine) {
    const struct {
        int line; // 1-based line to replace, 0: none
        QByteArray with;
        int errorLine;
        const char* what;
    } cases[] = {
        {3, "2,1010000,1", 3, "only 3 of the 4 fields"},
        {4, "x,1,1,1", 4, "row number \"x\""},
        {4, "0,1,1,1", 4, "outside 1 to 400"},
        {4, "401,1,1,1", 4, "outside 1 to 400"},
        {5, "4,1.0.0,1,1", 5, "frequency \"1.0.0\""},
        {5, "4,3000000000,1,1", 5, "outside -2147483648 to"},
        {6, "5,1,abc,1", 6, "DAC sample \"abc\""},
        {7, "6,1,1,12mV", 7, "milliVolt value"},
        {7, "6,1,1,inf", 7, "milliVolt value"},
        {201, "201,1,1,1", 401, "row 200 is missing"},
        {401, "", 401, "ends before row 400"},
    };
    for (const auto& c : cases) {
        QList<QByteArray> lines = rampLines();
        lines[c.line - 1] = c.with;
        expectRefused(readSweepCsv(lines.join("\r\n")), c.errorLine, c.what);
    }
    expectRefused(readSweepCsv(QByteArray()), 1, "ends before row 400");
}

TEST(CsvFile, GarbageTruncationAndHugeInputNeverYieldHalfASweep) {
    const QByteArray good = writeSweepCsv(ramp());
    const qsizetype lastLine = good.lastIndexOf("\r\n400,");
    for (qsizetype cut = 0; cut <= lastLine; ++cut)
        ASSERT_FALSE(readSweepCsv(good.first(cut)).sweep.has_value()) << cut;

    std::mt19937 random(11);
    const QByteArray alphabet = "0123456789,.\"eE+- \r\n";
    for (int n = 0; n < 2000; ++n) {
        QByteArray bytes = n % 2 ? QByteArray() : good;
        for (int k = std::uniform_int_distribution<>(0, 64)(random); k > 0; --k) {
            const char c = n % 4 < 2 ? alphabet[random() % alphabet.size()] : char(random());
            if (bytes.isEmpty())
                bytes += c;
            else
                bytes[qsizetype(random() % bytes.size())] = c;
            if (n % 2)
                bytes += c;
        }
        const CsvReadResult r = readSweepCsv(bytes);
        ASSERT_EQ(r.sweep.has_value(), r.error.isEmpty()) << n;
        ASSERT_TRUE(r.sweep || r.line >= 1) << n;
    }

    const CsvReadResult longLine =
        readSweepCsv("h\n1,1000000,5," + QByteArray(16 * 1024 * 1024, '9') + "\n");
    expectRefused(longLine, 2, "milliVolt value");
    EXPECT_LT(longLine.error.size(), 200);
    QByteArray million = "h\n";
    for (int i = 0; i < 1000000; ++i)
        million += "1,1,1,1\n";
    expectRefused(readSweepCsv(million), 1000002, "ends before row 400");
}

TEST(CsvFile, SaveReplacesTheWholeFileOrGivesTheReason) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sweep.csv"));
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old content that is longer than the new one");
    old.close();
    old.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    QString reason;
    ASSERT_TRUE(saveReplacing(path, "new", &reason)) << reason.toStdString();
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), "new");
    // Kept from the old file, not the umask's default of a new one (which lets others read).
    EXPECT_EQ(old.permissions() & (QFile::ReadGroup | QFile::ReadOther), QFile::ReadGroup);
    EXPECT_FALSE(saveReplacing(dir.filePath(QStringLiteral("none/sweep.csv")), "new", &reason));
    EXPECT_FALSE(reason.isEmpty());
}
