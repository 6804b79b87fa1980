#include "IniFile.h"

#include "DurableFile.h"
#include "IniLine.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

using namespace IniLine;

// A file changed within this time of its last read may have changed again without a new
// modification time (timestamps are coarse: a clock tick, two seconds on FAT); such a file
// is read again at the next access rather than trusted.
constexpr qint64 kTimestampGrainNs = 3'000'000'000;

const QByteArray kBom("\xEF\xBB\xBF");

qint64 nowNs() {
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    return qint64(ts.tv_sec) * 1'000'000'000 + ts.tv_nsec;
}

QString systemReason(int err) {
    return QString::fromLocal8Bit(std::strerror(err));
}

// What identifies one version of the file on disk.
struct Stamp {
    bool exists = false;
    dev_t dev = 0;
    ino_t ino = 0;
    off_t size = 0;
    qint64 mtimeNs = 0;
    qint64 ctimeNs = 0;

    static Stamp of(const QByteArray& path) {
        Stamp s;
        struct stat st {};
        if (::stat(path.constData(), &st) != 0)
            return s;
        s.exists = true;
        s.dev = st.st_dev;
        s.ino = st.st_ino;
        s.size = st.st_size;
        s.mtimeNs = qint64(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec;
        s.ctimeNs = qint64(st.st_ctim.tv_sec) * 1'000'000'000 + st.st_ctim.tv_nsec;
        return s;
    }
    bool operator==(const Stamp&) const = default;
};

QString folded(const QString& name) {
    return name.toCaseFolded();
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

struct Line {
    QByteArray bytes; // without its line end
    QByteArray eol;   // "\n", "\r\n", or empty for a last line without one
};

struct Section {
    std::optional<Line> header; // none for the lines before the first section
    QString name;
    std::vector<Line> lines; // up to the next header
    // Folded key -> index of its first line; built at the first lookup.
    QHash<QString, int> keyIndex;
    bool indexed = false;

    int find(const QString& key) {
        if (!indexed) {
            keyIndex.clear();
            for (int i = 0; i < int(lines.size()); ++i) {
                if (const auto k = keyOf(lines[i].bytes)) {
                    const QString f = folded(*k);
                    if (!keyIndex.contains(f))
                        keyIndex.insert(f, i);
                }
            }
            indexed = true;
        }
        return keyIndex.value(folded(key), -1);
    }
};

} // namespace

QString IniError::text() const {
    return QStringLiteral("Cannot write %1: %2.").arg(QDir::toNativeSeparators(file), reason);
}

struct IniFile::Document {
    bool loaded = false;
    bool readOk = true; // false: the file exists but could not be read; never overwrite it
    int readErrno = 0;
    Stamp stamp;
    qint64 loadedAtNs = 0;

    QByteArray bom;
    QByteArray eol = "\n"; // for new lines: the line end the file came with
    std::vector<Section> sections{Section{}};
    QHash<QString, int> sectionIndex; // folded name -> first section with it

    void reindexSections() {
        sectionIndex.clear();
        for (int i = 1; i < int(sections.size()); ++i) {
            const QString f = folded(sections[i].name);
            if (!sectionIndex.contains(f))
                sectionIndex.insert(f, i);
        }
    }

    Section* find(const QString& name) {
        const int i = sectionIndex.value(folded(name), -1);
        return i < 0 ? nullptr : &sections[i];
    }

    void parse(const QByteArray& data) {
        sections.assign(1, Section{});
        bom.clear();
        eol = "\n";
        qsizetype pos = 0;
        if (data.startsWith(kBom)) {
            bom = kBom;
            pos = kBom.size();
        }
        bool eolKnown = false;
        while (pos < data.size()) {
            qsizetype lf = data.indexOf('\n', pos);
            Line line;
            if (lf < 0) {
                line.bytes = data.mid(pos);
                pos = data.size();
            } else {
                const bool cr = lf > pos && data[lf - 1] == '\r';
                line.bytes = data.mid(pos, lf - pos - (cr ? 1 : 0));
                line.eol = cr ? QByteArray("\r\n") : QByteArray("\n");
                pos = lf + 1;
                if (!eolKnown) {
                    eol = line.eol;
                    eolKnown = true;
                }
            }
            if (const auto name = sectionOf(line.bytes)) {
                Section s;
                s.header = std::move(line);
                s.name = *name;
                sections.push_back(std::move(s));
            } else {
                sections.back().lines.push_back(std::move(line));
            }
        }
        reindexSections();
    }

    QByteArray serialise() const {
        qsizetype size = bom.size();
        for (const Section& s : sections) {
            if (s.header)
                size += s.header->bytes.size() + 2;
            for (const Line& l : s.lines)
                size += l.bytes.size() + 2;
        }
        QByteArray out;
        out.reserve(size);
        out += bom;
        // A line that was last without a line end gets one when lines follow it.
        const Line* pending = nullptr;
        auto put = [&](const Line& l) {
            if (pending)
                out += pending->eol.isEmpty() ? eol : pending->eol;
            out += l.bytes;
            pending = &l;
        };
        for (const Section& s : sections) {
            if (s.header)
                put(*s.header);
            for (const Line& l : s.lines)
                put(l);
        }
        if (pending)
            out += pending->eol;
        return out;
    }
};

IniFile::IniFile(QString path) : m_path(std::move(path)) {}

IniFile::~IniFile() = default;

IniFile::Document& IniFile::document() const {
    if (!m_doc)
        m_doc = std::make_unique<Document>();
    Document& d = *m_doc;
    if (d.loaded && m_batchDepth > 0)
        return d; // the batch's changes are not on disk yet
    const QByteArray name = QFile::encodeName(m_path);
    const qint64 now = nowNs();
    const Stamp stamp = Stamp::of(name);
    if (d.loaded && stamp == d.stamp) {
        const bool racy = stamp.exists && stamp.mtimeNs >= d.loadedAtNs - kTimestampGrainNs;
        if (!racy)
            return d;
    }

    d = Document{};
    d.loaded = true;
    d.loadedAtNs = now;
    d.stamp = stamp;
    if (!stamp.exists)
        return d;
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    QByteArray data;
    int err = 0;
    if (fd < 0) {
        err = errno;
    } else {
        data.reserve(qsizetype(stamp.size) + 1);
        char buf[65536];
        for (;;) {
            const ssize_t n = ::read(fd, buf, sizeof buf);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                err = errno;
            if (n <= 0)
                break;
            data.append(buf, n);
        }
        ::close(fd);
    }
    if (err != 0) {
        d.readOk = false;
        d.readErrno = err;
        return d;
    }
    d.parse(data);
    return d;
}

std::optional<QString> IniFile::value(const QString& section, const QString& key) const {
    Document& d = document();
    Section* s = d.find(section);
    if (!s)
        return std::nullopt;
    const int i = s->find(key);
    if (i < 0)
        return std::nullopt;
    const QString line = decode(s->lines[i].bytes);
    return cutValue(line.mid(line.indexOf(QLatin1Char('=')) + 1).trimmed());
}

bool IniFile::hasValue(const QString& section, const QString& key) const {
    const auto v = value(section, key);
    return v && !v->isEmpty();
}

QStringList IniFile::sections() const {
    QStringList out;
    const Document& d = document();
    for (std::size_t i = 1; i < d.sections.size(); ++i)
        out << d.sections[i].name;
    return out;
}

QStringList IniFile::keys(const QString& section) const {
    QStringList out;
    const Section* s = document().find(section);
    if (!s)
        return out;
    for (const Line& l : s->lines) {
        if (const auto k = keyOf(l.bytes))
            out << *k;
    }
    return out;
}

bool IniFile::changed(bool dirty) {
    if (m_batchDepth > 0) {
        m_batchDirty = m_batchDirty || dirty;
        return true;
    }
    return dirty ? save() : true;
}

bool IniFile::setValue(const QString& section, const QString& key, const QString& value) {
    Document& d = document();
    if (!d.readOk)
        return changed(true); // reports why, writes nothing
    const QString sectionName = oneLine(section).trimmed();
    const QString keyName = oneLine(key).trimmed();
    const QByteArray text = oneLine(value).toUtf8();
    Section* s = d.find(sectionName);
    if (!s) {
        Section added;
        added.header = Line{'[' + sectionName.toUtf8() + ']', d.eol};
        added.name = sectionName;
        added.lines.push_back(Line{keyName.toUtf8() + '=' + text, d.eol});
        d.sections.push_back(std::move(added));
        d.reindexSections();
        return changed(true);
    }
    const int i = s->find(keyName);
    if (i >= 0) {
        // Keep the spelling already in the file.
        Line& line = s->lines[i];
        const QByteArray bytes = keyOf(line.bytes)->toUtf8() + '=' + text;
        if (bytes == line.bytes)
            return changed(false);
        line.bytes = bytes;
        return changed(true);
    }
    // New key: after the last non-blank line of the section, so blank lines that separate
    // it from the next section stay where they are. Only blank lines follow it, so the
    // indexes of the keys stay valid.
    int at = int(s->lines.size());
    while (at > 0 && isBlank(s->lines[at - 1].bytes))
        --at;
    s->lines.insert(s->lines.begin() + at, Line{keyName.toUtf8() + '=' + text, d.eol});
    s->keyIndex.insert(folded(keyName), at);
    return changed(true);
}

bool IniFile::removeKey(const QString& section, const QString& key) {
    Document& d = document();
    if (!d.readOk)
        return changed(true);
    Section* s = d.find(section);
    const int i = s ? s->find(key) : -1;
    if (i < 0)
        return changed(false);
    s->lines.erase(s->lines.begin() + i);
    s->indexed = false;
    return changed(true);
}

bool IniFile::removeSection(const QString& section) {
    Document& d = document();
    if (!d.readOk)
        return changed(true);
    const int i = d.sectionIndex.value(folded(section), -1);
    if (i < 0)
        return changed(false);
    d.sections.erase(d.sections.begin() + i);
    d.reindexSections();
    return changed(true);
}

void IniFile::beginBatch() {
    if (m_batchDepth == 0) {
        document(); // the batch starts from the file as it is now
        m_batchDirty = false;
    }
    ++m_batchDepth;
}

bool IniFile::commit() {
    if (m_batchDepth == 0 || --m_batchDepth > 0)
        return true;
    const bool dirty = std::exchange(m_batchDirty, false);
    return dirty ? save() : true;
}

bool IniFile::save() {
    Document& d = *m_doc;
    // On failure the changes are dropped: reads show the file as it is.
    auto fail = [&](const QString& reason) {
        m_error = {m_path, reason};
        d.loaded = false;
        return false;
    };
    if (!d.readOk)
        return fail(systemReason(d.readErrno));
    const qint64 writtenAt = nowNs();
    QString reason;
    if (!replaceDurably(m_path, d.serialise(), &reason))
        return fail(reason);
    d.stamp = Stamp::of(QFile::encodeName(m_path));
    d.loadedAtNs = writtenAt;
    m_error = {};
    return true;
}

bool IniFile::isLeftover(const QString& fileName) const {
    return isDurableLeftover(m_path, fileName);
}

void IniFile::removeLeftovers() const {
    removeDurableLeftovers(m_path);
}
