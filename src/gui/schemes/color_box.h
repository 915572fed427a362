#pragma once
// A drop-down of named colours for one highlighter attribute. Values are the stored
// 32-bit colours: 0x00BBGGRR for plain colours, 0x80000000 | index for system colours,
// 0x1FFFFFFF for none and 0x20000000 for the default. "Custom..." asks the prompter for
// any colour; a value that is in no entry gets an extra entry of its own.

#include <QComboBox>
#include <QString>
#include <cstdint>
#include <vector>

namespace tw {

class Prompter;

class ColorBox : public QComboBox {
    Q_OBJECT
public:
    static constexpr std::uint32_t kDefaultColor = 0x20000000;
    static constexpr std::uint32_t kSystemColor = 0x80000000;

    ColorBox(Prompter& prompter, int attributeIndex, QWidget* parent = nullptr);

    int attributeIndex() const { return attributeIndex_; }
    std::uint32_t value() const;
    // Shows a value without raising valueChanged.
    void setValue(std::uint32_t value);

    // The caption an entry gets for a value (the colour's name, or its number when unnamed).
    static QString colorName(std::uint32_t value);
    // What the swatch shows: a plain colour, a system colour from the palette; invalid for
    // none, default and unknown special values.
    static QColor swatchColor(std::uint32_t value);

signals:
    // The user picked another value (an entry, or a colour through "Custom...").
    void valueChanged(std::uint32_t value);

protected:
    // The wheel scrolls the panel unless the box has the focus.
    void wheelEvent(QWheelEvent* event) override;

private:
    void picked(int index);
    int customIndex() const { return count() - 1; }
    int extraIndex() const; // -1 when there is no extra entry
    void addEntry(std::uint32_t value, const QString& text, int kind, int at = -1);

    Prompter& prompter_;
    int attributeIndex_;
    int shown_ = 0;         // the index before the user's pick, restored when "Custom..." is cancelled
    bool updating_ = false; // the box itself is changing the selection
};

} // namespace tw
