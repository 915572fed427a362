#include "app/program_paths.h"
#include "../qt_printers.h"
#include "../test_files.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tw;

// Settings.ini, keys.dat and programs/ lie beside a portable program and in the user's
// configuration folder otherwise; Help.chm stays beside the program either way, and the
// guide is the one beside the program, else the installed one.
TEST(ProgramPaths, PortableAndInstalledPlaces) {
    QTemporaryDir root;
    const QDir prefix(root.path());
    ASSERT_TRUE(prefix.mkpath("bin") && prefix.mkpath("share/tarnwick/help") && prefix.mkpath("portable/help"));
    ASSERT_TRUE(writeFileBytes(prefix.filePath("share/tarnwick/help/index.html"), "<html/>"));
    ASSERT_TRUE(writeFileBytes(prefix.filePath("portable/help/index.html"), "<html/>"));
    const QString config = prefix.filePath("config/tarnwick");
    struct Case {
        const char* programDir;
        bool portable;
        QString settingsDir;
        const char* guide;
    };
    for (const Case& c : {Case{"portable", true, prefix.filePath("portable"), "portable/help/index.html"},
                          Case{"portable", false, config, "portable/help/index.html"},
                          Case{"bin", false, config, "share/tarnwick/help/index.html"},
                          Case{"bin", true, prefix.filePath("bin"), "share/tarnwick/help/index.html"}}) {
        const QString programDir = prefix.filePath(c.programDir);
        const ProgramPaths paths = ProgramPaths::choose(programDir, c.portable, config);
        SCOPED_TRACE(std::string(c.programDir) + (c.portable ? " portable" : " installed"));
        EXPECT_EQ(paths.settingsFile, QDir(c.settingsDir).filePath("Settings.ini"));
        EXPECT_EQ(paths.keysFile, QDir(c.settingsDir).filePath("keys.dat"));
        EXPECT_EQ(paths.programsDir, QDir(c.settingsDir).filePath("programs"));
        EXPECT_EQ(paths.helpFile, QDir(programDir).filePath("Help.chm"));
        EXPECT_EQ(paths.helpGuide, prefix.filePath(c.guide));
    }
    EXPECT_FALSE(QDir(config).exists()) << "choosing creates nothing";
}

// A program with ../share/tarnwick beside its folder is an installed copy, even where the
// folder can be written (root writes /usr/bin); any other writable folder is portable.
TEST(ProgramPaths, InstalledCopiesAreNeverPortable) {
    QTemporaryDir root;
    const QDir prefix(root.path());
    ASSERT_TRUE(prefix.mkpath("usr/bin") && prefix.mkpath("usr/share/tarnwick") && prefix.mkpath("portable"));
    EXPECT_FALSE(ProgramPaths::isPortable(prefix.filePath("usr/bin")));
    EXPECT_TRUE(ProgramPaths::isPortable(prefix.filePath("portable")));
}
