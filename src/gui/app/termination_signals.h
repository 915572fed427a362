#pragma once
// SIGTERM and SIGINT as events of the event loop: the handler only writes a byte to a
// pipe, and a socket notifier on its other end emits received(), so the window can close
// as its close box does (a logout or a `kill` then keeps the settings).

#include <QObject>

class QSocketNotifier;

namespace tw {

class TerminationSignals : public QObject {
    Q_OBJECT
public:
    // Installs the handlers; one object per program.
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

signals:
    void received(int signalNumber);

private:
    QSocketNotifier* notifier_ = nullptr;
};

} // namespace tw
