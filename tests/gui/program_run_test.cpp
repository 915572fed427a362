// The real program, started offscreen: where it keeps its settings when portable and when
// installed, the collection named on its command line, and SIGTERM / SIGINT closing the
// window as its close box does (shut-down writes Settings.ini).

#include "app/ini_file.h"
#include "../qt_printers.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <gtest/gtest.h>

using namespace tw;

namespace {

struct ProgramCopy {
    QTemporaryDir root;
    QTemporaryDir runtime;  // XDG_RUNTIME_DIR must belong to the user alone (0700)
    QProcess process;

    // Copies the program to root/PROGRAMDIR and starts it there.
    bool start(const QString& programDir, const QStringList& arguments = {}) {
        const QDir prefix(root.path());
        const QString program = prefix.filePath(programDir + "/tarnwick");
        if (!prefix.mkpath(programDir) || !QFile::copy(QStringLiteral(TARNWICK_PROGRAM), program)) return false;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("XDG_CONFIG_HOME", prefix.filePath("config"));
        env.insert("XDG_RUNTIME_DIR", runtime.path());
        process.setProcessEnvironment(env);
        process.start(program, arguments);
        return process.waitForStarted(10000);
    }
    // Waits until the window holds its own keys (the lock files appear), then signals it.
    bool stopWith(int signalNumber) {
        const QDir locks(QDir(runtime.path()).filePath("tarnwick-hotkeys"));
        bool ready = false;
        for (int i = 0; i < 300 && !ready && process.state() == QProcess::Running; ++i) {
            ready = !locks.entryList(QDir::Files).isEmpty();
            if (!ready) QTest::qWait(50);
        }
        if (!ready) return false;
        ::kill(static_cast<pid_t>(process.processId()), signalNumber);
        return process.waitForFinished(20000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    }
    QString path(const QString& relative) const { return QDir(root.path()).filePath(relative); }
};

TEST(ProgramRun, PortableCopyKeepsItsSettingsBesideItselfAndOpensTheFileGiven) {
    ProgramCopy run;
    const QString collection = run.path("work/Коды.xml");
    ASSERT_TRUE(QDir().mkpath(run.path("work")) && QFile::copy(TARNWICK_FIXTURES "/example.xml", collection));
    ASSERT_TRUE(run.start("portable", {collection}));
    ASSERT_TRUE(run.stopWith(SIGTERM)) << run.process.readAllStandardError().toStdString();
    ASSERT_TRUE(QFile::exists(run.path("portable/Settings.ini")));
    EXPECT_EQ(IniFile(run.path("portable/Settings.ini")).readText("Files", "LastFile"), collection)
        << "the collection named on the command line was open at shut-down";
    EXPECT_FALSE(QFile::exists(run.path("config/tarnwick")));
}

TEST(ProgramRun, InstalledCopyKeepsItsSettingsInTheConfigurationFolder) {
    ProgramCopy run;
    ASSERT_TRUE(QDir().mkpath(run.path("usr/share/tarnwick/help")));
    ASSERT_TRUE(run.start("usr/bin"));
    ASSERT_TRUE(run.stopWith(SIGINT)) << run.process.readAllStandardError().toStdString();
    EXPECT_TRUE(QFile::exists(run.path("config/tarnwick/Settings.ini")));
    EXPECT_TRUE(QDir(run.path("config/tarnwick/programs")).exists());
    EXPECT_FALSE(QFile::exists(run.path("usr/bin/Settings.ini")));
}

} // namespace
