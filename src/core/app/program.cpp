#include "app/program.h"
#include "storage/file_names.h"

namespace tw {

QString windowCaption(const QString& currentFileName) {
    const QString name = fileNamePart(currentFileName).trimmed();
    if (name.isEmpty()) return kProgramTitle;
    return kProgramTitle + QStringLiteral("  [") + name + QStringLiteral("]");
}

} // namespace tw
