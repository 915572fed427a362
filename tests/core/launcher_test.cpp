#include "app/ini_file.h"
#include "launcher/applications_list.h"
#include "launcher/programs_folder.h"
#include "../qt_printers.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tw;

namespace tw {
void PrintTo(const AppEntry& e, std::ostream* os) {
    *os << '{' << e.description.toStdString() << " | " << e.object.toStdString() << '}';
}
} // namespace tw

namespace {
void writeAll(const QString& path, const QByteArray& bytes, bool executable = false) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    f.close();
    if (executable) f.setPermissions(f.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeUser);
}
} // namespace

TEST(ApplicationsList, ReadsTheEntriesBelowCountAndSkipsIncompletePairs) {
    struct Case {
        const char* files;
        std::vector<AppEntry> expected;
    };
    const Case cases[] = {
        {"", {}},
        {"count=0\nD0=a\nF0=b\n", {}},
        {"count=-3\nD0=a\nF0=b\n", {}},
        {"count=red\nD0=a\nF0=b\n", {}},
        // D1 missing: two entries, the second taking index 1.
        {"count=3\nD0=Editor\nF0=/usr/bin/ed\nF1=/tmp\nD2=Docs\nF2=/home/u/docs\n",
         {{"Editor", "/usr/bin/ed"}, {"Docs", "/home/u/docs"}}},
        // count bounds the reading; D5/F5 of a longer list are left alone.
        {"count=2\nD0=a\nF0=1\nD1=b\nF1=2\nD5=old\nF5=9\n", {{"a", "1"}, {"b", "2"}}},
        // An empty object skips the pair; names ignore case, leading zeros name no index.
        {"count=4\nd1=b\nf1=2\nD0=a\nF0=\nD02=c\nF02=3\nD3=d\nF3=4\n", {{"b", "2"}, {"d", "4"}}},
        // A huge count reads only what is there, at once.
        {"count=2147483647\nD7=x\nF7=y\nD99999999999=z\nF99999999999=w\n", {{"x", "y"}}},
        {"count=0x2\nD1=\"  blank  \"\nF1=\"\"q\"\"\n", {{"  blank  ", "\"q\""}}},
    };
    for (const Case& c : cases) {
        QTemporaryDir dir;
        const QString path = dir.filePath("Settings.ini");
        writeAll(path, QByteArray("[Window]\nleft=1\n[Files]\nLastFile=/x.xml\n") + c.files);
        EXPECT_EQ(readApplicationList(IniFile(path)), c.expected) << c.files;
    }
}

TEST(ApplicationsList, WritingRenumbersAndKeepsEveryTextAsTyped) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Settings.ini");
    writeAll(path, "[Files]\nLastFile=/x.xml\ncount=3\nD0=a\nF0=1\nF1=2\nD2=c\nF2=3\nD5=old\nF5=9\n");
    std::vector<AppEntry> entries = readApplicationList(IniFile(path));
    ASSERT_EQ(entries.size(), 2u);
    // Blanks at either end, quotes and a line break that would start a new key.
    entries.push_back({"  Editor ", "\t/usr/bin/ed"});
    entries.push_back({"\"quoted\"", "x\r\ncount=99"});
    entries.push_back({"\"", "Мои документы"});
    {
        IniFile ini(path);
        writeApplicationList(ini, entries);
        ASSERT_TRUE(ini.save());
    }
    const IniFile back(path);
    EXPECT_EQ(back.readInt("Files", "count", -1), 5);
    EXPECT_EQ(back.readText("Files", "D1"), "c");
    EXPECT_EQ(back.readText("Files", "F1"), "3");
    EXPECT_EQ(back.readText("Files", "LastFile"), "/x.xml");
    EXPECT_EQ(back.readText("Files", "D5"), "old");  // beyond count, never read
    entries[3].object = "x  count=99";
    EXPECT_EQ(readApplicationList(back), entries);
}

TEST(ApplicationsList, BlankTestAndMenuPosition) {
    for (const char* blank : {"", " ", "\t \r\n", "\x01\x1f "}) EXPECT_TRUE(isBlankEntryText(blank)) << blank;
    for (const char* text : {"a", "  a  ", "\xc2\xa0"}) EXPECT_FALSE(isBlankEntryText(QString::fromUtf8(text))) << text;
    // A menu of the separator and "Редактировать список" takes entries just before them.
    EXPECT_EQ(entryMenuPosition(2), 0);
    EXPECT_EQ(entryMenuPosition(5), 3);
    EXPECT_EQ(entryMenuPosition(1), 0);
    EXPECT_EQ(entryMenuPosition(0), 0);
}

TEST(ProgramsFolder, ListsExecutableFilesByCaptionUpToTheFirstDot) {
    QTemporaryDir dir;
    const QDir programs(dir.filePath("programs"));
    ASSERT_TRUE(QDir().mkpath(programs.path()));
    writeAll(programs.filePath("a.b.exe"), "#!/bin/sh\n", true);
    writeAll(programs.filePath("Notepad"), "#!/bin/sh\n", true);
    writeAll(programs.filePath("readme.txt"), "text");                 // not executable
    ASSERT_TRUE(QDir().mkpath(programs.filePath("x.exe")));            // a folder named like a program
    writeAll(programs.filePath("x.exe/inner"), "#!/bin/sh\n", true);    // not searched
    ASSERT_TRUE(QFile::link(programs.filePath("Notepad"), programs.filePath("link.sh")));
    ASSERT_TRUE(QFile::link(programs.filePath("gone"), programs.filePath("broken")));

    const std::vector<ProgramFile> found = findPrograms(programs.path());
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found[0].caption, "a");
    EXPECT_EQ(found[0].path, programs.filePath("a.b.exe"));
    EXPECT_EQ(found[1].caption, "link");
    EXPECT_EQ(found[1].path, programs.filePath("link.sh"));
    EXPECT_EQ(found[2].caption, "Notepad");
    EXPECT_TRUE(findPrograms(dir.filePath("missing")).empty());
    EXPECT_TRUE(findPrograms(QString()).empty());
    EXPECT_EQ(programCaption(".profile"), ".profile");
    EXPECT_EQ(programCaption("a.b"), "a");
}
