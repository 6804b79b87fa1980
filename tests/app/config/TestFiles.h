#pragma once
// Scratch files for the configuration tests.

#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

inline QByteArray readBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void writeBytes(const QString& path, const QByteArray& data) {
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(data);
}

// Lines of a text file without line ends.
inline QStringList readLines(const QString& path) {
    QStringList lines = QString::fromUtf8(readBytes(path)).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    for (QString& l : lines)
        if (l.endsWith(QLatin1Char('\r')))
            l.chop(1);
    return lines;
}

class ScratchIni {
public:
    QString path() const { return m_dir.filePath(QStringLiteral("Sweep.ini")); }
    QString dir() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
};
