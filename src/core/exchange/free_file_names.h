#pragma once
// Free file names for exports: a file that already exists is never replaced; the new
// file takes the next bracketed number ("loop[3].html") after every name in its folder
// that begins the same way.

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QString>
#include <set>

namespace tw {

// 1-based position of pattern in text, 0 when there is none. Forward scans start,
// start + 1, ...; backward scans start, start - 1, ..., 1 (start = length finds the last one).
int positionOf(const QString& pattern, const QString& text, bool backward, int start);

// The integer between the last "[" and the last "]" of a file name; 0 when either is
// missing or the text between them is no valid integer.
qint64 trailingNumber(const QString& fileName);

// True when a caption can stand as one file or folder name inside the export folder:
// no path separator of either kind, and not "." or "..".
bool isSafeFileNamePart(const QString& caption);

// Hands out free names for one export. Each folder is listed once, the first time a
// name in it is asked for; files the export writes afterwards are told with noteWritten.
// So thousands of equal captions cost no rescans of the folder.
class FreeFileNames {
public:
    // The candidate when no file of that name exists; otherwise folder + lower-cased base +
    // "[" + (largest number of a file whose lower-cased name begins with the base and has
    // the same extension, + 1) + "]" + lower-cased extension.
    QString freeName(const QString& candidate);
    // A file now exists under this full name (written by the export, or reserved by it).
    void noteWritten(const QString& fullName);

private:
    struct Folder {
        QSet<QString> names;             // file names as they stand
        // The same, lower-cased, sorted for prefix scans; made when the folder's first name
        // is taken (most folders never need it) and kept up to date from then on.
        std::set<QString> lowerNames;
        bool sorted = false;
        QHash<QString, qint64> largest;  // base + '\0' + extension -> largest number seen
        std::set<qsizetype> baseLengths; // the lengths of the bases in largest
    };
    Folder& folder(const QString& dir);
    static qint64 scanLargest(Folder& f, const QString& base, const QString& extension);

    QHash<QString, Folder> folders_;
};

} // namespace tw
