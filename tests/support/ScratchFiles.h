#pragma once
// Scratch files for the tests: whole-file reads and writes, and a Sweep.ini in a private
// folder that goes with the test.

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
    QString path() const { return filePath(QStringLiteral("Sweep.ini")); }
    QString dir() const { return m_dir.path(); }
    // Another file in the same folder.
    QString filePath(const QString& name) const { return m_dir.filePath(name); }

    void write(const QString& text) const { writeBytes(path(), text.toUtf8()); }
    QString read() const { return QString::fromUtf8(readBytes(path())); }

private:
    QTemporaryDir m_dir;
};
