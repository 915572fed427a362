#pragma once
// Starting programs and opening documents, folders and addresses with the desktop's
// default action. The window holds one Launcher; tests put a recording fake in its place.

#include <QString>

namespace tw {

class Launcher {
public:
    virtual ~Launcher() = default;
    // Starts `target` when it is a program (a path, or a bare name found on PATH as the
    // shell finds programs), otherwise opens it (a file, a folder or an address) with its
    // default handler. False when nothing could be started or opened.
    virtual bool shellExecute(const QString& target) = 0;
};

// What a target given to the launcher is.
struct LaunchTarget {
    enum Kind { Nothing, Address, Program, Document } kind = Nothing;
    QString path;  // the program's or document's absolute path, or the address
};
LaunchTarget resolveLaunchTarget(const QString& target);

// The message for a target that could not be started or opened.
QString launchFailedMessage(const QString& target);

// Programs through QProcess::startDetached, everything else through QDesktopServices.
class DesktopLauncher : public Launcher {
public:
    bool shellExecute(const QString& target) override;
};

} // namespace tw
