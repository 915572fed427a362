#include "json_dump.h"

#include <cstdio>

namespace tw {

namespace {

void appendEscaped(std::string& out, std::string_view text) {
    out.push_back('"');
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (u < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", u);
                out += buf;
            } else {
                out.push_back(c);
            }
        }
    }
    out.push_back('"');
}

void appendNodeHead(std::string& out, const Node& node) {
    const PageRecord& page = *node.page;
    out += "{\"caption\":";
    appendEscaped(out, node.caption.toStdString());
    out += ",\"kindImage\":" + std::to_string(node.kindImage);
    out += ",\"selectedImage\":" + std::to_string(node.selectedImage);
    out += ",\"stateIndex\":" + std::to_string(node.stateIndex);
    out += ",\"text\":";
    appendEscaped(out, page.text);
    out += ",\"lan\":" + std::to_string(page.language);
    out += ",\"imIndex\":" + std::to_string(page.imageIndex);
    out += ",\"slIndex\":" + std::to_string(page.selectedIndex);
    out += ",\"stIndex\":" + std::to_string(page.stateIndex);
    out += ",\"children\":[";
}

} // namespace

std::string dumpJson(const CollectionTree& tree) {
    std::string out;
    // Iterative walk: each frame is a node and how many of its children are written.
    std::vector<std::pair<const Node*, size_t>> stack{{tree.root(), 0}};
    appendNodeHead(out, *tree.root());
    while (!stack.empty()) {
        auto& [node, next] = stack.back();
        if (next == node->children.size()) {
            out += "]}";
            stack.pop_back();
            continue;
        }
        if (next > 0) out.push_back(',');
        const Node* child = node->children[next++].get();
        appendNodeHead(out, *child);
        stack.emplace_back(child, 0);
    }
    out.push_back('\n');
    return out;
}

} // namespace tw
