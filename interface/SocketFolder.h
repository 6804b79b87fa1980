#pragma once
// The private folder (0700) that holds the socket of one tarvex, and the clean-up of folders
// whose program no longer runs. A program that is killed cannot remove its folder, so every
// folder holds a file "lock" that its program keeps locked (flock) for as long as it runs: the
// system releases the lock when the program ends, however it ends. A later start removes the
// folders whose lock is free.
#include <QString>

class SocketFolder {
public:
    // Folders are named sweep-tarvex-XXXXXX.
    static const char* const kPrefix;
    // A folder without a lock file is left alone this long (ms): its program may be making it.
    static constexpr qint64 kUnlockedGraceMs = 60000;

    SocketFolder() = default;
    SocketFolder(const SocketFolder&) = delete;
    SocketFolder& operator=(const SocketFolder&) = delete;
    // Removes the folder and releases its lock.
    ~SocketFolder();

    // Makes a new folder under base, readable by this user only, and locks it. False: *error
    // says why (nothing is left behind).
    bool create(const QString& base, QString* error);
    bool isValid() const { return m_lockFd >= 0; }
    QString path() const { return m_path; }
    QString filePath(const QString& name) const { return m_path + QLatin1Char('/') + name; }

    // Removes the folders of this user under base whose program has ended: the lock file is not
    // locked, or there is none and the folder is older than kUnlockedGraceMs (left by a program
    // that died while making it, or by an earlier version). Folders in use are kept. Returns
    // the number removed.
    static int removeStale(const QString& base);

private:
    void remove();

    QString m_path;
    int m_lockFd = -1;
};
