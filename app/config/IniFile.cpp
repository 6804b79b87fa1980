#include "IniFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <utility>

struct IniFile::Content {
    QStringList lines;
    bool crlf = false;  // keep the line ends the file came with
    bool readOk = true; // false: the file exists but could not be read; never overwrite it
    QString readError;
};

namespace {

std::optional<QString> sectionOf(const QString& line) {
    const QString t = line.trimmed();
    if (!t.startsWith(QLatin1Char('[')))
        return std::nullopt;
    const qsizetype close = t.indexOf(QLatin1Char(']'));
    return (close < 0 ? t.mid(1) : t.mid(1, close - 1)).trimmed();
}

std::optional<QString> keyOf(const QString& line) {
    if (sectionOf(line))
        return std::nullopt;
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (eq <= 0)
        return std::nullopt;
    const QString key = line.left(eq).trimmed();
    if (key.isEmpty())
        return std::nullopt;
    return key;
}

bool sameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// [begin, end): begin is the header line, end the next header or the end of the file.
std::optional<std::pair<int, int>> findSection(const QStringList& lines, const QString& name) {
    for (int i = 0; i < lines.size(); ++i) {
        const auto s = sectionOf(lines[i]);
        if (s && sameName(*s, name)) {
            int end = i + 1;
            while (end < lines.size() && !sectionOf(lines[end]))
                ++end;
            return std::make_pair(i, end);
        }
    }
    return std::nullopt;
}

int findKey(const QStringList& lines, std::pair<int, int> range, const QString& key) {
    for (int i = range.first + 1; i < range.second; ++i) {
        const auto k = keyOf(lines[i]);
        if (k && sameName(*k, key))
            return i;
    }
    return -1;
}

QString oneLine(QString text) {
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

QString cutValue(const QString& value) {
    if (value.size() <= IniFile::kMaxValueLength)
        return value;
    qsizetype n = IniFile::kMaxValueLength;
    if (value[n - 1].isHighSurrogate())
        --n; // never split a character
    return value.left(n);
}

} // namespace

IniFile::IniFile(QString path) : m_path(std::move(path)) {}

IniFile::Content IniFile::load() const {
    Content c;
    QFile file(m_path);
    if (!file.exists())
        return c;
    if (!file.open(QIODevice::ReadOnly)) {
        c.readOk = false;
        c.readError = file.errorString();
        return c;
    }
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        c.readOk = false;
        c.readError = file.errorString();
        return c;
    }
    // Files from Windows may be in an 8-bit code page: fall back to Latin-1 when the
    // bytes are not UTF-8.
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(data);
    if (utf8.hasError())
        text = QString::fromLatin1(data);
    const qsizetype firstLf = text.indexOf(QLatin1Char('\n'));
    c.crlf = firstLf > 0 && text[firstLf - 1] == QLatin1Char('\r');
    c.lines = text.split(QLatin1Char('\n'));
    if (!c.lines.isEmpty() && c.lines.last().isEmpty())
        c.lines.removeLast();
    for (QString& line : c.lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    }
    return c;
}

bool IniFile::save(const Content& content) {
    if (!content.readOk) {
        m_error = QStringLiteral("Cannot read %1: %2. The file was left unchanged.")
                      .arg(QDir::toNativeSeparators(m_path), content.readError);
        return false;
    }
    const QFileInfo info(m_path);
    if (!QDir().mkpath(info.absolutePath())) {
        m_error = QStringLiteral("Cannot create the folder %1. Check that you may write there.")
                      .arg(QDir::toNativeSeparators(info.absolutePath()));
        return false;
    }
    const QString eol = content.crlf ? QStringLiteral("\r\n") : QStringLiteral("\n");
    QString text = content.lines.join(eol);
    if (!content.lines.isEmpty())
        text += eol;

    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly)) {
        m_error = QStringLiteral("Cannot write %1: %2. Check that the folder is writable.")
                      .arg(QDir::toNativeSeparators(m_path), file.errorString());
        return false;
    }
    if (info.exists())
        file.setPermissions(info.permissions());
    file.write(text.toUtf8());
    if (!file.commit()) {
        m_error = QStringLiteral("Cannot write %1: %2. The previous file was kept.")
                      .arg(QDir::toNativeSeparators(m_path), file.errorString());
        return false;
    }
    m_error.clear();
    return true;
}

std::optional<QString> IniFile::value(const QString& section, const QString& key) const {
    const Content c = load();
    const auto range = findSection(c.lines, section);
    if (!range)
        return std::nullopt;
    const int i = findKey(c.lines, *range, key);
    if (i < 0)
        return std::nullopt;
    const QString& line = c.lines[i];
    return cutValue(line.mid(line.indexOf(QLatin1Char('=')) + 1).trimmed());
}

bool IniFile::hasValue(const QString& section, const QString& key) const {
    const auto v = value(section, key);
    return v && !v->isEmpty();
}

QStringList IniFile::sections() const {
    QStringList out;
    for (const QString& line : load().lines) {
        if (const auto s = sectionOf(line))
            out << *s;
    }
    return out;
}

QStringList IniFile::keys(const QString& section) const {
    const Content c = load();
    QStringList out;
    const auto range = findSection(c.lines, section);
    if (!range)
        return out;
    for (int i = range->first + 1; i < range->second; ++i) {
        if (const auto k = keyOf(c.lines[i]))
            out << *k;
    }
    return out;
}

bool IniFile::setValue(const QString& section, const QString& key, const QString& value) {
    Content c = load();
    if (!c.readOk)
        return save(c); // reports why, writes nothing
    const QString sectionName = oneLine(section).trimmed();
    const QString keyName = oneLine(key).trimmed();
    const QString text = oneLine(value);
    const auto range = findSection(c.lines, sectionName);
    if (!range) {
        c.lines << QLatin1Char('[') + sectionName + QLatin1Char(']');
        c.lines << keyName + QLatin1Char('=') + text;
        return save(c);
    }
    const int i = findKey(c.lines, *range, keyName);
    if (i >= 0) {
        // Keep the spelling already in the file.
        const QString line = *keyOf(c.lines[i]) + QLatin1Char('=') + text;
        if (c.lines[i] == line)
            return true; // nothing to change
        c.lines[i] = line;
        return save(c);
    }
    // New key: after the last non-blank line of the section, so blank lines that separate
    // it from the next section stay where they are.
    int at = range->second;
    while (at - 1 > range->first && c.lines[at - 1].trimmed().isEmpty())
        --at;
    c.lines.insert(at, keyName + QLatin1Char('=') + text);
    return save(c);
}

bool IniFile::removeKey(const QString& section, const QString& key) {
    Content c = load();
    if (!c.readOk)
        return save(c); // reports why, writes nothing
    const auto range = findSection(c.lines, section);
    if (!range)
        return true;
    const int i = findKey(c.lines, *range, key);
    if (i < 0)
        return true;
    c.lines.removeAt(i);
    return save(c);
}

bool IniFile::removeSection(const QString& section) {
    Content c = load();
    if (!c.readOk)
        return save(c); // reports why, writes nothing
    const auto range = findSection(c.lines, section);
    if (!range)
        return true;
    c.lines.remove(range->first, range->second - range->first);
    return save(c);
}
