#pragma once
// Replacing a whole file so that a crash or a kill at any moment leaves either the old or the
// new content: a temporary beside it (same permissions), written and synced, renamed over it,
// then the folder synced. Symbolic links are followed, so the link stays and its target changes.
#include <QByteArray>
#include <QString>

// The path the replacement writes to: path itself, or the target of a symbolic link.
QString durableTarget(const QString& path);

// Replaces path's content with data. False: *reason is the system's reason, the old file is
// untouched and no temporary is left.
bool replaceDurably(const QString& path, const QByteArray& data, QString* reason);

// A temporary that an interrupted replacement of path left beside it (a name in its folder).
bool isDurableLeftover(const QString& path, const QString& fileName);
// Removes every such temporary.
void removeDurableLeftovers(const QString& path);
