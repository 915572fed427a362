#pragma once
// The update check: one request for the version file on a thread of its own. The window
// learns of a newer version through the queued signal newerVersion.

#include <QThread>
#include <QUrl>

namespace tw {

class UpdateCheck : public QThread {
    Q_OBJECT
public:
    explicit UpdateCheck(QUrl versionFile, QObject* parent = nullptr);
    // Ends a running check at once and waits for the thread.
    ~UpdateCheck() override;

signals:
    // A newer version is offered at `address` (an http or https address).
    void newerVersion(const QString& address);

protected:
    // Every failure is silent: the signal is just not emitted.
    void run() override;

private:
    QUrl versionFile_;
};

} // namespace tw
