#include "SimTrace.h"

std::shared_ptr<SimTrace> SimTrace::open(const QString& path, QString* error) {
    std::shared_ptr<SimTrace> trace(new SimTrace);
    trace->m_file.setFileName(path);
    // Unbuffered append: every line is one write at the end of the file, whoever else writes.
    if (!trace->m_file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) {
        if (error)
            *error = QStringLiteral("cannot open the simulation log %1: %2 (check that the "
                                    "folder exists and is writable)")
                         .arg(path, trace->m_file.errorString());
        return nullptr;
    }
    return trace;
}

void SimTrace::write(const QString& source, const QString& text) {
    m_file.write((source + QStringLiteral(": ") + text + QLatin1Char('\n')).toUtf8());
}

TraceSink SimTrace::sink(const QString& source) {
    return [self = shared_from_this(), source](const QString& line) { self->write(source, line); };
}
