#pragma once
// What the simulated hardware decoded, as text lines appended to a file (tarvex --sim-log), so
// integration tests of the window can assert what the hardware saw and in which order. Each
// line is "<model>: <what>" ("pic: A 1000000", "dds: load 42949673 control 0x01 ...") and is
// written and flushed at once. The file is opened for appending: several models, and several
// processes, may share one file, and a line is never split.
#include <QFile>
#include <QString>
#include <functional>
#include <memory>

// Where a model writes what it decoded, one call per line; empty when nobody asked.
using TraceSink = std::function<void(const QString& line)>;

// A byte as trace lines write it: two lower-case hexadecimal digits ("0f").
inline QString traceHex(unsigned value) {
    return QStringLiteral("%1").arg(value & 0xffu, 2, 16, QLatin1Char('0'));
}

class SimTrace : public std::enable_shared_from_this<SimTrace> {
public:
    // The trace file at path, created if missing; nullptr with *error (the path and the
    // system's reason) when it cannot be opened for appending.
    static std::shared_ptr<SimTrace> open(const QString& path, QString* error = nullptr);

    // Appends "<source>: <text>\n".
    void write(const QString& source, const QString& text);
    // A sink that writes under source; it keeps the trace open.
    TraceSink sink(const QString& source);

private:
    SimTrace() = default;
    QFile m_file;
};
