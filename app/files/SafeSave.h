#pragma once
// Saving a file whole or not at all: the bytes go to a new file beside `path`, which then takes
// the place of the old one, so `path` holds either its old content or all of the new one, never
// a truncated mix. An existing file keeps its permissions (QSaveFile carries them over).
#include <QByteArray>
#include <QString>

// False when the file could not be written; `reason` then gets the system's reason.
bool saveReplacing(const QString& path, const QByteArray& bytes, QString* reason);
