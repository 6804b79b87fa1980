#pragma once
// The message of the main window when the device refuses to set up a sweep: what cannot be
// generated, what to change, and the device's own error lines.
#include <QString>
#include <QStringList>

class SweepConfig;

QString sweepRefusedMessage(const SweepConfig& cfg, const QStringList& deviceLines);
