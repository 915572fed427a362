#pragma once
// Settings.ini: sections of key=value lines, names matched without regard to case.
// Values follow one set of rules for every reader and writer: integers in decimal
// (or hexadecimal after "0x" or "$"), Booleans as 1 and 0, texts of at most 2047
// characters. A missing file, section or key, or a value that is no valid integer,
// reads as the caller's default.

#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>

namespace tw {

class IniFile {
public:
    // Reads the file (a missing or unreadable file is an empty one).
    explicit IniFile(QString path);
    ~IniFile();
    IniFile(const IniFile&) = delete;
    IniFile& operator=(const IniFile&) = delete;

    const QString& path() const { return path_; }

    QString readText(const QString& section, const QString& key, const QString& fallback = {}) const;
    std::int32_t readInt(const QString& section, const QString& key, std::int32_t fallback) const;
    bool readBool(const QString& section, const QString& key, bool fallback) const;
    // The names of the keys of a section, as spelled in the file (none when it is absent).
    QStringList keys(const QString& section) const;

    // Every CR and LF of section, key and value is written as a space: no line breaks.
    void writeText(const QString& section, const QString& key, const QString& value);
    void writeInt(const QString& section, const QString& key, std::int32_t value);
    void writeBool(const QString& section, const QString& key, bool value);

    // Writes the file in one step, keeping every section and key it did not change.
    // False when the file cannot be written; the old file then stays as it was.
    bool save() const;

    // The integer value rule on its own.
    static bool parseInt(const QString& text, std::int32_t& value);

private:
    QString path_;
    struct Data;
    std::unique_ptr<Data> data_;
};

// "Unable to write to <path>", the message for a refused settings write.
QString unableToWrite(const QString& path);

} // namespace tw
