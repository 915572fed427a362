#include "app/update_check.h"

#include "app/update_rule.h"
#include "http/http_get.h"

namespace tw {

UpdateCheck::UpdateCheck(QUrl versionFile, QObject* parent) : QThread(parent), versionFile_(std::move(versionFile)) {}

UpdateCheck::~UpdateCheck() {
    requestInterruption();
    wait();
}

void UpdateCheck::run() {
    HttpGetOptions options;
    options.cancelled = [this] { return isInterruptionRequested(); };
    const std::optional<QByteArray> body = httpGet(versionFile_, options);
    if (!body || isInterruptionRequested()) return;
    if (const std::optional<QString> address = newerVersionAddress(*body)) emit newerVersion(*address);
}

} // namespace tw
