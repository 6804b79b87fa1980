#include "TraceSet.h"

#include "SweepFile.h"

#include <QDir>
#include <QFile>

namespace {
constexpr qint64 kMaxFileBytes = 1024 * 1024; // a sweep file is some 12 kB
} // namespace

TraceSet::TraceSet(const QString& folder) : m_folder(folder) {}

QString TraceSet::slotName(int slot) {
    return slot == kReference ? QStringLiteral("Reference") : QStringLiteral("Memory %1").arg(slot);
}

QString TraceSet::fileOf(int slot) const {
    if (m_folder.isEmpty() || !valid(slot))
        return QString();
    const QString name = slot == kReference ? QStringLiteral("Reference.csv")
                                            : QStringLiteral("Memory%1.csv").arg(slot);
    return QDir(m_folder).filePath(name);
}

const std::optional<CsvSweep>& TraceSet::sweep(int slot) const {
    static const std::optional<CsvSweep> none;
    return valid(slot) ? m_slots[slot] : none;
}

StoredTrace TraceSet::volts(int slot) const {
    if (!has(slot))
        return StoredTrace();
    QVector<double> hz, v;
    hz.reserve(kCsvRows);
    v.reserve(kCsvRows);
    for (const CsvPoint& p : *m_slots[slot]) {
        hz << p.frequency;
        v << p.volts;
    }
    return StoredTrace(hz, v);
}

QString TraceSet::store(int slot, const CsvSweep& sweep) {
    if (!valid(slot))
        return QString();
    m_slots[slot] = sweep;
    const QString path = fileOf(slot);
    if (path.isEmpty())
        return QString();
    QDir().mkpath(m_folder);
    QString reason;
    if (!writeSweepFile(path, sweep, &reason))
        return QStringLiteral("%1 could not be kept in %2: %3")
            .arg(slotName(slot), QDir::toNativeSeparators(path), reason);
    return QString();
}

QString TraceSet::clear(int slot) {
    if (!valid(slot))
        return QString();
    m_slots[slot].reset();
    const QString path = fileOf(slot);
    QFile file(path);
    if (path.isEmpty() || !file.exists() || file.remove())
        return QString();
    return QStringLiteral("%1 could not be removed from %2: %3")
        .arg(slotName(slot), QDir::toNativeSeparators(path), file.errorString());
}

QStringList TraceSet::loadAll() {
    QStringList problems;
    for (int slot = 0; slot < kSlots; ++slot) {
        const QString path = fileOf(slot);
        if (path.isEmpty() || !QFile::exists(path))
            continue;
        const SweepFileRead read = readSweepFile(path, kMaxFileBytes);
        if (read.sweep) {
            m_slots[slot] = *read.sweep;
            continue;
        }
        const QString where =
            QStringLiteral("%1 (%2)").arg(slotName(slot), QDir::toNativeSeparators(path));
        if (read.fault == SweepFileRead::Fault::Refused)
            problems
                << QStringLiteral("%1: line %2: %3").arg(where).arg(read.line).arg(read.reason);
        else if (read.fault == SweepFileRead::Fault::TooLarge)
            problems << QStringLiteral("%1: the file is too large").arg(where);
        else
            problems << QStringLiteral("%1: %2").arg(where, read.reason);
    }
    return problems;
}
