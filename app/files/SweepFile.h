#pragma once
// A sweep file on disk: read whole and parsed, or written whole. The callers phrase the faults
// for their users; a file larger than the limit is not read at all.
#include "CsvSweep.h"

#include <QString>
#include <optional>

struct SweepFileRead {
    enum class Fault {
        None,
        Open,     // reason: the system's
        Read,     // reason: the system's
        TooLarge, // more bytes than the limit
        Refused   // line, reason: what the CSV reader found wrong
    };
    std::optional<CsvSweep> sweep; // the whole sweep; empty on any fault
    Fault fault = Fault::None;
    QString reason;
    qsizetype line = 0;
};

SweepFileRead readSweepFile(const QString& path, qint64 maxBytes);

// The sweep written as its CSV text, replacing `path` only once complete (saveReplacing).
bool writeSweepFile(const QString& path, const CsvSweep& sweep, QString* reason);
