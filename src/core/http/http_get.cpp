#include "http/http_get.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

namespace tw {

std::optional<QByteArray> httpGet(const QUrl& url, const HttpGetOptions& options) {
    if (!url.isValid()) return std::nullopt;
    QNetworkAccessManager manager;
    manager.setProxy(QNetworkProxy::NoProxy);
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    QNetworkReply* reply = manager.get(request);

    bool tooLong = false;
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QObject::connect(reply, &QNetworkReply::downloadProgress, &loop, [&](qint64 received, qint64) {
        if (received > options.maxBytes) {
            tooLong = true;
            reply->abort();
        }
    });
    // A limit on the whole request: a server that keeps sending a byte now and then must
    // not hold it up longer than that.
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, reply, &QNetworkReply::abort);
    deadline.start(options.timeoutMs);
    QTimer poll;
    if (options.cancelled) {
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            if (options.cancelled()) reply->abort();
        });
        poll.start(50);
    }
    if (!reply->isFinished()) loop.exec();
    poll.stop();
    deadline.stop();

    std::optional<QByteArray> body;
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (!tooLong && reply->error() == QNetworkReply::NoError && status == 200) body = reply->readAll();
    delete reply;
    return body;
}

} // namespace tw
