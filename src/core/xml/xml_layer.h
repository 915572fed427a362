#pragma once
// The thin document layer over pugixml that collection and branch files go through.
// Loading keeps white space inside elements' character data, and the "significant
// children" of an element leave out text nodes that are only white space (the
// separators and blank-text markers between elements).

#include <QByteArray>
#include <QString>

class QIODevice;
#include <cstdint>
#include <optional>
#include <pugixml.hpp>
#include <string>
#include <vector>

namespace tw::xml {

// Parses the buffer in place (the document keeps pointers into it). No end-of-line
// normalisation: CR LF in character data stays CR LF.
bool loadInPlace(pugi::xml_document& doc, QByteArray& buffer);

// Writes a document to a device one element at a time, as UTF-8 without declaration,
// indentation or line breaks. Each element is built in a small pugixml document that is
// reused, printed by pugixml, and its end tag held back until its children are written,
// so a huge collection is never held twice in memory.
class ElementStream {
public:
    explicit ElementStream(QIODevice& device);
    ~ElementStream();
    ElementStream(const ElementStream&) = delete;
    ElementStream& operator=(const ElementStream&) = delete;

    // A new element inside the innermost open one; fill in its attributes and content
    // (no child elements) before the next call.
    pugi::xml_node begin(const char* name);
    // Closes the innermost open element.
    void end();
    // Closes every open element and writes out what is buffered; false when a write failed.
    bool finish();

private:
    void flushPending();
    void flushBuffer();

    QIODevice& device_;
    pugi::xml_document scratch_;
    bool pending_ = false;
    std::vector<std::string> open_;
    std::string buffer_;
    bool ok_ = true;
};

bool isWhiteSpaceText(pugi::xml_node node);
pugi::xml_node firstSignificantChild(pugi::xml_node node);
pugi::xml_node nextSignificantSibling(pugi::xml_node node);

// The character data of an element's first child: an element holding one text or
// CDATA node gives that text, an element without children the empty string, a text
// or CDATA node its value. Anything else has no character data (nullopt).
std::optional<std::string> characterData(pugi::xml_node firstChild);

// A required attribute: nullopt when it is missing.
std::optional<QString> requiredString(pugi::xml_node element, const char* name);
// A required decimal integer attribute (optional sign, digits, 32-bit): nullopt when
// missing or not an integer.
std::optional<std::int32_t> requiredInt(pugi::xml_node element, const char* name);
std::optional<std::int32_t> parseInt32(const char* text);

// Leaves out what XML 1.0 cannot hold: control characters other than tab, LF and CR.
bool isXmlSafe(std::string_view text);
std::string xmlSafe(std::string_view text);

} // namespace tw::xml
