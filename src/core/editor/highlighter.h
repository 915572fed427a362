#pragma once
// A syntax highlighter: a language name, a default file filter, a list of attributes
// (named token classes with colours and font styles, sorted by name) and a tokenizer
// that splits UTF-8 text line by line into tokens, carrying a state from one line to
// the next for comments and strings that span lines.

#include <QString>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tw {

// Colours are 0x00BBGGRR; this value means "none": the editor's own text colour.
inline constexpr std::uint32_t kNoColor = 0x1FFFFFFF;

enum FontStyle : std::uint8_t { kPlain = 0, kBold = 1, kItalic = 2, kUnderline = 4, kStrikeOut = 8 };

struct Attribute {
    QString name;
    std::uint32_t foreground = kNoColor;
    std::uint32_t background = kNoColor;
    std::uint8_t style = kPlain;
};

struct Token {
    int start = 0;   // byte offset (in the line, or in the whole text for tokenize())
    int length = 0;  // bytes
    int attribute = 0;
};

class Highlighter {
public:
    virtual ~Highlighter() = default;

    const QString& languageName() const { return name_; }
    const QString& defaultFilter() const { return filter_; }

    // Sorted by name ignoring case; the position is the attribute index.
    const std::vector<Attribute>& attributes() const { return attributes_; }
    Attribute& attribute(int index) { return attributes_[static_cast<size_t>(index)]; }
    int attributeIndex(QStringView name) const;  // -1 when there is no such attribute
    int symbolAttribute() const { return attributeIndex(u"Symbol"); }
    int spaceAttribute() const { return attributeIndex(u"Space"); }

    // Splits one line (without its line break) into tokens that cover it in order.
    // state is what the previous line left (0 at the start of a text) and is updated
    // for the next line.
    virtual void tokenizeLine(std::string_view line, int& state, std::vector<Token>& out) const = 0;

    // The whole text, lines split at CR LF, LF or CR; line breaks are Space tokens.
    std::vector<Token> tokenize(std::string_view text) const;

    // The token that holds the byte at offset, or nullptr-like {-1} attribute when the
    // offset is outside the text.
    Token tokenAt(std::string_view text, int offset) const;

protected:
    // attributes: names with their built-in styles, in any order (they are sorted here).
    Highlighter(QString name, QString filter, std::vector<Attribute> attributes);
    // The attribute index of a name that must exist (a programming error otherwise).
    int require(QStringView name) const;

private:
    QString name_;
    QString filter_;
    std::vector<Attribute> attributes_;
};

} // namespace tw
