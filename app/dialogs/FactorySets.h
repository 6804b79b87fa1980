#pragma once
// The factory default sets [Interface1] (PIC board), [Interface2] (DDS generator and detector
// on the parallel port) and [Interface3] (MiniVNA) that the setup dialog's "Default" buttons
// load. A configuration that lacks a set (no "DDS Device" in it) gets it added; keys the user
// already has in a set are kept.
#include <QList>
#include <QPair>
#include <QString>

namespace FactorySets {

using Keys = QList<QPair<QString, QString>>;

// The keys of set n (1..3) in the order the setup dialog's loader reads them.
Keys keys(int n);
// Adds every missing set to the file; false when a write failed.
bool ensure(const QString& iniFile);

} // namespace FactorySets
