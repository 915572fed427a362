#pragma once
// A launcher that only records what it was asked to start or open.

#include "platform/launcher.h"

#include <QStringList>

namespace tw {

class RecordingLauncher : public Launcher {
public:
    QStringList targets;
    void shellExecute(const QString& target) override { targets << target; }
};

} // namespace tw
