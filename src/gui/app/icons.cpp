#include "app/icons.h"

#include <QApplication>
#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QStyle>

namespace tw::Icons {

namespace {

QPixmap canvas(int w, int h) {
    QPixmap pm(w, h);
    pm.fill(Qt::transparent);
    return pm;
}

void drawFolder(QPainter& p, bool open) {
    p.setPen(QColor(150, 110, 20));
    p.setBrush(QColor(240, 200, 80));
    p.drawRect(2, 5, 8, 3);
    p.drawRect(2, 7, 19, 13);
    if (open) {
        p.setBrush(QColor(250, 225, 130));
        QPolygon flap({QPoint(5, 11), QPoint(23, 11), QPoint(20, 20), QPoint(2, 20)});
        p.drawPolygon(flap);
    }
}

void drawPage(QPainter& p) {
    p.setPen(QColor(90, 90, 110));
    p.setBrush(Qt::white);
    QPolygon sheet({QPoint(4, 2), QPoint(15, 2), QPoint(20, 7), QPoint(20, 22), QPoint(4, 22)});
    p.drawPolygon(sheet);
    p.drawLine(15, 2, 15, 7);
    p.drawLine(15, 7, 20, 7);
    p.setPen(QColor(60, 110, 190));
    for (int y = 10; y <= 19; y += 3) p.drawLine(7, y, y % 2 ? 17 : 14, y);
}

void drawRoot(QPainter& p) {
    p.setPen(QColor(30, 70, 140));
    p.setBrush(QColor(80, 140, 220));
    p.drawEllipse(3, 3, 18, 18);
    p.setPen(QPen(Qt::white, 2));
    p.drawLine(12, 7, 12, 17);
    p.drawLine(12, 12, 7, 16);
    p.drawLine(12, 12, 17, 16);
}

QColor iconColor(int k) {
    static const QColor colors[] = {QColor(220, 50, 47),  QColor(203, 75, 22),  QColor(181, 137, 0),
                                    QColor(133, 153, 0),  QColor(42, 161, 152), QColor(38, 139, 210),
                                    QColor(108, 113, 196), QColor(211, 54, 130), QColor(88, 110, 117),
                                    QColor(0, 128, 64),   QColor(128, 0, 128),  QColor(0, 96, 160),
                                    QColor(160, 82, 45),  QColor(70, 70, 70),   QColor(230, 120, 0)};
    return colors[k % 15];
}

QIcon painted(const std::function<void(QPainter&)>& draw) {
    QPixmap pm = canvas(32, 32);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p);
    return QIcon(pm);
}

QIcon letterIcon(const QString& text, const QColor& color) {
    return painted([&](QPainter& p) {
        p.setPen(color.darker(140));
        p.setBrush(color);
        p.drawRoundedRect(3, 3, 26, 26, 5, 5);
        QFont f = p.font();
        f.setBold(true);
        f.setPixelSize(text.size() > 1 ? 12 : 18);
        p.setFont(f);
        p.setPen(Qt::white);
        p.drawText(QRect(3, 3, 26, 26), Qt::AlignCenter, text);
    });
}

QIcon withBadge(QStyle::StandardPixmap base, const QString& badge, const QColor& color) {
    return painted([&](QPainter& p) {
        p.drawPixmap(0, 0, QApplication::style()->standardIcon(base).pixmap(26, 26));
        p.setPen(Qt::NoPen);
        p.setBrush(color);
        p.drawEllipse(16, 16, 15, 15);
        p.setPen(Qt::white);
        QFont f = p.font();
        f.setBold(true);
        f.setPixelSize(12);
        p.setFont(f);
        p.drawText(QRect(16, 16, 15, 15), Qt::AlignCenter, badge);
    });
}

} // namespace

QPixmap kindPicture(int kindImage) {
    static QHash<int, QPixmap> cache;
    auto it = cache.find(kindImage);
    if (it != cache.end()) return *it;
    QPixmap pm = canvas(24, 24);
    {
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        switch (kindImage) {
        case 0: drawFolder(p, false); break;
        case 1: drawFolder(p, true); break;
        case 2: drawPage(p); break;
        case 3: drawRoot(p); break;
        default: break;
        }
    }
    cache.insert(kindImage, pm);
    return pm;
}

QPixmap nodeIcon(int k) {
    if (k == 15) k = 0;
    QPixmap pm = canvas(16, 16);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor c = iconColor(k);
    p.setPen(c.darker(150));
    p.setBrush(c);
    switch (k % 3) {
    case 0: p.drawEllipse(1, 1, 14, 14); break;
    case 1: p.drawRoundedRect(1, 1, 14, 14, 3, 3); break;
    default: p.drawPolygon(QPolygon({QPoint(8, 1), QPoint(15, 15), QPoint(1, 15)})); break;
    }
    p.setPen(QPen(Qt::white, 1.5));
    p.drawLine(QPointF(5.5, 8), QPointF(10.5, 8));  // a light bar makes small shapes read as icons
    return pm;
}

QPixmap nodePicture(int kindImage, int stateIndex) {
    // Every picture has the same width so captions line up whether or not a node has an icon.
    QPixmap pm = canvas(42, 24);
    QPainter p(&pm);
    if (stateIndex >= 1 && stateIndex <= 15) p.drawPixmap(0, 4, nodeIcon(stateIndex));
    p.drawPixmap(18, 0, kindPicture(kindImage));
    return pm;
}

QIcon tool(Tool which) {
    QStyle* s = QApplication::style();
    switch (which) {
    case Tool::ClearTree: return withBadge(QStyle::SP_DirIcon, QStringLiteral("×"), QColor(200, 40, 40));
    case Tool::Open: return s->standardIcon(QStyle::SP_DialogOpenButton);
    case Tool::Save: return s->standardIcon(QStyle::SP_DialogSaveButton);
    case Tool::SaveAs: return withBadge(QStyle::SP_DialogSaveButton, QStringLiteral("…"), QColor(40, 110, 200));
    case Tool::NewSection: return withBadge(QStyle::SP_DirIcon, QStringLiteral("+"), QColor(40, 150, 60));
    case Tool::NewPage: return withBadge(QStyle::SP_FileIcon, QStringLiteral("+"), QColor(40, 150, 60));
    case Tool::Import: return withBadge(QStyle::SP_DirOpenIcon, QStringLiteral("↓"), QColor(120, 60, 170));
    case Tool::SetIcon: return QIcon(nodeIcon(5).scaled(28, 28));
    case Tool::ExpandCollapse: return letterIcon(QStringLiteral("±"), QColor(90, 120, 150));
    case Tool::Recurse: return letterIcon(QStringLiteral("↻"), QColor(70, 140, 120));
    case Tool::Delete: return s->standardIcon(QStyle::SP_TrashIcon);
    case Tool::OpenFile: return s->standardIcon(QStyle::SP_ComputerIcon);
    case Tool::Download: return s->standardIcon(QStyle::SP_ArrowDown);
    case Tool::ClearText: return s->standardIcon(QStyle::SP_DialogResetButton);
    case Tool::OpenText: return s->standardIcon(QStyle::SP_DialogOpenButton);
    case Tool::SaveText: return s->standardIcon(QStyle::SP_DialogSaveButton);
    case Tool::Export: return letterIcon(QStringLiteral("E"), QColor(200, 120, 30));
    case Tool::Highlight: return letterIcon(QStringLiteral("S"), QColor(40, 130, 200));
    case Tool::Schemes: return letterIcon(QStringLiteral("C"), QColor(180, 60, 150));
    case Tool::Hotkeys: return letterIcon(QStringLiteral("K"), QColor(100, 100, 100));
    case Tool::Bookmarks: return letterIcon(QStringLiteral("M"), QColor(30, 150, 90));
    case Tool::Edit: return letterIcon(QStringLiteral("P"), QColor(60, 90, 170));
    case Tool::CloseTab: return s->standardIcon(QStyle::SP_DialogCloseButton);
    }
    return {};
}

} // namespace tw::Icons
