#pragma once
// The small tables of names both programs share (SimulatedDuts.h, LptDrivers.h): each entry has
// a member `name`, and the first entry is the default.
#include <QString>
#include <QStringList>

template <class Table> QStringList namesOf(const Table& table) {
    QStringList names;
    for (const auto& entry : table)
        names << QLatin1String(entry.name);
    return names;
}

// "a, b" + lastSeparator + "c", for messages.
inline QString choicesText(QStringList names, const QString& lastSeparator) {
    const QString last = names.takeLast();
    return names.join(QStringLiteral(", ")) + lastSeparator + last;
}
