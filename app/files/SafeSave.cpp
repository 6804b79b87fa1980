#include "SafeSave.h"

#include <QSaveFile>

bool saveReplacing(const QString& path, const QByteArray& bytes, QString* reason) {
    QSaveFile file(path);
    // No fallback to writing in place when no file can be made beside it: that is the very
    // truncation this routine exists to avoid.
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly)) {
        if (reason)
            *reason = file.errorString();
        return false;
    }
    if (file.write(bytes) != bytes.size()) {
        if (reason)
            *reason = file.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        if (reason)
            *reason = file.errorString();
        return false;
    }
    return true;
}
