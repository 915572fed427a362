#pragma once
// The encoding of a text file read from disk. Files are written in UTF-8; files made by
// earlier versions on Russian Windows are in Windows-1251. The bytes decide: a file whose
// multi-byte sequences are overwhelmingly valid UTF-8 is UTF-8 even with a few damaged
// bytes (each becomes U+FFFD); only a file that shows no such evidence is Windows-1251.

#include <QByteArray>
#include <string>
#include <string_view>

namespace tw {

// Counts of a UTF-8 scan: well-formed multi-byte sequences, and ill-formed ones (each
// maximal ill-formed part, as a decoder replaces it, counts once).
struct Utf8Evidence {
    qsizetype validSequences = 0;
    qsizetype invalidSequences = 0;
};
Utf8Evidence scanUtf8(const QByteArray& bytes);

// UTF-8 when every sequence is valid, or when there are at least this many valid
// multi-byte sequences for each invalid one. Windows-1251 Cyrillic text rarely forms a
// valid sequence at all (a letter is followed by a letter, never by a continuation byte).
inline constexpr qsizetype kValidPerInvalidSequence = 4;

// The file's bytes as UTF-8: kept as they are when valid UTF-8, with each invalid sequence
// replaced by U+FFFD when the file is UTF-8 by the rule above (replaced, when given, is
// then set to true so the caller can tell the user once), else decoded as Windows-1251.
QByteArray textFileAsUtf8(const QByteArray& bytes, bool* replaced = nullptr);

// What the user is told, once per operation, when such bytes were replaced.
QString invalidBytesReplacedMessage(const QString& what);

// Appends text to out with every line break (CR LF, LF alone, CR alone) written as CR LF.
// Runs between breaks are copied whole, found with memchr: linear in the text, and close to
// a plain copy for text whose lines are long.
void appendWithCrLf(std::string& out, std::string_view text);
// The same into a new string.
std::string withCrLf(std::string_view text);

} // namespace tw
