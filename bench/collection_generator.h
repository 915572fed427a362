#pragma once
// Deterministic synthetic collections for benchmarks and large tests: sections and pages
// in a few levels, Cyrillic captions, code texts in the fifteen languages with Cyrillic
// comments and CR LF line breaks.

#include "tree/collection_tree.h"

#include <QStringList>

#include <cstdint>

namespace tw::bench {

struct GeneratorOptions {
    int nodes = 100000;          // total nodes, the root node included
    int averageTextBytes = 1000;  // rough average size of a page's text
    std::uint32_t seed = 1;
};

void generateCollection(CollectionTree& tree, const GeneratorOptions& options);

// The arguments most collection benchmarks take: [NODES] [RUNS] [AVERAGE_TEXT_BYTES].
struct CollectionBenchArguments {
    GeneratorOptions options;
    int runs = 3;
};
CollectionBenchArguments collectionBenchArguments(const QStringList& args, int defaultNodes);

} // namespace tw::bench
