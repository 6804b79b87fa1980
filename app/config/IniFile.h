#pragma once
// Reader and writer of Sweep.ini with the semantics of the Windows profile functions the
// file format comes from: section and key names compare without regard to case, a value
// is seen with at most 254 characters, the file and section are created on first write,
// a whole section can be removed.
//
// The file is parsed once and kept in memory; it is read again only when it changed on disk
// (another writer, a text editor), so a large file costs one read, not one per key. Every
// line the program does not change is written back byte for byte: its line end, its
// encoding (lines that are not UTF-8 are read as Latin-1 but their bytes are kept) and the
// byte-order mark. Changed and new lines are UTF-8.
//
// A write replaces the file atomically (a temporary file beside it, synced, then renamed;
// permissions kept), so the file is always wholly old or wholly new. A batch collects any
// number of changes and replaces the file once, so a group of keys that belong together
// (the window's state on closing) is never half written.

#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

// Why the file could not be read or written: the file and the system's reason.
struct IniError {
    QString file;
    QString reason; // as the system words it ("Permission denied", "No space left on device")

    bool isError() const { return !reason.isEmpty(); }
    // "Cannot write FILE: REASON."
    QString text() const;
};

class IniFile {
public:
    static constexpr int kMaxValueLength = 254;

    explicit IniFile(QString path);
    ~IniFile();
    IniFile(const IniFile&) = delete;
    IniFile& operator=(const IniFile&) = delete;

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
    // False when the file could not be written; error() tells why.
    bool setValue(const QString& section, const QString& key, const QString& value);
    // Removes the key line (no-op when absent).
    bool removeKey(const QString& section, const QString& key);
    // Removes the section header and every line up to the next section (no-op when absent;
    // a missing file is not created).
    bool removeSection(const QString& section);

    // Between beginBatch() and commit() changes stay in memory (reads see them); commit()
    // replaces the file once, or not at all when nothing changed. Batches nest: only the
    // outermost commit() writes. False when the file could not be written.
    void beginBatch();
    bool commit();

    // Removes the temporary files that a save interrupted by a crash or a kill left beside
    // the file. Only for start-up, when no other save of this file can be under way.
    void removeLeftovers() const;
    // Whether a file name is such a temporary of this file.
    bool isLeftover(const QString& fileName) const;

    // The last failure; empty after a successful write.
    const IniError& error() const { return m_error; }
    QString errorString() const { return m_error.text(); }

private:
    struct Document;
    Document& document() const;
    bool changed(bool dirty);
    bool save();

    QString m_path;
    mutable std::unique_ptr<Document> m_doc;
    int m_batchDepth = 0;
    bool m_batchDirty = false;
    IniError m_error;
};
