#include "TraceSet.h"

#include "CsvReader.h"
#include "CsvWriter.h"
#include "SafeSave.h"

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
    if (!saveReplacing(path, writeSweepCsv(sweep), &reason))
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
        QFile file(path);
        if (path.isEmpty() || !file.exists())
            continue;
        const QString shown = QDir::toNativeSeparators(path);
        if (file.size() > kMaxFileBytes || !file.open(QIODevice::ReadOnly)) {
            problems << QStringLiteral("%1 (%2): %3")
                            .arg(slotName(slot), shown,
                                 file.isOpen() ? QStringLiteral("the file is too large")
                                               : file.errorString());
            continue;
        }
        const CsvReadResult read = readSweepCsv(file.readAll());
        if (!read.sweep) {
            problems << QStringLiteral("%1 (%2): line %3: %4")
                            .arg(slotName(slot), shown)
                            .arg(read.line)
                            .arg(read.error);
            continue;
        }
        m_slots[slot] = *read.sweep;
    }
    return problems;
}
