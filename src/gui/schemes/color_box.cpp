#include "schemes/color_box.h"
#include "schemes/system_colours.h"

#include "editor/highlighter.h"
#include "platform/prompter.h"

#include <QApplication>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QWheelEvent>

namespace tw {

namespace {

enum EntryKind { kNamed = 0, kExtra = 1, kCustom = 2 };
constexpr int kValueRole = Qt::UserRole;
constexpr int kKindRole = Qt::UserRole + 1;

struct NamedColor {
    std::uint32_t value;
    const char* name;
};

// Plain colours, 0x00BBGGRR.
constexpr NamedColor kPlainColors[] = {
    {0x000000, "Black"},       {0x000080, "Maroon"},   {0x008000, "Green"}, {0x008080, "Olive"},
    {0x800000, "Navy"},        {0x800080, "Purple"},   {0x808000, "Teal"},  {0x808080, "Gray"},
    {0xC0C0C0, "Silver"},      {0x0000FF, "Red"},      {0x00FF00, "Lime"},  {0x00FFFF, "Yellow"},
    {0xFF0000, "Blue"},        {0xFF00FF, "Fuchsia"},  {0xFFFF00, "Aqua"},  {0xFFFFFF, "White"},
    {0xC0DCC0, "Money Green"}, {0xF0CAA6, "Sky Blue"}, {0xF0FBFF, "Cream"}, {0xA4A0A0, "Medium Gray"},
};

std::uint32_t fromQColor(const QColor& c) {
    return static_cast<std::uint32_t>(c.red()) | static_cast<std::uint32_t>(c.green()) << 8 |
           static_cast<std::uint32_t>(c.blue()) << 16;
}

QIcon swatch(std::uint32_t value) {
    QPixmap pixmap(16, 12);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    const QColor c = ColorBox::swatchColor(value);
    p.setPen(Qt::black);
    p.setBrush(c.isValid() ? QBrush(c) : QBrush(Qt::NoBrush));
    p.drawRect(0, 0, pixmap.width() - 1, pixmap.height() - 1);
    if (!c.isValid()) p.drawLine(0, pixmap.height() - 1, pixmap.width() - 1, 0); // no colour of its own
    return QIcon(pixmap);
}

} // namespace

QString ColorBox::colorName(std::uint32_t value) {
    for (const NamedColor& n : kPlainColors)
        if (n.value == value) return QString::fromLatin1(n.name);
    if (const SystemColour* s = findSystemColour(value)) return QString::fromLatin1(s->name);
    if (value == kNoColor) return QStringLiteral("None");
    if (value == kDefaultColor) return QStringLiteral("Default");
    if ((value & 0xFF000000u) == 0)
        return QString::asprintf("#%02X%02X%02X", value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
    return QString::asprintf("0x%08X", value);
}

QColor ColorBox::swatchColor(std::uint32_t value) { return resolveColour(value); }

ColorBox::ColorBox(Prompter& prompter, int attributeIndex, QWidget* parent)
    : QComboBox(parent), prompter_(prompter), attributeIndex_(attributeIndex) {
    setMaxVisibleItems(16);
    setFocusPolicy(Qt::StrongFocus);
    for (const NamedColor& n : kPlainColors)
        addEntry(n.value, QString::fromLatin1(n.name), kNamed);
    for (const SystemColour& s : systemColours())
        addEntry(kSystemColor | static_cast<std::uint32_t>(s.index), QString::fromLatin1(s.name), kNamed);
    addEntry(kNoColor, QStringLiteral("None"), kNamed);
    addEntry(kDefaultColor, QStringLiteral("Default"), kNamed);
    addItem(QStringLiteral("Custom..."));
    setItemData(customIndex(), kCustom, kKindRole);
    setValue(kNoColor);
    connect(this, &QComboBox::currentIndexChanged, this, &ColorBox::picked);
}

void ColorBox::addEntry(std::uint32_t value, const QString& text, int kind, int at) {
    if (at < 0) at = count();
    insertItem(at, swatch(value), text);
    setItemData(at, QVariant::fromValue(value), kValueRole);
    setItemData(at, kind, kKindRole);
}

int ColorBox::extraIndex() const {
    const int i = count() - 2;
    return i >= 0 && itemData(i, kKindRole).toInt() == kExtra ? i : -1;
}

std::uint32_t ColorBox::value() const {
    const QVariant v = itemData(currentIndex() == customIndex() ? shown_ : currentIndex(), kValueRole);
    return v.isValid() ? v.value<std::uint32_t>() : kNoColor;
}

void ColorBox::setValue(std::uint32_t value) {
    updating_ = true;
    int index = findData(QVariant::fromValue(value), kValueRole);
    if (index < 0) {
        // One extra entry holds the latest value that no entry names.
        const int extra = extraIndex();
        if (extra >= 0) removeItem(extra);
        index = customIndex();
        addEntry(value, colorName(value), kExtra, index);
    }
    setCurrentIndex(index);
    shown_ = index;
    updating_ = false;
}

void ColorBox::wheelEvent(QWheelEvent* event) {
    if (hasFocus())
        QComboBox::wheelEvent(event);
    else
        event->ignore();
}

void ColorBox::picked(int index) {
    if (updating_ || index < 0) return;
    if (index == customIndex()) {
        hidePopup(); // the colour dialog should not open under the list
        const QColor initial = swatchColor(itemData(shown_, kValueRole).value<std::uint32_t>());
        const std::optional<QColor> chosen =
            prompter_.chooseColor(initial.isValid() ? initial : QColor(Qt::black));
        if (!chosen || !chosen->isValid()) {
            updating_ = true;
            setCurrentIndex(shown_);
            updating_ = false;
            return;
        }
        setValue(fromQColor(*chosen));
    }
    shown_ = currentIndex();
    emit valueChanged(value());
}

} // namespace tw
