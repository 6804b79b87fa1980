#include "IniLine.h"

namespace IniLine {

bool isAsciiSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

bool isUtf8(const QByteArray& bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const auto* end = p + bytes.size();
    while (p < end) {
        const unsigned char c = *p;
        if (c < 0x80) {
            ++p;
            continue;
        }
        int more = 0;
        unsigned min = 0;
        unsigned cp = 0;
        if ((c & 0xE0) == 0xC0) {
            more = 1;
            min = 0x80;
            cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            more = 2;
            min = 0x800;
            cp = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            more = 3;
            min = 0x10000;
            cp = c & 0x07;
        } else {
            return false;
        }
        if (end - p <= more)
            return false;
        for (int i = 1; i <= more; ++i) {
            if ((p[i] & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (p[i] & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        p += more + 1;
    }
    return true;
}

QString decode(const QByteArray& bytes) {
    return isUtf8(bytes) ? QString::fromUtf8(bytes) : QString::fromLatin1(bytes);
}

std::optional<QString> sectionOf(const QByteArray& bytes) {
    qsizetype i = 0;
    while (i < bytes.size() && isAsciiSpace(bytes[i]))
        ++i;
    if (i == bytes.size() || (bytes[i] != '[' && uchar(bytes[i]) < 0x80))
        return std::nullopt;
    const QString t = decode(bytes).trimmed();
    if (!t.startsWith(QLatin1Char('[')))
        return std::nullopt;
    const qsizetype close = t.indexOf(QLatin1Char(']'));
    return (close < 0 ? t.mid(1) : t.mid(1, close - 1)).trimmed();
}

std::optional<QString> keyOf(const QByteArray& bytes) {
    const qsizetype eq = bytes.indexOf('=');
    if (eq <= 0)
        return std::nullopt;
    const QString key = decode(bytes.left(eq)).trimmed();
    if (key.isEmpty())
        return std::nullopt;
    return key;
}

bool isBlank(const QByteArray& bytes) {
    for (const char c : bytes)
        if (!isAsciiSpace(c))
            return decode(bytes).trimmed().isEmpty();
    return true;
}

} // namespace IniLine
