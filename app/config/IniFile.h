#pragma once
// Reader and writer of Sweep.ini with the semantics of the Windows profile functions the
// file format comes from: section and key names compare without regard to case, a value
// is seen with at most 254 characters, the file and section are created on first write,
// a whole section can be removed. Everything else in the file (order of sections and
// keys, blank lines, comments, lines we do not understand, CRLF line ends) is kept.
//
// Every read re-reads the file and every write is a read-modify-write of the current
// file, replaced atomically (temporary file beside it, then rename; permissions kept), so
// two writers in the program never lose each other's keys and a crash never leaves the
// file empty or truncated.

#include <QString>
#include <QStringList>
#include <optional>

class IniFile {
public:
    static constexpr int kMaxValueLength = 254;

    explicit IniFile(QString path);

    const QString& path() const { return m_path; }

    // The value of the first matching key of the first matching section, trimmed and cut
    // to kMaxValueLength characters; std::nullopt when the file, section or key is missing.
    std::optional<QString> value(const QString& section, const QString& key) const;
    // Present and not empty.
    bool hasValue(const QString& section, const QString& key) const;

    QStringList sections() const;
    QStringList keys(const QString& section) const;

    // Writes key=value: an existing key is changed in place, a new key goes at the end of
    // its section, a new section at the end of the file. Line breaks in the value are
    // replaced by blanks (they would otherwise inject lines into the file).
    // False when the file could not be written; errorString() tells why.
    bool setValue(const QString& section, const QString& key, const QString& value);
    // Removes the key line (no-op when absent).
    bool removeKey(const QString& section, const QString& key);
    // Removes the section header and every line up to the next section (no-op when absent;
    // a missing file is not created).
    bool removeSection(const QString& section);

    QString errorString() const { return m_error; }

private:
    struct Content;
    Content load() const;
    bool save(const Content& content);

    QString m_path;
    QString m_error;
};
