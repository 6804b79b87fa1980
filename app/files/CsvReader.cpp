#include "CsvReader.h"

#include <array>
#include <charconv>
#include <cmath>

namespace {

constexpr int kFields = 4;
// Longest piece of a bad field quoted back in an error: lines may be megabytes long.
constexpr qsizetype kShownField = 24;

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

QByteArrayView trimmed(QByteArrayView v) {
    while (!v.isEmpty() && isBlank(v.front()))
        v = v.sliced(1);
    while (!v.isEmpty() && isBlank(v.back()))
        v.chop(1);
    return v;
}

// The first fields of one line, split at commas outside double quotes, quotes and the blanks
// around each field removed. Returns how many fields the line has, up to kFields.
int splitFields(QByteArrayView line, std::array<QByteArrayView, kFields>& fields) {
    int n = 0;
    qsizetype pos = 0;
    while (n < kFields) {
        while (pos < line.size() && isBlank(line[pos]))
            ++pos;
        qsizetype end = pos;
        if (pos < line.size() && line[pos] == '"') {
            const qsizetype close = line.indexOf('"', pos + 1);
            const qsizetype stop = close < 0 ? line.size() : close;
            fields[n++] = trimmed(line.sliced(pos + 1, stop - pos - 1));
            // Anything between the closing quote and the next comma is dropped.
            end = stop;
            while (end < line.size() && line[end] != ',')
                ++end;
        } else {
            while (end < line.size() && line[end] != ',')
                ++end;
            fields[n++] = trimmed(line.sliced(pos, end - pos));
        }
        if (end >= line.size())
            break;
        pos = end + 1;
    }
    return n;
}

// A decimal number with '.' as point and an optional sign and exponent; nothing else.
std::optional<double> fileNumber(QByteArrayView v) {
    const char* begin = v.data();
    const char* end = begin + v.size();
    if (begin != end && *begin == '+') {
        ++begin;
        if (begin != end && *begin == '-')
            return std::nullopt;
    }
    if (begin == end)
        return std::nullopt;
    double value = 0;
    const auto [stop, ec] = std::from_chars(begin, end, value, std::chars_format::general);
    // from_chars also takes "inf" and "nan", which no sweep holds.
    if (ec != std::errc() || stop != end || !std::isfinite(value))
        return std::nullopt;
    return value;
}

QString shown(QByteArrayView field) {
    QString text = QString::fromLatin1(field.first(std::min(field.size(), kShownField)));
    for (QChar& c : text)
        if (c.unicode() < 0x20 || (c.unicode() >= 0x7f && c.unicode() < 0xa0))
            c = QLatin1Char('?');
    if (field.size() > kShownField)
        text += QStringLiteral("...");
    return QLatin1Char('"') + text + QLatin1Char('"');
}

// Walks the text line by line; a line ends at LF, CR or CR LF.
class Lines {
public:
    explicit Lines(QByteArrayView text) : m_text(text) {}

    bool next(QByteArrayView& line) {
        if (m_pos >= m_text.size())
            return false;
        ++m_number;
        qsizetype end = m_pos;
        while (end < m_text.size() && m_text[end] != '\n' && m_text[end] != '\r')
            ++end;
        line = m_text.sliced(m_pos, end - m_pos);
        m_pos = end;
        if (m_pos < m_text.size()) {
            ++m_pos;
            if (m_text[end] == '\r' && m_pos < m_text.size() && m_text[m_pos] == '\n')
                ++m_pos;
        }
        return true;
    }
    // The number of the line just returned, from 1 (0 before the first).
    qsizetype number() const { return m_number; }

private:
    QByteArrayView m_text;
    qsizetype m_pos = 0;
    qsizetype m_number = 0;
};

CsvReadResult refused(qsizetype line, const QString& what) {
    CsvReadResult r;
    r.line = line;
    r.error = what;
    return r;
}

} // namespace

CsvReadResult readSweepCsv(QByteArrayView text) {
    Lines lines(text);
    QByteArrayView line;
    bool header = true;
    CsvSweep sweep{};
    std::array<bool, kCsvRows> given{};
    for (;;) {
        if (!lines.next(line))
            return refused(lines.number() + 1, QStringLiteral("the file ends before row 400"));
        if (trimmed(line).isEmpty())
            continue;
        if (header) {
            header = false;
            continue;
        }
        std::array<QByteArrayView, kFields> f;
        const int n = splitFields(line, f);
        if (n < kFields)
            return refused(lines.number(),
                           QStringLiteral("only %1 of the 4 fields (row number, frequency, DAC "
                                          "sample, milliVolt)")
                               .arg(n));
        const auto row = fileNumber(f[0]);
        if (!row)
            return refused(lines.number(),
                           QStringLiteral("the row number %1 is not a number").arg(shown(f[0])));
        // A row number with decimals goes to the nearest row, halves to even.
        const double r = std::nearbyint(*row);
        if (r < 1 || r > kCsvRows)
            return refused(
                lines.number(),
                QStringLiteral("the row number %1 is outside 1 to 400").arg(shown(f[0])));
        const auto frequency = fileNumber(f[1]);
        if (!frequency)
            return refused(lines.number(),
                           QStringLiteral("the frequency %1 is not a number").arg(shown(f[1])));
        // The window takes the range as 32-bit whole hertz.
        if (std::round(*frequency) < -2147483648.0 || std::round(*frequency) > 2147483647.0)
            return refused(
                lines.number(),
                QStringLiteral("the frequency %1 is outside -2147483648 to 2147483647 Hz")
                    .arg(shown(f[1])));
        const auto raw = fileNumber(f[2]);
        if (!raw)
            return refused(lines.number(),
                           QStringLiteral("the DAC sample %1 is not a number").arg(shown(f[2])));
        const auto millivolts = fileNumber(f[3]);
        if (!millivolts)
            return refused(
                lines.number(),
                QStringLiteral("the milliVolt value %1 is not a number").arg(shown(f[3])));
        const int index = static_cast<int>(r) - 1;
        sweep[index] = {*frequency, *raw, *millivolts / 1000.0};
        given[index] = true;
        if (index == kCsvRows - 1)
            break;
    }
    // Reading ended on row 400; a row the file skipped would keep whatever was shown before.
    for (int i = 0; i < kCsvRows; ++i)
        if (!given[i])
            return refused(lines.number(),
                           QStringLiteral("row %1 is missing before row 400").arg(i + 1));
    CsvReadResult r;
    r.sweep = sweep;
    return r;
}
