#include "app/ini_file.h"
#include "schemes/scheme_settings.h"
#include "../qt_printers.h"
#include "../test_files.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tw;

TEST(Settings, IntegerValueRules) {
    struct Case {
        const char* text;
        int expected;  // 77 = the default
    };
    for (const Case& c : {Case{"12", 12}, Case{"-5", -5}, Case{"0x1F", 31}, Case{"0X1f", 31}, Case{"$FF", 255},
                          Case{"255", 255}, Case{"0xFF", 255}, Case{"0xFFFFFFFF", -1}, Case{"0x", 77}, Case{"red", 77},
                          Case{"", 77}, Case{"12abc", 77}, Case{"536870911", 536870911}}) {
        QTemporaryDir dir;
        const QString path = dir.filePath("Settings.ini");
        ASSERT_TRUE(writeFileBytes(path, QByteArray("[Controls]\nValue=") + c.text + "\n"));
        EXPECT_EQ(IniFile(path).readInt("Controls", "Value", 77), c.expected) << c.text;
    }
}

TEST(Settings, NamesIgnoreCaseTextsAreCutAndMissingFilesReadDefaults) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Settings.ini");
    EXPECT_EQ(IniFile(path).readText("Files", "LastFile", "none"), "none");
    EXPECT_FALSE(IniFile(path).readBool("Controls", "Recurse", false));
    ASSERT_TRUE(writeFileBytes(path, "[files]\nlastfile=/home/u/Коды.xml\n[Controls]\nRecurse=2\nLong=" + QByteArray(3000, 'x') + "\n"));
    const IniFile ini(path);
    EXPECT_EQ(ini.readText("Files", "LastFile"), "/home/u/Коды.xml");
    EXPECT_TRUE(ini.readBool("CONTROLS", "recurse", false));
    EXPECT_EQ(ini.readText("Controls", "Long").size(), 2047);
}

TEST(Settings, WritingKeepsWhatItDoesNotChange) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Settings.ini");
    ASSERT_TRUE(writeFileBytes(path, "[Other]\nx=1\n[Window]\nextra=2\nleft=5\n"));
    {
        IniFile ini(path);
        ini.writeInt("Window", "Left", -4);
        ini.writeBool("Controls", "Recurse", true);
        ASSERT_TRUE(ini.save());
    }
    const IniFile back(path);
    EXPECT_EQ(back.readInt("Other", "x", 0), 1);
    EXPECT_EQ(back.readInt("Window", "extra", 0), 2);
    EXPECT_EQ(back.readInt("Window", "left", 0), -4);
    EXPECT_TRUE(readFileBytes(path).contains("Recurse=1"));
}

TEST(Settings, LineBreaksInAValueNeverAddKeysOrSections) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Settings.ini");
    const QString values[] = {"/tmp/a\n[Update]\nhost=evil.example", "x\r\nhost=evil.example", "one\rtwo", "\n",
                              QStringLiteral("before") + QChar(0) + QStringLiteral("after")};
    {
        IniFile ini(path);
        for (int i = 0; i < 5; ++i) ini.writeText("Files", QStringLiteral("V%1").arg(i), values[i]);
        ini.writeText("Files", "host\r\nx", "y");
        ASSERT_TRUE(ini.save());
    }
    const IniFile back(path);
    EXPECT_EQ(back.readText("Files", "V0"), "/tmp/a [Update] host=evil.example");
    EXPECT_EQ(back.readText("Files", "V1"), "x  host=evil.example");
    EXPECT_EQ(back.readText("Files", "V2"), "one two");
    EXPECT_EQ(back.readText("Files", "V3"), "");  // blanks around a value are never kept
    EXPECT_EQ(back.readText("Files", "V4"), "before after");  // the text after a NUL is not lost
    EXPECT_EQ(back.readText("Files", "host  x"), "y");
    QStringList keys = back.keys("Files");
    keys.sort();
    EXPECT_EQ(keys, QStringList({"V0", "V1", "V2", "V3", "V4", "host  x"}));
    EXPECT_TRUE(back.keys("Update").isEmpty());
    for (const QByteArray& line : readFileBytes(path).split('\n'))
        EXPECT_TRUE(line.isEmpty() || line == "[Files]" || line.contains('=')) << line.constData();
}

TEST(Settings, RefusedWriteIsReported) {
    IniFile ini("/nonexistent/folder/Settings.ini");
    ini.writeInt("Window", "left", 1);
    EXPECT_FALSE(ini.save());
    EXPECT_EQ(unableToWrite("/x/Settings.ini"), "Unable to write to /x/Settings.ini");
}

TEST(Settings, SchemeColoursRoundTripEveryLanguageAndAttribute) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Settings.ini");
    HighlighterSet set;
    // Every attribute gets its own value; a system colour (negative) is kept as it is.
    std::int32_t value = 1;
    for (Highlighter* h : set.list())
        for (int i = 0; i < static_cast<int>(h->attributes().size()); ++i) h->attribute(i).foreground = value++;
    set.byPosition(14).attribute(set.byPosition(14).attributeIndex(u"SQL*Plus Command")).foreground = 0x80000008;
    {
        IniFile ini(path);
        saveSchemeColours(ini, set);
        ASSERT_TRUE(ini.save());
    }
    const QByteArray text = readFileBytes(path);
    EXPECT_TRUE(text.contains("[C/C++]"));
    EXPECT_TRUE(text.contains("PL/SQL Reserved Word="));
    EXPECT_TRUE(text.contains("SQL*Plus Command=-2147483640"));

    HighlighterSet fresh;
    loadSchemeColours(IniFile(path), fresh);
    for (int p = 0; p < kLanguageCount; ++p)
        for (size_t i = 0; i < set.byPosition(p).attributes().size(); ++i)
            EXPECT_EQ(fresh.byPosition(p).attributes()[i].foreground, set.byPosition(p).attributes()[i].foreground);

    // No file at all: every colour is none.
    HighlighterSet none;
    loadSchemeColours(IniFile(dir.filePath("missing.ini")), none);
    EXPECT_EQ(none.byPosition(0).attributes()[0].foreground, kNoColor);
}
