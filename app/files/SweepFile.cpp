#include "SweepFile.h"

#include "CsvReader.h"
#include "CsvWriter.h"
#include "SafeSave.h"

#include <QFile>

SweepFileRead readSweepFile(const QString& path, qint64 maxBytes) {
    SweepFileRead out;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        out.fault = SweepFileRead::Fault::Open;
        out.reason = file.errorString();
        return out;
    }
    const QByteArray bytes = file.read(maxBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        out.fault = SweepFileRead::Fault::Read;
        out.reason = file.errorString();
        return out;
    }
    if (bytes.size() > maxBytes) {
        out.fault = SweepFileRead::Fault::TooLarge;
        return out;
    }
    const CsvReadResult read = readSweepCsv(bytes);
    if (!read.sweep) {
        out.fault = SweepFileRead::Fault::Refused;
        out.reason = read.error;
        out.line = read.line;
        return out;
    }
    out.sweep = read.sweep;
    return out;
}

bool writeSweepFile(const QString& path, const CsvSweep& sweep, QString* reason) {
    return saveReplacing(path, writeSweepCsv(sweep), reason);
}
