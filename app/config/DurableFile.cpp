#include "DurableFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QByteArray kLeftoverTag(".tmp-");
constexpr int kLeftoverRandom = 6; // the XXXXXX of mkostemp

QString systemReason(int err) {
    return QString::fromLocal8Bit(std::strerror(err));
}

bool writeAll(int fd, const QByteArray& data) {
    const char* p = data.constData();
    qsizetype left = data.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, size_t(left));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += n;
        left -= n;
    }
    return true;
}

} // namespace

QString durableTarget(const QString& path) {
    const QFileInfo info(path);
    if (info.isSymLink()) {
        const QString target = info.canonicalFilePath();
        if (!target.isEmpty())
            return target;
    }
    return path;
}

bool replaceDurably(const QString& path, const QByteArray& data, QString* reason) {
    auto fail = [&](int err) {
        if (reason)
            *reason = systemReason(err);
        return false;
    };
    const QString target = durableTarget(path);
    const QFileInfo info(target);
    QDir().mkpath(info.absolutePath()); // a failure shows in the next step with its reason

    QByteArray temp = QFile::encodeName(target) + kLeftoverTag + QByteArray(kLeftoverRandom, 'X');
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0)
        return fail(errno);
    struct stat old {};
    mode_t mode = 0;
    if (::stat(QFile::encodeName(target).constData(), &old) == 0) {
        mode = old.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    int err = 0;
    if (::fchmod(fd, mode) != 0 || !writeAll(fd, data) || ::fsync(fd) != 0)
        err = errno;
    if (::close(fd) != 0 && err == 0)
        err = errno;
    if (err == 0 && ::rename(temp.constData(), QFile::encodeName(target).constData()) != 0)
        err = errno;
    if (err != 0) {
        ::unlink(temp.constData());
        return fail(err);
    }
    // The rename itself reaches the disk with the folder.
    const int dir = ::open(QFile::encodeName(info.absolutePath()).constData(),
                           O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

bool isDurableLeftover(const QString& path, const QString& fileName) {
    const QString prefix =
        QFileInfo(durableTarget(path)).fileName() + QString::fromLatin1(kLeftoverTag);
    return fileName.size() == prefix.size() + kLeftoverRandom && fileName.startsWith(prefix);
}

void removeDurableLeftovers(const QString& path) {
    QDir dir = QFileInfo(durableTarget(path)).absoluteDir();
    const QStringList names = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : names) {
        if (isDurableLeftover(path, name))
            dir.remove(name);
    }
}
