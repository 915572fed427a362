#include "tree/bound_indexes.h"

namespace tw {

std::vector<int> afterInsertion(const std::vector<int>& tags, int a) {
    std::vector<int> out = tags;
    for (int& t : out)
        if (t != 0 && t >= a) ++t;
    return out;
}

std::vector<int> afterDeletion(const std::vector<int>& tags, int i, int count) {
    std::vector<int> out = tags;
    for (int& t : out) {
        if (t == 0 || t < i) continue;
        t = t <= i + count ? kClosedTab : t - (count + 1);
    }
    return out;
}

std::vector<int> afterMove(const std::vector<int>& tags, int from, int size, int to) {
    std::vector<int> out = tags;
    for (int& t : out) {
        if (t == 0) continue;
        // Where the node stands once the block is out of the tree...
        int without = t;
        bool inBlock = t >= from && t < from + size;
        if (!inBlock && t >= from + size) without -= size;
        // ...and once the block is back in at to.
        if (inBlock) t = to + (t - from);
        else t = without >= to ? without + size : without;
    }
    return out;
}

} // namespace tw
