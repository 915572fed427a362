#include "app/program.h"
#include "storage/file_names.h"

namespace tw {

QString windowCaption(const QString& currentFileName, bool modified) {
    const QString name = fileNamePart(currentFileName).trimmed();
    const QString star = modified ? QStringLiteral("*") : QString();
    if (name.isEmpty()) return modified ? kProgramTitle + QStringLiteral("  *") : kProgramTitle;
    return kProgramTitle + QStringLiteral("  [") + name + star + QStringLiteral("]");
}

} // namespace tw
