#pragma once
// A main window over a temporary program folder with a scripted prompter, and the steps
// most window tests begin with.

#include "app/main_window.h"
#include "window_parts.h"
#include "scripted_prompter.h"

#include <QAction>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace tw {

class MainWindowTest : public testing::Test {
protected:
    ScriptedPrompter prompter;
    QTemporaryDir dir;
    std::unique_ptr<MainWindow> form = std::make_unique<MainWindow>(prompter, ProgramPaths::inFolder(dir.path()));

    void trigger(const char* name) {
        QAction* a = form->command(QString::fromLatin1(name));
        ASSERT_NE(a, nullptr) << name;
        ASSERT_TRUE(a->isEnabled()) << name;
        a->trigger();
    }
    // Opens a copy of the example collection with "Открыть...".
    void openExample() {
        const QString copy = dir.filePath("example.xml");
        QFile::copy(QStringLiteral(TARNWICK_FIXTURES "/example.xml"), copy);
        prompter.fileChoices.push_back(FileChoice{copy, 1});
        trigger("openCollection");
    }
};

} // namespace tw
