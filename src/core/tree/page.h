#pragma once
// The record every node of a collection carries.

#include <QString>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tw {

// One bookmark of a node, as the editor shows it in its gutter.
struct TEditMark {
    int Line = 0;
    int Column = 0;
    int ImageIndex = 0;
    bool Visible = true;
    bool InternalImage = false;
    int Number = -1;  // 0..4 for "Метка 1" .. "Метка 5"
};

struct TPage {
    std::string Text;      // the code text, UTF-8 bytes exactly as the editor holds them
    QString Name;          // caption at creation; never read afterwards
    std::uint8_t Lan = 0;  // language number: 0 none, 1..15 catalogue position + 1
    std::uint8_t ImIndex = 0;
    std::uint8_t SlIndex = 0;
    std::int32_t StIndex = -1;
    std::vector<TEditMark> Marks;
};

// Every record is made here. Lan, ImIndex and SlIndex keep the low 8 bits of the value given.
inline std::unique_ptr<TPage> MakePage(std::string text, QString name, int lan, int imIndex, int slIndex,
                                       std::int32_t stIndex) {
    auto page = std::make_unique<TPage>();
    page->Text = std::move(text);
    page->Name = std::move(name);
    page->Lan = static_cast<std::uint8_t>(lan & 0xFF);
    page->ImIndex = static_cast<std::uint8_t>(imIndex & 0xFF);
    page->SlIndex = static_cast<std::uint8_t>(slIndex & 0xFF);
    page->StIndex = stIndex;
    return page;
}

} // namespace tw
