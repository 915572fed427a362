#include "search/search_pattern.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <algorithm>
#include <cctype>
#include <cstring>

namespace tw {

namespace {

// Steps one match may take before the search gives up: a pattern that backtracks
// catastrophically ends with a message instead of hanging the window.
constexpr uint32_t kMatchLimit = 5'000'000;

QString pcre2Message(int code) {
    PCRE2_UCHAR buffer[256];
    const int n = pcre2_get_error_message(code, buffer, sizeof buffer);
    return n < 0 ? QString::number(code) : QString::fromUtf8(reinterpret_cast<const char*>(buffer), n);
}

// The text itself as a pattern: every ASCII character that is not a letter or a digit is
// escaped (a backslash before such a character always stands for the character itself).
std::string literalPattern(std::string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x80 && !std::isalnum(u)) out += '\\';
        out += c;
    }
    return out;
}

int characterCount(std::string_view bytes) {
    return static_cast<int>(std::count_if(bytes.begin(), bytes.end(),
                                          [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

} // namespace

struct SearchPattern::Compiled {
    pcre2_code* code = nullptr;
    pcre2_match_context* context = nullptr;
    pcre2_jit_stack* stack = nullptr;
    pcre2_match_data* data = nullptr;
    ~Compiled() {
        pcre2_match_data_free(data);
        pcre2_jit_stack_free(stack);
        pcre2_match_context_free(context);
        pcre2_code_free(code);
    }
};

SearchPattern::SearchPattern(std::string_view what, SearchOptions options) : what_(what), options_(options) {
    if (what_.empty() || options_.plain()) {
        // The exact search backwards: Knuth-Morris-Pratt over the reversed text and pattern.
        const std::string reversed(what_.rbegin(), what_.rend());
        reversedBorders_.assign(reversed.size() + 1, -1);
        int k = -1;
        for (size_t i = 0; i < reversed.size(); ++i) {
            while (k >= 0 && reversed[static_cast<size_t>(k)] != reversed[i]) k = reversedBorders_[static_cast<size_t>(k)];
            reversedBorders_[i + 1] = ++k;
        }
        return;
    }
    std::string pattern = options_.regularExpression ? what_ : literalPattern(what_);
    uint32_t flags = PCRE2_UTF | PCRE2_UCP | PCRE2_MATCH_INVALID_UTF | PCRE2_MULTILINE;
    if (!options_.matchCase) flags |= PCRE2_CASELESS;
    pcre2_compile_context* cc = pcre2_compile_context_create(nullptr);
    pcre2_set_newline(cc, PCRE2_NEWLINE_ANYCRLF);  // "$" before CR LF, "." never a line break
    // Whole words: a word boundary (Unicode letters, digits, "_") at both ends of the match.
    if (options_.wholeWord) pcre2_set_compile_extra_options(cc, PCRE2_EXTRA_MATCH_WORD);
    int errorCode = 0;
    PCRE2_SIZE errorOffset = 0;
    pcre2_code* code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data()), pattern.size(), flags, &errorCode,
                                     &errorOffset, cc);
    pcre2_compile_context_free(cc);
    if (!code) {
        // The position in the user's own text, in characters from 1.
        const size_t at = std::min<size_t>(errorOffset, what_.size());
        error_ = QStringLiteral("Ошибка в регулярном выражении в позиции %1: %2")
                     .arg(characterCount(std::string_view(what_).substr(0, at)) + 1)
                     .arg(pcre2Message(errorCode));
        return;
    }
    compiled_ = std::make_unique<Compiled>();
    compiled_->code = code;
    pcre2_jit_compile(code, PCRE2_JIT_COMPLETE);  // without JIT the interpreter runs the same pattern
    compiled_->context = pcre2_match_context_create(nullptr);
    pcre2_set_match_limit(compiled_->context, kMatchLimit);
    compiled_->stack = pcre2_jit_stack_create(32 * 1024, 1024 * 1024, nullptr);
    pcre2_jit_stack_assign(compiled_->context, nullptr, compiled_->stack);
    compiled_->data = pcre2_match_data_create_from_pattern(code, nullptr);
}

SearchPattern::~SearchPattern() = default;
SearchPattern::SearchPattern(SearchPattern&&) noexcept = default;
SearchPattern& SearchPattern::operator=(SearchPattern&&) noexcept = default;

TextMatch SearchPattern::matchAt(std::string_view text, int from, bool anchored) const {
    if (!compiled_ || failed()) return {};
    const int rc = pcre2_match(compiled_->code, reinterpret_cast<PCRE2_SPTR>(text.data()), text.size(),
                               static_cast<PCRE2_SIZE>(from), PCRE2_NOTEMPTY | (anchored ? PCRE2_ANCHORED : 0u),
                               compiled_->data, compiled_->context);
    if (rc == PCRE2_ERROR_NOMATCH) return {};
    if (rc < 0) {
        error_ = QStringLiteral("Поиск прерван: выражение слишком сложно для этого текста (%1).").arg(pcre2Message(rc));
        return {};
    }
    const PCRE2_SIZE* ov = pcre2_get_ovector_pointer(compiled_->data);
    return {static_cast<int>(ov[0]), static_cast<int>(ov[1] - ov[0])};
}

TextMatch SearchPattern::plainForward(std::string_view text, int from) const {
    const void* at = memmem(text.data() + from, text.size() - static_cast<size_t>(from), what_.data(), what_.size());
    if (!at) return {};
    return {static_cast<int>(static_cast<const char*>(at) - text.data()), static_cast<int>(what_.size())};
}

TextMatch SearchPattern::plainBackward(std::string_view text, int from) const {
    const int m = static_cast<int>(what_.size());
    int k = 0;  // characters of the reversed pattern matched so far
    for (int i = from - 1; i >= 0; --i) {
        while (k >= 0 && text[static_cast<size_t>(i)] != what_[static_cast<size_t>(m - 1 - k)])
            k = reversedBorders_[static_cast<size_t>(k)];
        if (++k == m) return {i, m};
    }
    return {};
}

TextMatch SearchPattern::findForward(std::string_view text, int from) const {
    if (what_.empty() || from < 0 || from > static_cast<int>(text.size())) return {};
    return compiled_ ? matchAt(text, from, false) : valid() ? plainForward(text, from) : TextMatch{};
}

TextMatch SearchPattern::findBackward(std::string_view text, int from) const {
    if (what_.empty()) return {};
    from = std::min(from, static_cast<int>(text.size()));
    if (from <= 0) return {};
    if (!compiled_) return valid() ? plainBackward(text, from) : TextMatch{};
    // A pattern cannot run backwards: the last of the matches from the top that ends in time.
    TextMatch last;
    for (TextMatch m = matchAt(text, 0, false); m.found() && m.end() <= from; m = matchAt(text, m.end(), false)) last = m;
    return failed() ? TextMatch{} : last;
}

bool SearchPattern::occursIn(std::string_view text) const {
    if (what_.empty()) return true;
    return findForward(text, 0).found();
}

std::vector<TextMatch> SearchPattern::findAll(std::string_view text) const {
    std::vector<TextMatch> out;
    for (TextMatch m = findForward(text, 0); m.found(); m = findForward(text, m.end())) out.push_back(m);
    return out;
}

std::string SearchPattern::replacement(std::string_view text, TextMatch m, std::string_view with) const {
    if (!options_.regularExpression || !compiled_ || !m.found()) return std::string(with);
    const TextMatch again = matchAt(text, m.start, true);
    if (again != m) return std::string(with);
    const PCRE2_SIZE* ov = pcre2_get_ovector_pointer(compiled_->data);
    const uint32_t groups = pcre2_get_ovector_count(compiled_->data);
    std::string out;
    // Appends group n, or tells the caller it is no group of this pattern.
    const auto group = [&](uint32_t n) {
        if (n >= groups) return false;
        if (ov[2 * n] != PCRE2_UNSET) out.append(text.substr(ov[2 * n], ov[2 * n + 1] - ov[2 * n]));
        return true;
    };
    const auto digit = [](char c) { return c >= '0' && c <= '9'; };
    for (size_t i = 0; i < with.size(); ++i) {
        const char c = with[i];
        const char next = i + 1 < with.size() ? with[i + 1] : '\0';
        if ((c == '$' || c == '\\') && next == c) {
            out += c;
            ++i;
        } else if ((c == '$' || c == '\\') && digit(next) && group(static_cast<uint32_t>(next - '0'))) {
            ++i;
        } else if (c == '$' && next == '{') {
            const size_t close = with.find('}', i + 2);
            const std::string_view digits = close == std::string_view::npos ? std::string_view() : with.substr(i + 2, close - i - 2);
            uint32_t n = 0;
            const bool number = !digits.empty() && digits.size() < 6 && std::all_of(digits.begin(), digits.end(), digit);
            for (const char d : digits) n = n * 10 + static_cast<uint32_t>(number ? d - '0' : 0);
            if (number && group(n)) i = close;
            else out += c;
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace tw
