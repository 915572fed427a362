#pragma once
// A launcher that only records what it was asked to start or open.

#include "platform/launcher.h"

#include <QStringList>

namespace tw {

class RecordingLauncher : public Launcher {
public:
    QStringList targets;
    bool succeeds = true;  // what every start reports
    bool shellExecute(const QString& target) override {
        targets << target;
        return succeeds;
    }
};

} // namespace tw
