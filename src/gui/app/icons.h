#pragma once
// The program's pictures, drawn at run time so they scale and need no image files:
// the kind pictures of tree nodes, the sixteen node icons and the toolbar pictures.

#include <QIcon>
#include <QPixmap>

namespace tw::Icons {

// Kind picture (0 closed folder, 1 open folder, 2 page, 3 root), with the node icon
// (state index 1..15) drawn to its left when there is one.
QPixmap nodePicture(int kindImage, int stateIndex);
QPixmap kindPicture(int kindImage);
// Picture k (0..15) of the icon list; 15 is the same as 0.
QPixmap nodeIcon(int k);

enum class Tool {
    ClearTree, Open, Save, SaveAs, NewSection, NewPage, Import, SetIcon, ExpandCollapse, Recurse, Delete,
    OpenFile, Download, ClearText, OpenText, SaveText, Export, Highlight, Schemes, Hotkeys, Bookmarks, Edit,
    CloseTab
};
QIcon tool(Tool which);

} // namespace tw::Icons
