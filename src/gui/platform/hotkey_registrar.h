#pragma once
// System-wide key combinations. A combination is registered under an identifier and,
// while it is held, its presses reach the receiver with that identifier instead of any
// widget or shortcut of the program.
//
// ApplicationHotkeyRegistrar catches the combinations application-wide while one of the
// program's windows is active, and holds each one with a per-user lock file, so that a
// second running copy (or a second registrar on the same lock folder) fails to register it.

#include <QObject>
#include <QString>
#include <functional>
#include <map>
#include <memory>

class QKeyEvent;
class QLockFile;

namespace tw {

class HotkeyRegistrar {
public:
    virtual ~HotkeyRegistrar() = default;
    // Modifiers are the flags kModAlt / kModControl / kModShift, key a letter 'A'..'Z'.
    // False when the combination is held elsewhere, the identifier is taken, or the
    // combination has no modifier or no letter.
    virtual bool registerHotKey(int id, int modifiers, int key) = 0;
    virtual void unregisterHotKey(int id) = 0;
    // Receives the identifier of each press of a registered combination.
    void setReceiver(std::function<void(int id)> receiver) { receiver_ = std::move(receiver); }

protected:
    std::function<void(int)> receiver_;
};

class ApplicationHotkeyRegistrar : public QObject, public HotkeyRegistrar {
public:
    explicit ApplicationHotkeyRegistrar(QString lockFolder, QObject* parent = nullptr);
    ~ApplicationHotkeyRegistrar() override;
    bool registerHotKey(int id, int modifiers, int key) override;
    void unregisterHotKey(int id) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Registration {
        int modifiers;
        int key;
        std::unique_ptr<QLockFile> lock;
    };
    int idOf(const QKeyEvent& event) const;

    QString lockFolder_;
    std::map<int, Registration> held_;
};

} // namespace tw
