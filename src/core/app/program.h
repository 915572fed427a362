#pragma once
#include <QString>

namespace tw {

inline const QString kProgramTitle = QStringLiteral("Tarnwick v1.6");
inline const QString kProgramName = QStringLiteral("Tarnwick");

// Window caption for a current file name: the title, then the bare file name in
// brackets when there is one.
// A changed collection shows "*" after its file name (or after the title when it has none).
QString windowCaption(const QString& currentFileName, bool modified = false);

} // namespace tw
