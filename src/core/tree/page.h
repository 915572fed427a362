#pragma once
// The record every node of a collection carries.

#include <QString>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tw {

// One bookmark of a node, as the editor shows it in its gutter.
struct Bookmark {
    int line = 0;
    int column = 0;
    int imageIndex = 0;
    bool visible = true;
    bool internalImage = false;
    int number = -1;  // 0..4 for "Метка 1" .. "Метка 5"
};

struct PageRecord {
    std::string text;      // the code text, UTF-8 bytes exactly as the editor holds them
    QString name;          // caption at creation; never read afterwards
    std::uint8_t language = 0;  // language number: 0 none, 1..15 catalogue position + 1
    std::uint8_t imageIndex = 0;
    std::uint8_t selectedIndex = 0;
    std::int32_t stateIndex = -1;
    std::vector<Bookmark> bookmarks;
};

// Every record is made here. The language and both image indexes keep the low 8 bits of the value given.
inline std::unique_ptr<PageRecord> makePageRecord(std::string text, QString name, int lan, int imIndex, int slIndex,
                                       std::int32_t stIndex) {
    auto page = std::make_unique<PageRecord>();
    page->text = std::move(text);
    page->name = std::move(name);
    page->language = static_cast<std::uint8_t>(lan & 0xFF);
    page->imageIndex = static_cast<std::uint8_t>(imIndex & 0xFF);
    page->selectedIndex = static_cast<std::uint8_t>(slIndex & 0xFF);
    page->stateIndex = stIndex;
    return page;
}

} // namespace tw
