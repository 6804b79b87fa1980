#pragma once
// Reading the replies of device calls: a call that raised an error (a D-Bus error reply, a
// dead server, a time-out) counts as failure, as the window expects at binding and shutdown.
#include <QDBusPendingReply>

template <typename... T> bool callSucceeded(QDBusPendingReply<T...> reply) {
    reply.waitForFinished();
    return !reply.isError();
}

inline bool callReturnedTrue(QDBusPendingReply<bool> reply) {
    reply.waitForFinished();
    return !reply.isError() && reply.value();
}
