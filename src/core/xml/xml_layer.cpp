#include "xml/xml_layer.h"

#include <QIODevice>
#include <charconv>
#include <limits>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include <cstring>

namespace tw::xml {

bool loadInPlace(pugi::xml_document& doc, QByteArray& buffer) {
    constexpr unsigned options =
        pugi::parse_cdata | pugi::parse_escapes | pugi::parse_wconv_attribute | pugi::parse_ws_pcdata;
    const pugi::xml_parse_result result =
        doc.load_buffer_inplace(buffer.data(), static_cast<size_t>(buffer.size()), options);
    return static_cast<bool>(result);
}

namespace {
constexpr unsigned kSaveFlags = pugi::format_raw | pugi::format_no_declaration | pugi::format_no_empty_element_tags;

struct StringWriter : pugi::xml_writer {
    std::string& out;
    explicit StringWriter(std::string& o) : out(o) {}
    void write(const void* data, size_t size) override { out.append(static_cast<const char*>(data), size); }
};

constexpr size_t kBufferSize = 1 << 20;
} // namespace

ElementStream::ElementStream(QIODevice& device) : device_(device) { buffer_.reserve(kBufferSize + 4096); }

ElementStream::~ElementStream() = default;

pugi::xml_node ElementStream::begin(const char* name) {
    flushPending();
    scratch_.reset();
    pending_ = true;
    open_.emplace_back(name);
    pugi::xml_node element = scratch_.append_child(name);
    if (!element) ok_ = false;  // out of memory: the whole write fails
    return element;
}

void ElementStream::flushPending() {
    if (!pending_) return;
    pending_ = false;
    // pugixml prints the whole element, end tag included; the end tag waits for the children.
    const size_t start = buffer_.size();
    StringWriter writer(buffer_);
    scratch_.save(writer, "", kSaveFlags, pugi::encoding_utf8);
    const size_t endTag = open_.back().size() + 3;
    if (buffer_.size() - start >= endTag) buffer_.resize(buffer_.size() - endTag);
    if (buffer_.size() >= kBufferSize) flushBuffer();
}

void ElementStream::end() {
    flushPending();
    if (open_.empty()) return;
    buffer_ += "</";
    buffer_ += open_.back();
    buffer_ += '>';
    open_.pop_back();
}

bool ElementStream::finish() {
    while (!open_.empty()) end();
    flushBuffer();
    return ok_;
}

void ElementStream::flushBuffer() {
    if (ok_ && !buffer_.empty())
        ok_ = device_.write(buffer_.data(), static_cast<qint64>(buffer_.size())) == static_cast<qint64>(buffer_.size());
    buffer_.clear();
}

bool isWhiteSpaceText(pugi::xml_node node) {
    if (node.type() != pugi::node_pcdata) return false;
    for (const char* p = node.value(); *p; ++p)
        if (*p != ' ' && *p != '\t' && *p != '\r' && *p != '\n') return false;
    return true;
}

pugi::xml_node firstSignificantChild(pugi::xml_node node) {
    pugi::xml_node child = node.first_child();
    while (child && isWhiteSpaceText(child)) child = child.next_sibling();
    return child;
}

pugi::xml_node nextSignificantSibling(pugi::xml_node node) {
    pugi::xml_node next = node.next_sibling();
    while (next && isWhiteSpaceText(next)) next = next.next_sibling();
    return next;
}

std::optional<std::string> characterData(pugi::xml_node firstChild) {
    switch (firstChild.type()) {
    case pugi::node_element: {
        pugi::xml_node only = firstChild.first_child();
        if (!only) return std::string();
        if (only.next_sibling()) return std::nullopt;
        if (only.type() != pugi::node_pcdata && only.type() != pugi::node_cdata) return std::nullopt;
        return std::string(only.value());
    }
    case pugi::node_pcdata:
    case pugi::node_cdata:
    case pugi::node_comment:
    case pugi::node_pi:
        return std::string(firstChild.value());
    default:
        return std::nullopt;
    }
}

std::optional<QString> requiredString(pugi::xml_node element, const char* name) {
    pugi::xml_attribute attr = element.attribute(name);
    if (!attr) return std::nullopt;
    return QString::fromUtf8(attr.value());
}

std::optional<std::int32_t> parseInt32(const char* text) {
    // One pass up to the terminating zero: an optional "+" or "-" (not both), then one or
    // more decimal digits and nothing else, within the range of a 32-bit integer.
    const char* p = text;
    if (*p == '+') ++p;
    const bool negative = *p == '-';
    if (negative) {
        if (p != text) return std::nullopt;
        ++p;
    }
    if (*p == 0) return std::nullopt;
    // The magnitude is gathered negated, since the most negative value has no positive twin.
    constexpr std::int64_t kLowest = std::numeric_limits<std::int32_t>::min();
    std::int64_t value = 0;
    for (; *p; ++p) {
        if (*p < '0' || *p > '9') return std::nullopt;
        value = value * 10 - (*p - '0');
        if (value < kLowest) return std::nullopt;
    }
    if (!negative) {
        if (-value > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
        return static_cast<std::int32_t>(-value);
    }
    return static_cast<std::int32_t>(value);
}

std::optional<std::int32_t> requiredInt(pugi::xml_node element, const char* name) {
    pugi::xml_attribute attr = element.attribute(name);
    if (!attr) return std::nullopt;
    return parseInt32(attr.value());
}

bool isXmlSafe(std::string_view text) {
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    size_t n = text.size();
#if defined(__SSE2__)
    // Sixteen bytes at a time: a byte is bad when it is at most 0x1F and not tab, LF or CR.
    // Page texts are large and nearly always clean, so this check must cost next to nothing.
    const __m128i limit = _mm_set1_epi8(0x1F);
    const __m128i tab = _mm_set1_epi8('\t'), lf = _mm_set1_epi8('\n'), cr = _mm_set1_epi8('\r');
    for (; n >= 16; p += 16, n -= 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i control = _mm_cmpeq_epi8(_mm_max_epu8(v, limit), limit);
        const __m128i allowed =
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, tab), _mm_cmpeq_epi8(v, lf)), _mm_cmpeq_epi8(v, cr));
        if (_mm_movemask_epi8(_mm_andnot_si128(allowed, control)) != 0) return false;
    }
#endif
    for (; n > 0; ++p, --n)
        if (*p < 0x20 && *p != '\t' && *p != '\n' && *p != '\r') return false;
    return true;
}

std::string xmlSafe(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 && u != '\t' && u != '\n' && u != '\r') continue;
        out.push_back(c);
    }
    return out;
}

} // namespace tw::xml
