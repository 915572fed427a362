#pragma once
// Rules for the names of collection files. Both slash kinds and a drive colon end
// the folder part, so names typed the Windows way behave as they always did.

#include <QString>

namespace tw {

// The name with its folder part removed.
QString fileNamePart(const QString& path);

// True when the file-name part holds a dot.
bool hasExtension(const QString& path);

// The name with ".xml" appended when it has no extension.
QString withXmlExtensionIfNone(const QString& path);

// The name with its extension (from the last dot of the file-name part) replaced by ext.
QString replaceExtension(const QString& path, const QString& ext);

// True when the extension is ".xml" in any letter case.
bool isXmlName(const QString& path);

// The standard message for a file that could not be written: Cannot create file "NAME". REASON
QString cannotCreateFileMessage(const QString& path, const QString& reason);

} // namespace tw
