#include "SocketFolder.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

const char* const SocketFolder::kPrefix = "sweep-tarvex-";

namespace {
const char* const kLockName = "lock";
// The lock is taken under this name and then renamed to kLockName, so a folder that has a
// lock file always has it locked while its program runs.
const char* const kNewLockName = "lock.new";

QString systemError() {
    return QString::fromLocal8Bit(std::strerror(errno));
}
} // namespace

SocketFolder::~SocketFolder() {
    remove();
}

void SocketFolder::remove() {
    // Removed while still locked, so no other start takes it for a stale one half-way.
    if (!m_path.isEmpty())
        QDir(m_path).removeRecursively();
    if (m_lockFd >= 0)
        ::close(m_lockFd);
    m_path.clear();
    m_lockFd = -1;
}

bool SocketFolder::create(const QString& base, QString* error) {
    remove();
    QByteArray name = QFile::encodeName(base + QLatin1Char('/') + QLatin1String(kPrefix)) +
                      QByteArrayLiteral("XXXXXX");
    if (!::mkdtemp(name.data())) {
        *error = systemError();
        return false;
    }
    m_path = QFile::decodeName(name);
    ::chmod(name.constData(), 0700);
    const QByteArray pending = QFile::encodeName(filePath(QLatin1String(kNewLockName)));
    const QByteArray lock = QFile::encodeName(filePath(QLatin1String(kLockName)));
    const int fd =
        ::open(pending.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0 || ::flock(fd, LOCK_EX | LOCK_NB) != 0 ||
        ::rename(pending.constData(), lock.constData()) != 0) {
        *error = systemError();
        if (fd >= 0)
            ::close(fd);
        remove();
        return false;
    }
    m_lockFd = fd;
    return true;
}

int SocketFolder::removeStale(const QString& base) {
    const QStringList names =
        QDir(base).entryList({QLatin1String(kPrefix) + QLatin1Char('*')},
                             QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::NoSymLinks);
    const qint64 now = QDateTime::currentSecsSinceEpoch();
    int removed = 0;
    for (const QString& entry : names) {
        const QString path = base + QLatin1Char('/') + entry;
        const QByteArray native = QFile::encodeName(path);
        struct stat st = {};
        // Only this user's own folders; never one reached through a link.
        if (::lstat(native.constData(), &st) != 0 || !S_ISDIR(st.st_mode) ||
            st.st_uid != ::getuid())
            continue;
        const QByteArray lock = native + '/' + kLockName;
        const int fd = ::open(lock.constData(), O_RDWR | O_CLOEXEC | O_NOFOLLOW);
        bool stale = false;
        if (fd >= 0)
            stale = ::flock(fd, LOCK_EX | LOCK_NB) == 0; // its program has ended
        else if (errno == ENOENT)
            stale = (now - st.st_mtim.tv_sec) * 1000 > kUnlockedGraceMs;
        if (stale && QDir(path).removeRecursively())
            ++removed;
        if (fd >= 0)
            ::close(fd);
    }
    return removed;
}
