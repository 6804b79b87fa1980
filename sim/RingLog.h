#pragma once
// The decode logs of the hardware models keep only their newest entries, so a simulation that
// runs for hours (the demo) does not grow: a ring of kDecodeLogCapacity entries, several sweep
// passes' worth (a parallel-port pass decodes 400 loads and about 800 board events). Tests read
// what one or two passes left; a whole run goes to the text trace (SimTrace) when asked for.
#include <QList>
#include <utility>

inline constexpr qsizetype kDecodeLogCapacity = 4096;

template <typename T> class RingLog {
public:
    explicit RingLog(qsizetype capacity = kDecodeLogCapacity) : m_capacity(capacity) {}

    void append(T item) {
        // Dropping the oldest entry of a QList only moves its start; the allocation stays
        // within about twice the capacity.
        if (m_items.size() >= m_capacity)
            m_items.removeFirst();
        m_items.append(std::move(item));
        ++m_count;
    }
    // The newest entries, oldest first.
    const QList<T>& items() const { return m_items; }
    // Entries appended since the last clear, including those the ring has dropped.
    qint64 count() const { return m_count; }
    qsizetype capacity() const { return m_capacity; }
    void clear() {
        m_items.clear();
        m_count = 0;
    }

private:
    qsizetype m_capacity;
    QList<T> m_items;
    qint64 m_count = 0;
};
