#include "NumberParse.h"

#include <QLocale>
#include <cmath>

namespace {

bool isDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

int hexValue(QChar c) {
    if (isDigit(c))
        return c.unicode() - '0';
    const char16_t l = QChar::toLower(c.unicode());
    if (l >= u'a' && l <= u'f')
        return l - u'a' + 10;
    return -1;
}

std::optional<double> finiteOrNothing(const QByteArray& ascii) {
    bool ok = false;
    const double v = QLocale::c().toDouble(QString::fromLatin1(ascii), &ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

// Reads digits of the given base from text at pos; returns the value and the count read.
double readRadix(const QString& text, qsizetype& pos, int base, int& count) {
    double v = 0;
    count = 0;
    while (pos < text.size()) {
        const int d = hexValue(text[pos]);
        if (d < 0 || d >= base)
            break;
        v = v * base + d;
        ++pos;
        ++count;
    }
    return v;
}

} // namespace

std::optional<double> parseNumber(const QString& text, ParseFlags flags) {
    const QString s = text.trimmed();
    if (s.isEmpty())
        return std::nullopt;
    const QLocale locale;
    const QString point = locale.decimalPoint();
    const QString group = locale.groupSeparator();
    const QString minus = locale.negativeSign();
    const QString plus = locale.positiveSign();

    qsizetype pos = 0;
    bool negative = false;
    if (s.startsWith(QLatin1Char('-')) || (!minus.isEmpty() && s.startsWith(minus))) {
        negative = true;
        pos = s.startsWith(QLatin1Char('-')) ? 1 : minus.size();
    } else if (s.startsWith(QLatin1Char('+')) || (!plus.isEmpty() && s.startsWith(plus))) {
        pos = s.startsWith(QLatin1Char('+')) ? 1 : plus.size();
    }

    if (s.mid(pos, 2).compare(QLatin1String("&H"), Qt::CaseInsensitive) == 0) {
        pos += 2;
        int count = 0;
        const double v = readRadix(s, pos, 16, count);
        if (count == 0 || pos != s.size() || !std::isfinite(v))
            return std::nullopt;
        return negative ? -v : v;
    }

    QByteArray ascii = negative ? "-" : "";
    int mantissaDigits = 0;
    while (pos < s.size()) {
        if (isDigit(s[pos])) {
            ascii += char(s[pos].unicode());
            ++mantissaDigits;
            ++pos;
        } else if ((flags & ParseFlag::AllowGroupSeparator) && mantissaDigits > 0 &&
                   !group.isEmpty() && s.mid(pos, group.size()) == group &&
                   pos + group.size() < s.size() && isDigit(s[pos + group.size()])) {
            pos += group.size();
        } else {
            break;
        }
    }
    if (pos < s.size() && s.mid(pos, point.size()) == point) {
        pos += point.size();
        ascii += '.';
        while (pos < s.size() && isDigit(s[pos])) {
            ascii += char(s[pos].unicode());
            ++mantissaDigits;
            ++pos;
        }
    }
    if (mantissaDigits == 0)
        return std::nullopt;
    if (pos < s.size() && (s[pos] == QLatin1Char('e') || s[pos] == QLatin1Char('E'))) {
        ++pos;
        ascii += 'e';
        if (pos < s.size() && (s[pos] == QLatin1Char('+') || s[pos] == QLatin1Char('-')))
            ascii += char(s[pos++].unicode());
        int expDigits = 0;
        while (pos < s.size() && isDigit(s[pos])) {
            ascii += char(s[pos++].unicode());
            ++expDigits;
        }
        if (expDigits == 0)
            return std::nullopt;
    }
    if (pos != s.size())
        return std::nullopt;
    return finiteOrNothing(ascii);
}

double leadingNumber(const QString& text) {
    // Val ignores blanks, tabs and line breaks anywhere in the text.
    QString s;
    s.reserve(text.size());
    for (const QChar c : text) {
        if (c != QLatin1Char(' ') && c != QLatin1Char('\t') && c != QLatin1Char('\n') &&
            c != QLatin1Char('\r'))
            s += c;
    }
    qsizetype pos = 0;
    bool negative = false;
    if (pos < s.size() && (s[pos] == QLatin1Char('-') || s[pos] == QLatin1Char('+')))
        negative = s[pos++] == QLatin1Char('-');

    if (pos + 1 < s.size() && s[pos] == QLatin1Char('&')) {
        const QChar kind = s[pos + 1].toUpper();
        const int base = kind == QLatin1Char('H') ? 16 : kind == QLatin1Char('O') ? 8 : 0;
        if (base == 0)
            return 0.0;
        pos += 2;
        int count = 0;
        const double v = readRadix(s, pos, base, count);
        if (!std::isfinite(v))
            return 0.0;
        return negative ? -v : v;
    }

    QByteArray ascii = negative ? "-" : "";
    int digits = 0;
    while (pos < s.size() && isDigit(s[pos])) {
        ascii += char(s[pos++].unicode());
        ++digits;
    }
    if (pos < s.size() && s[pos] == QLatin1Char('.')) {
        ++pos;
        ascii += '.';
        while (pos < s.size() && isDigit(s[pos])) {
            ascii += char(s[pos++].unicode());
            ++digits;
        }
    }
    if (digits == 0)
        return 0.0;
    if (pos < s.size() && (s[pos] == QLatin1Char('e') || s[pos] == QLatin1Char('E'))) {
        qsizetype p = pos + 1;
        QByteArray exp = "e";
        if (p < s.size() && (s[p] == QLatin1Char('+') || s[p] == QLatin1Char('-')))
            exp += char(s[p++].unicode());
        int expDigits = 0;
        while (p < s.size() && isDigit(s[p])) {
            exp += char(s[p++].unicode());
            ++expDigits;
        }
        if (expDigits > 0)
            ascii += exp;
    }
    return finiteOrNothing(ascii).value_or(0.0);
}
