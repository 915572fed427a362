#pragma once

#include <QString>

namespace tw {

// A caption as a menu or a tab shows it: "&" stands for itself, not for a mnemonic.
inline QString menuText(const QString& caption) {
    QString text = caption;
    return text.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

// The caption back from what a menu or a tab holds.
inline QString captionOfMenuText(const QString& text) {
    QString caption = text;
    return caption.replace(QStringLiteral("&&"), QStringLiteral("&"));
}

} // namespace tw
