#include "launcher/applications_list.h"

#include <QRegularExpression>
#include <algorithm>

namespace tw {

namespace {
const QString kSection = QStringLiteral("Files");

QString descriptionKey(qint64 i) { return QStringLiteral("D%1").arg(i); }
QString objectKey(qint64 i) { return QStringLiteral("F%1").arg(i); }

bool blankChar(QChar c) { return c.unicode() <= 32; }
} // namespace

QString encodeEntryText(const QString& text) {
    QString value = text;
    value.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    if (value.isEmpty()) return value;
    const bool quoted = value.size() >= 2 && value.startsWith(u'"') && value.endsWith(u'"');
    if (quoted || blankChar(value.front()) || blankChar(value.back()))
        return QLatin1Char('"') + value + QLatin1Char('"');
    return value;
}

QString decodeEntryText(const QString& value) {
    if (value.size() >= 2 && value.startsWith(u'"') && value.endsWith(u'"')) return value.mid(1, value.size() - 2);
    return value;
}

std::vector<AppEntry> readApplicationList(const IniFile& ini) {
    const std::int32_t count = ini.readInt(kSection, QStringLiteral("count"), 0);
    std::vector<AppEntry> entries;
    if (count <= 0) return entries;
    // The indexes below count that have a description key ("D" and the decimal index,
    // in any letter case, without leading zeros).
    static const QRegularExpression key(QStringLiteral("^[Dd](0|[1-9][0-9]{0,9})$"));
    std::vector<qint64> indexes;
    for (const QString& name : ini.keys(kSection)) {
        const QRegularExpressionMatch m = key.match(name);
        if (!m.hasMatch()) continue;
        const qint64 i = m.captured(1).toLongLong();
        if (i < count) indexes.push_back(i);
    }
    std::sort(indexes.begin(), indexes.end());
    indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
    for (const qint64 i : indexes) {
        AppEntry e{decodeEntryText(ini.readText(kSection, descriptionKey(i))),
                   decodeEntryText(ini.readText(kSection, objectKey(i)))};
        if (!e.description.isEmpty() && !e.object.isEmpty()) entries.push_back(std::move(e));
    }
    return entries;
}

void writeApplicationList(IniFile& ini, const std::vector<AppEntry>& entries) {
    ini.writeInt(kSection, QStringLiteral("count"), static_cast<std::int32_t>(entries.size()));
    for (size_t i = 0; i < entries.size(); ++i) {
        ini.writeText(kSection, descriptionKey(static_cast<qint64>(i)), encodeEntryText(entries[i].description));
        ini.writeText(kSection, objectKey(static_cast<qint64>(i)), encodeEntryText(entries[i].object));
    }
}

bool isBlankEntryText(const QString& text) { return std::all_of(text.begin(), text.end(), blankChar); }

int entryMenuPosition(int itemCount) { return itemCount == 1 ? 0 : std::max(0, itemCount - 2); }

} // namespace tw
