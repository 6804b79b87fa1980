#pragma once
// The stored sweeps of the window: the reference that "Normalize" measures against and the four
// memories drawn under the live curve. Each is a whole sweep as its file holds it (frequency,
// raw count, volts per point) and lives in a sweep file of its own in the configuration's
// folder ("Reference.csv", "Memory1.csv" .. "Memory4.csv"), so that it comes back at the next
// start. A file that cannot be read back is left where it is and reported, never half used.
#include "CsvSweep.h"
#include "StoredTrace.h"

#include <QString>
#include <QStringList>
#include <array>
#include <optional>

class TraceSet {
public:
    static constexpr int kReference = 0;
    static constexpr int kMemories = 4; // slots 1..4
    static constexpr int kSlots = kMemories + 1;

    // folder: where the files are kept; empty keeps them in memory only.
    explicit TraceSet(const QString& folder = QString());

    // "Reference" or "Memory 1" .. "Memory 4".
    static QString slotName(int slot);
    QString fileOf(int slot) const;

    bool has(int slot) const { return valid(slot) && m_slots[slot].has_value(); }
    const std::optional<CsvSweep>& sweep(int slot) const;
    // The slot's volts by frequency; empty when the slot is.
    StoredTrace volts(int slot) const;

    // Keeps sweep in the slot and writes its file. The sweep is kept even when the file cannot
    // be written; the reason is returned then (empty on success).
    QString store(int slot, const CsvSweep& sweep);
    // Empties the slot and removes its file; the reason when the file stays (empty on success).
    QString clear(int slot);
    // Reads every slot's file that is there. Returns one line per file that could not be read.
    QStringList loadAll();

private:
    static bool valid(int slot) { return slot >= 0 && slot < kSlots; }

    QString m_folder;
    std::array<std::optional<CsvSweep>, kSlots> m_slots;
};
