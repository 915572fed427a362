#pragma once
// Starting programs and opening documents, folders and addresses with the desktop's
// default action. The window holds one Launcher; tests put a recording fake in its place.

#include <QString>

namespace tw {

class Launcher {
public:
    virtual ~Launcher() = default;
    // Starts `target` when it is a program, otherwise opens it (a file, a folder or an
    // address) with its default handler. Failures are silent: nothing is reported.
    virtual void shellExecute(const QString& target) = 0;
};

// Programs through QProcess::startDetached, everything else through QDesktopServices.
class DesktopLauncher : public Launcher {
public:
    void shellExecute(const QString& target) override;
};

} // namespace tw
