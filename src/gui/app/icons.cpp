#include "app/icons.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>
#include <QStyle>
#include <cmath>

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
    // One picture per kind; any other value read from a file shows none (one empty canvas).
    const int kind = kindImage >= 0 && kindImage <= 3 ? kindImage : 4;
    static QPixmap cache[5];
    QPixmap& pm = cache[kind];
    if (!pm.isNull()) return pm;
    pm = canvas(24, 24);
    {
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        switch (kind) {
        case 0: drawFolder(p, false); break;
        case 1: drawFolder(p, true); break;
        case 2: drawPage(p); break;
        case 3: drawRoot(p); break;
        default: break;
        }
    }
    return pm;
}

QPixmap nodeIcon(int k) {
    // Pictures of the icon menu, in its order: time, science, tasks, error, internet, study,
    // question, idea, hardware, calculations, game, star, stop, important, rubbish.
    if (k == 15) k = 0;
    QPixmap pm = canvas(16, 16);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QPen outline(QColor(60, 60, 60), 1);
    auto glyph = [&](const QString& text, const QColor& color, int size = 11) {
        QFont f = p.font();
        f.setPixelSize(size);
        f.setBold(true);
        p.setFont(f);
        p.setPen(color);
        p.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, text);
    };
    switch (k) {
    case 0:  // clock
        p.setPen(outline);
        p.setBrush(QColor(250, 250, 235));
        p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
        p.setPen(QPen(QColor(40, 40, 40), 1.5));
        p.drawLine(QPointF(8, 8), QPointF(8, 4));
        p.drawLine(QPointF(8, 8), QPointF(11, 9.5));
        break;
    case 1:  // flask
        p.setPen(outline);
        p.setBrush(QColor(120, 200, 120));
        p.drawPolygon(QPolygonF({QPointF(6, 1.5), QPointF(10, 1.5), QPointF(10, 6), QPointF(14.5, 14.5),
                                 QPointF(1.5, 14.5), QPointF(6, 6)}));
        break;
    case 2:  // task list
        p.setPen(outline);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(2.5, 1.5, 11, 13));
        p.setPen(QPen(QColor(30, 140, 60), 1.5));
        p.drawPolyline(QPolygonF({QPointF(4.5, 7), QPointF(6.5, 9.5), QPointF(11.5, 4)}));
        p.setPen(QColor(120, 120, 120));
        p.drawLine(QPointF(4.5, 12), QPointF(11.5, 12));
        break;
    case 3:  // error
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(210, 40, 40));
        p.drawEllipse(QRectF(1, 1, 14, 14));
        p.setPen(QPen(Qt::white, 2));
        p.drawLine(QPointF(5, 5), QPointF(11, 11));
        p.drawLine(QPointF(11, 5), QPointF(5, 11));
        break;
    case 4:  // globe
        p.setPen(QPen(QColor(30, 90, 170), 1));
        p.setBrush(QColor(120, 180, 240));
        p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(5, 1.5, 6, 13));
        p.drawLine(QPointF(1.5, 8), QPointF(14.5, 8));
        break;
    case 5:  // book
        p.setPen(outline);
        p.setBrush(QColor(70, 110, 200));
        p.drawRect(QRectF(2.5, 2.5, 11, 11));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4.5, 2.5, 9, 9));
        break;
    case 6: glyph(QStringLiteral("?"), QColor(40, 100, 200), 14); break;
    case 7:  // light bulb
        p.setPen(outline);
        p.setBrush(QColor(255, 220, 60));
        p.drawEllipse(QRectF(3, 1, 10, 10));
        p.setBrush(QColor(150, 150, 150));
        p.drawRect(QRectF(6, 11, 4, 4));
        break;
    case 8:  // chip
        p.setPen(outline);
        p.setBrush(QColor(70, 70, 70));
        p.drawRect(QRectF(4, 4, 8, 8));
        p.setPen(QColor(160, 160, 160));
        for (int i = 5; i <= 11; i += 3) {
            p.drawLine(i, 1, i, 3);
            p.drawLine(i, 13, i, 15);
            p.drawLine(1, i, 3, i);
            p.drawLine(13, i, 15, i);
        }
        break;
    case 9:  // calculator
        p.setPen(outline);
        p.setBrush(QColor(200, 200, 210));
        p.drawRoundedRect(QRectF(2.5, 1.5, 11, 13), 2, 2);
        p.setBrush(QColor(150, 200, 150));
        p.drawRect(QRectF(4, 3, 8, 3));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(60, 60, 60));
        for (int y = 8; y <= 11; y += 3)
            for (int x = 4; x <= 10; x += 3) p.drawRect(x, y, 2, 2);
        break;
    case 10:  // die
        p.setPen(outline);
        p.setBrush(Qt::white);
        p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 3, 3);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(30, 30, 30));
        for (const QPointF& c : {QPointF(5, 5), QPointF(8, 8), QPointF(11, 11)}) p.drawEllipse(c, 1.5, 1.5);
        break;
    case 11: {  // star
        QPolygonF star;
        for (int i = 0; i < 10; ++i) {
            const double r = i % 2 ? 3.0 : 7.0, a = -M_PI / 2 + i * M_PI / 5;
            star << QPointF(8 + r * std::cos(a), 8.5 + r * std::sin(a));
        }
        p.setPen(QColor(190, 140, 0));
        p.setBrush(QColor(255, 210, 40));
        p.drawPolygon(star);
        break;
    }
    case 12: {  // stop sign
        QPolygonF octagon;
        for (int i = 0; i < 8; ++i) {
            const double a = M_PI / 8 + i * M_PI / 4;
            octagon << QPointF(8 + 7 * std::cos(a), 8 + 7 * std::sin(a));
        }
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(200, 30, 30));
        p.drawPolygon(octagon);
        p.setPen(QPen(Qt::white, 2));
        p.drawLine(QPointF(4.5, 8), QPointF(11.5, 8));
        break;
    }
    case 13:  // important
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(240, 150, 0));
        p.drawPolygon(QPolygonF({QPointF(8, 1), QPointF(15, 14.5), QPointF(1, 14.5)}));
        glyph(QStringLiteral("!"), Qt::white, 10);
        break;
    case 14:  // rubbish bin
        p.setPen(outline);
        p.setBrush(QColor(170, 170, 170));
        p.drawRect(QRectF(4, 4.5, 8, 10));
        p.drawLine(QPointF(2.5, 3.5), QPointF(13.5, 3.5));
        p.drawLine(QPointF(6.5, 2), QPointF(9.5, 2));
        for (double x = 6; x <= 10; x += 2) p.drawLine(QPointF(x, 6.5), QPointF(x, 12.5));
        break;
    default:
        break;
    }
    return pm;
}

QPixmap nodePicture(int kindImage, int stateIndex) {
    // Drawn once per kind and icon: the view asks for the picture of every row it paints or
    // measures, and painting a new one each time cost more than the rest of the row.
    const int kind = kindImage >= 0 && kindImage <= 3 ? kindImage : 4;
    const int icon = stateIndex >= 1 && stateIndex <= 15 ? stateIndex : 0;
    static QPixmap cache[5][16];
    QPixmap& pm = cache[kind][icon];
    if (!pm.isNull()) return pm;
    // Every picture has the same width so captions line up whether or not a node has an icon.
    pm = canvas(42, 24);
    {
        QPainter p(&pm);
        if (icon) p.drawPixmap(0, 4, nodeIcon(icon));
        p.drawPixmap(18, 0, kindPicture(kind));
    }
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
