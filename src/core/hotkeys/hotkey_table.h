#pragma once
// The hotkey table: key combinations of one modifier (ALT, CONTROL or SHIFT) and one
// letter A-Z, each bound to a text snippet, and the file keys.dat that keeps them.
//
// keys.dat holds one record per row, every line ended by CR LF: the modifier name, the
// key letter, the text's lines, then the separator "######". An empty table is an empty
// file. UTF-8 is written; a file that is not valid UTF-8 is read as Windows-1251.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

namespace tw {

// Modifier flags of a registration.
inline constexpr int kModAlt = 1;
inline constexpr int kModControl = 2;
inline constexpr int kModShift = 4;

// The modifier names in the order of the assignment dialog's list.
inline const QStringList kModifierNames = {QStringLiteral("ALT"), QStringLiteral("CONTROL"), QStringLiteral("SHIFT")};
inline const QString kKeysSeparator = QStringLiteral("######");
inline const QString kForbiddenCombination = QStringLiteral("Данное сочетание запрещенно");
inline const QString kKeysReadError = QStringLiteral("Ошибка при чтении ");
inline const QString kUnableToRegister = QStringLiteral("Unable to register ");

struct HotKeyRow {
    QString modifier;  // "ALT", "CONTROL" or "SHIFT"
    QString letter;    // "A" .. "Z"
    int keyCode = 0;   // letter code + 0x8000 / 0x4000 / 0x2000; finds duplicates
    QString text;      // the snippet; line breaks are CR LF
    QString caption() const { return modifier + QStringLiteral(" + ") + letter; }
};

// Registration flags of a modifier's list position / name; 0 for any other.
int modifiersAt(int position);
int modifiersNamed(const QString& modifier);
// Key code of a modifier's list position and the first character of a letter text;
// 0 for any other position or an empty letter.
int keyCodeAt(int position, const QString& letter);
// Key code of a letter and a modifier name; 0 for any other name.
int keyCodeFor(QChar letter, const QString& modifier);
// True for the combinations the table refuses: the program's own keys, copy and paste.
bool isReservedCombination(const QString& modifier, const QString& letter);
// True when some row has the key code.
bool hasKeyCode(const std::vector<HotKeyRow>& rows, int keyCode);
// The virtual key of a row's letter (its first character), 0 when it is no letter A-Z.
int rowKey(const HotKeyRow& row);

// Removes every character with a code of 32 or less from both ends.
QString trimControls(const QString& text);

// The bytes of keys.dat for a table.
QByteArray keysFileBytes(const std::vector<HotKeyRow>& rows);

struct KeysReadResult {
    std::vector<HotKeyRow> rows;  // the rows read, also those before a failure
    bool ok = true;               // false: the file is damaged or could not be read
    bool replacedInvalidBytes = false;  // a UTF-8 file with damaged bytes, each read as U+FFFD
};

// Reads the records of keys.dat. A record with an empty key letter is a failure that ends
// the reading. A last record without its separator is kept when it has a letter; trailing
// blank lines are ignored.
KeysReadResult readKeysBytes(const QByteArray& bytes);
// A missing file is an empty table (the first start); a file that cannot be read fails.
KeysReadResult loadKeys(const QString& fileName);
// Writes the table through a complete replacement of the file; false when nothing was written.
bool saveKeys(const QString& fileName, const std::vector<HotKeyRow>& rows);

} // namespace tw
