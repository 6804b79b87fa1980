#pragma once
// Refuses a second running instance of sweep for the same user: a lock file in the user's
// runtime directory, held for the life of the window. A lock left by a crashed instance is
// recognised as stale and taken over.
#include <QLockFile>
#include <QString>
#include <memory>

class SingleInstance {
public:
    // The default lock path: <runtime dir>/orvane-sweep.lock.
    static QString defaultLockPath();

    explicit SingleInstance(const QString& lockPath);
    // True when this process now holds the lock; false when another instance runs.
    bool acquire();

private:
    std::unique_ptr<QLockFile> m_lock;
};
