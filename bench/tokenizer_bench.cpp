// Tokenizer throughput per language: a realistic sample (the highlighter fixtures repeated)
// and long one-line runs of single characters that once took quadratic time.
//   bench_tokenizers [KILOBYTES=200] [CHARACTERS]
// CHARACTERS lists the bytes to run (default: the troublesome ones); "blank" in the output
// is a space. Prints one line per figure: language, workload, MB per second.

#include "best_of.h"
#include "editor/catalogue.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <cstdio>
#include <string>

namespace {

// A sample of the language's fixture, repeated to the size asked for; empty when none is found.
std::string sampleText(const tw::HighlighterSet& set, const tw::Highlighter& h, size_t bytes) {
    const QDir dir(QStringLiteral(TARNWICK_HIGHLIGHT_SAMPLES));
    for (const QString& name : dir.entryList(QDir::Files, QDir::Name)) {
        if (name.endsWith(QLatin1String(".tokens")) || set.forExtension(tw::fileExtension(name)) != &h) continue;
        QFile f(dir.filePath(name));
        if (!f.open(QIODevice::ReadOnly)) continue;
        const QByteArray one = f.readAll();
        std::string text;
        while (!one.isEmpty() && text.size() < bytes) text.append(one.constData(), static_cast<size_t>(one.size()));
        return text;
    }
    return {};
}

void report(const tw::Highlighter& h, const std::string& workload, const std::string& text) {
    size_t tokens = 0;
    const double ms = tw::bench::bestOf(3, [&] { tokens = h.tokenize(text).size(); });
    std::printf("%-22s %-8s %9.2f MB/s  (%zu bytes, %zu tokens)\n", h.languageName().toUtf8().constData(),
                workload.c_str(), text.size() / 1048576.0 / (ms / 1000.0), text.size(), tokens);
}

} // namespace

int main(int argc, char** argv) {
    const size_t bytes = static_cast<size_t>((argc > 1 ? std::atof(argv[1]) : 200.0) * 1024);
    const std::string characters = argc > 2 ? argv[2] : "$?#'\"`\\/*{<@%- ";
    const tw::HighlighterSet set;
    for (int p = 0; p < tw::kLanguageCount; ++p) {
        const tw::Highlighter& h = set.byPosition(p);
        report(h, "sample", sampleText(set, h, bytes));
        for (char c : characters) report(h, c == ' ' ? std::string("blank") : std::string(1, c), std::string(bytes, c));
    }
    return 0;
}
