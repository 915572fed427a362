#pragma once
// A main window over a temporary program folder with a scripted prompter, and the steps
// most window tests begin with.

#include "app/main_window.h"
#include "window_parts.h"
#include "scripted_prompter.h"

#include <QAction>
#include <QCoreApplication>
#include <QElapsedTimer>
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
    // Lets events through until a collection read in the background (start-up) is shown;
    // false when it is still being read after a generous while.
    bool readEnds() {
        QElapsedTimer waited;
        waited.start();
        while (form->document().isReading() && waited.elapsed() < 30000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return !form->document().isReading();
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
