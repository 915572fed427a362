#include "platform/hotkey_registrar.h"

#include "hotkeys/hotkey_table.h"
#include "platform/physical_keys.h"

#include <QCoreApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLockFile>

namespace tw {

namespace {
Qt::KeyboardModifiers qtModifiers(int flags) {
    Qt::KeyboardModifiers m;
    if (flags & kModAlt) m |= Qt::AltModifier;
    if (flags & kModControl) m |= Qt::ControlModifier;
    if (flags & kModShift) m |= Qt::ShiftModifier;
    return m;
}
} // namespace

ApplicationHotkeyRegistrar::ApplicationHotkeyRegistrar(QString lockFolder, QObject* parent)
    : QObject(parent), lockFolder_(std::move(lockFolder)) {
    QCoreApplication::instance()->installEventFilter(this);
}

ApplicationHotkeyRegistrar::~ApplicationHotkeyRegistrar() {
    if (QCoreApplication::instance()) QCoreApplication::instance()->removeEventFilter(this);
    held_.clear();
    QDir().rmdir(lockFolder_);  // only when no other copy holds a key in it
}

bool ApplicationHotkeyRegistrar::registerHotKey(int id, int modifiers, int key) {
    const int known = kModAlt | kModControl | kModShift;
    if (held_.count(id) || (modifiers & known) == 0 || (modifiers & ~known) != 0 || key < 'A' || key > 'Z')
        return false;
    if (!QDir().mkpath(lockFolder_)) return false;
    auto lock = std::make_unique<QLockFile>(
        QDir(lockFolder_).filePath(QStringLiteral("%1-%2.lock").arg(modifiers).arg(QChar(key))));
    // A lock is stale only when its owner has gone, never by its age.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0)) return false;
    held_.emplace(id, Registration{modifiers, key, std::move(lock)});
    return true;
}

void ApplicationHotkeyRegistrar::unregisterHotKey(int id) { held_.erase(id); }

int ApplicationHotkeyRegistrar::idOf(const QKeyEvent& event) const {
    const Qt::KeyboardModifiers mods =
        event.modifiers() & (Qt::AltModifier | Qt::ControlModifier | Qt::ShiftModifier | Qt::MetaModifier);
    const int letter = latinLetterOf(event);
    if (letter == 0) return 0;
    for (const auto& [id, r] : held_)
        if (letter == r.key && mods == qtModifiers(r.modifiers)) return id;
    return 0;
}

bool ApplicationHotkeyRegistrar::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::ShortcutOverride) return QObject::eventFilter(watched, event);
    const int id = idOf(*static_cast<QKeyEvent*>(event));
    if (id == 0) return QObject::eventFilter(watched, event);
    // Claiming the override keeps the window's own shortcuts for the combination silent;
    // the key press that follows is the registered press, and no widget sees it.
    event->accept();
    if (type == QEvent::KeyPress && receiver_) receiver_(id);
    return true;
}

} // namespace tw
