// The files beside the program: keys.dat and Settings.ini.

#include "checks.h"

#include "app/ini_file.h"
#include "hotkeys/hotkey_table.h"

#include <QFile>
#include <QSet>
#include <QTemporaryDir>

namespace tw::fuzz {

namespace {

std::string rowText(const HotKeyRow& row) {
    return "{" + row.modifier.toStdString() + ", " + row.letter.toStdString() + ", " + std::to_string(row.keyCode) +
           ", " + std::to_string(row.text.size()) + " characters}";
}

bool writeWhole(const QString& fileName, const QByteArray& bytes) {
    QFile file(fileName);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A line of text after its first, as readKeysBytes splits lines (at LF, one CR before it
// dropped), that is the separator.
bool hasSeparatorAfterFirstLine(const QString& text) {
    const QStringList lines = text.split(u'\n');
    for (qsizetype i = 1; i < lines.size(); ++i) {
        QStringView line = lines.at(i);
        if (line.endsWith(u'\r')) line.chop(1);
        if (line == kKeysSeparator) return true;
    }
    return false;
}

// The names between "[" and "]" at the starts of lines, each once.
QSet<QString> sectionNames(const QByteArray& bytes) {
    QSet<QString> names;
    for (const QByteArray& line : bytes.split('\n')) {
        const QByteArray trimmed = line.trimmed();
        const qsizetype close = trimmed.indexOf(']');
        if (trimmed.startsWith('[') && close > 0) names.insert(QString::fromUtf8(trimmed.mid(1, close - 1)));
    }
    return names;
}

} // namespace

Finding checkKeysFile(std::string_view input) {
    const KeysReadResult read = readKeysBytes(QByteArray(input.data(), static_cast<qsizetype>(input.size())));
    for (const HotKeyRow& row : read.rows)
        if (row.letter.isEmpty()) return "a row without a key letter was kept";
    // What was read (also before a failure) is what the table would write; it reads back
    // whole. A text with the separator on a later line is the exception the format keeps:
    // it is written as it is and read back as two records.
    for (const HotKeyRow& row : read.rows)
        if (hasSeparatorAfterFirstLine(row.text)) return {};
    const KeysReadResult again = readKeysBytes(keysFileBytes(read.rows));
    if (!again.ok || again.replacedInvalidBytes) return "the written table does not read back cleanly";
    if (again.rows.size() != read.rows.size())
        return std::to_string(read.rows.size()) + " rows became " + std::to_string(again.rows.size());
    for (size_t i = 0; i < read.rows.size(); ++i) {
        const HotKeyRow& a = read.rows[i];
        const HotKeyRow& b = again.rows[i];
        if (a.modifier != b.modifier || a.letter != b.letter || a.keyCode != b.keyCode || a.text != b.text)
            return "row " + std::to_string(i) + " " + rowText(a) + " became " + rowText(b);
    }
    return {};
}

Finding checkSettingsIni(std::string_view input) {
    static const QTemporaryDir dir;
    if (!dir.isValid()) return "no scratch folder";
    const QByteArray bytes(input.data(), static_cast<qsizetype>(input.size()));

    // Reading: every key of every section the file names follows the value rules.
    const QString readPath = dir.filePath(QStringLiteral("read.ini"));
    if (!writeWhole(readPath, bytes)) return "cannot write the scratch file";
    const IniFile ini(readPath);
    for (const QString& section : sectionNames(bytes)) {
        for (const QString& key : ini.keys(section)) {
            const QString text = ini.readText(section, key);
            if (text.size() > 2047) return "a text of " + std::to_string(text.size()) + " characters";
            std::int32_t parsed = 0;
            const bool isInt = IniFile::parseInt(ini.readText(section, key).trimmed(), parsed);
            const std::int32_t a = ini.readInt(section, key, 7), b = ini.readInt(section, key, -7);
            if (isInt ? (a != parsed || b != parsed) : (a != 7 || b != -7))
                return "readInt of \"" + text.toStdString() + "\" disagrees with the integer rule";
            if (ini.readBool(section, key, false) != (isInt && parsed != 0))
                return "readBool of \"" + text.toStdString() + "\" disagrees with readInt";
            // The integer rule reads back what writeInt writes.
            std::int32_t back = 0;
            if (isInt && (!IniFile::parseInt(QString::number(parsed), back) || back != parsed))
                return "the integer " + std::to_string(parsed) + " does not read back";
        }
    }

    // Writing: the input as a value (as a file name is kept) cannot add a key or section.
    const QString value = QString::fromUtf8(bytes);
    const QString writePath = dir.filePath(QStringLiteral("write.ini"));
    QFile::remove(writePath);
    {
        IniFile out(writePath);
        out.writeText(QStringLiteral("Update"), QStringLiteral("host"), QStringLiteral("update.example"));
        out.writeText(QStringLiteral("Files"), QStringLiteral("LastFile"), value);
        if (!out.save()) return "the settings were not saved";
    }
    const IniFile back(writePath);
    const QStringList files = back.keys(QStringLiteral("Files")), update = back.keys(QStringLiteral("Update"));
    if (files != QStringList{QStringLiteral("LastFile")} || update != QStringList{QStringLiteral("host")})
        return "a value added keys: [Files] " + files.join(u',').toStdString() + " [Update] " + update.join(u',').toStdString();
    if (back.readText(QStringLiteral("Update"), QStringLiteral("host")) != u"update.example")
        return "a value changed [Update] host";
    // Line breaks and NUL characters are written as spaces, and the reader drops spaces and
    // tabs at the value's ends.
    QString expected = value;
    expected.replace(u'\r', u' ').replace(u'\n', u' ').replace(QChar(0), u' ');
    const auto blank = [](QChar c) { return c == u' ' || c == u'\t'; };
    while (!expected.isEmpty() && blank(expected.back())) expected.chop(1);
    qsizetype lead = 0;
    while (lead < expected.size() && blank(expected[lead])) ++lead;
    expected = expected.mid(lead).left(2047);
    const QString got = back.readText(QStringLiteral("Files"), QStringLiteral("LastFile"));
    if (got != expected)
        return "the value \"" + expected.toStdString() + "\" read back as \"" + got.toStdString() + "\"";
    return {};
}

} // namespace tw::fuzz
