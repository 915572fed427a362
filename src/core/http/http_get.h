#pragma once
// One blocking HTTP GET for the calling thread. Redirections are not followed and no proxy
// is used; anything but a "200" answer is a failure.

#include <QByteArray>
#include <QUrl>
#include <functional>
#include <optional>

namespace tw {

struct HttpGetOptions {
    int timeoutMs = 15000;            // the whole request, from start to the last byte
    qint64 maxBytes = 64 * 1024;      // a longer body is a failure
    std::function<bool()> cancelled;  // polled while waiting; true ends the request as failed
};

// The body of the answer, or nullopt on any failure. Runs its own event loop, so it may be
// called on a worker thread that has none.
std::optional<QByteArray> httpGet(const QUrl& url, const HttpGetOptions& options = {});

} // namespace tw
