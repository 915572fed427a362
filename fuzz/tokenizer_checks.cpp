// The fifteen tokenizers: the tokens of any text cover every byte exactly once, in order,
// and the work stays proportional to the text.

#include "checks.h"

#include "editor/catalogue.h"

#include <ctime>
#include <memory>

namespace tw::fuzz {

namespace {

// Tokens that start where the previous one ended, are not empty, name an attribute of the
// highlighter, and together cover the text: never more tokens than bytes.
Finding coverage(const Highlighter& h, std::string_view text) {
    const std::vector<Token> tokens = h.tokenize(text);
    if (tokens.size() > text.size()) return std::to_string(tokens.size()) + " tokens for " + std::to_string(text.size()) + " bytes";
    size_t end = 0;
    for (size_t i = 0; i < tokens.size(); ++i) {
        const Token& t = tokens[i];
        if (t.start != static_cast<int>(end) || t.length <= 0)
            return "token " + std::to_string(i) + " covers " + std::to_string(t.start) + "+" + std::to_string(t.length) +
                   ", expected to start at " + std::to_string(end);
        if (t.attribute < 0 || t.attribute >= static_cast<int>(h.attributes().size()))
            return "token " + std::to_string(i) + " has no attribute";
        end += static_cast<size_t>(t.length);
    }
    if (end != text.size()) return "the tokens end at " + std::to_string(end) + " of " + std::to_string(text.size());
    return {};
}

double threadSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

// A short input repeated to this size shows work that grows faster than the text: a rescan
// of a run of "$" turns 16 KiB into seconds, while a linear tokenizer needs about a
// millisecond even with sanitizers. Longer inputs are not repeated, so that the fuzzer
// keeps its pace on them.
constexpr size_t kRepeatedInput = 64;
constexpr size_t kRepeatedBytes = 16 * 1024;
constexpr double kSecondsPerByte = 30e-6;

} // namespace

// The first byte chooses the language (its catalogue position modulo 15), the rest is the text.
Finding checkTokenizers(std::string_view input) {
    if (input.empty()) return {};
    static std::vector<std::unique_ptr<Highlighter>> highlighters = [] {
        std::vector<std::unique_ptr<Highlighter>> all;
        for (int p = 0; p < kLanguageCount; ++p) all.push_back(makeHighlighter(p));
        return all;
    }();
    const Highlighter& h = *highlighters[static_cast<unsigned char>(input[0]) % kLanguageCount];
    const std::string_view text = input.substr(1);
    const std::string language = h.languageName().toStdString();
    if (Finding f = coverage(h, text); !f.empty()) return language + ": " + f;
    if (text.empty() || text.size() > kRepeatedInput) return {};

    std::string repeated;
    repeated.reserve(kRepeatedBytes + text.size());
    while (repeated.size() < kRepeatedBytes) repeated += text;
    const double start = threadSeconds();
    if (Finding f = coverage(h, repeated); !f.empty()) return language + " (repeated): " + f;
    const double seconds = threadSeconds() - start;
    if (seconds > kSecondsPerByte * static_cast<double>(repeated.size()))
        return language + ": " + std::to_string(repeated.size()) + " bytes took " + std::to_string(seconds) + " s";
    return {};
}

} // namespace tw::fuzz
