#pragma once
// Failure messages of tarnwick-cli: the program's own (Russian) message first, as core
// reports it, then the file's path and the operating system's reason.

#include "app/feedback.h"

#include <QString>
#include <QStringList>

namespace tw::cli {

void printError(const QString& text);

// Gathers what core reports during one operation, so that a failure can name the file and
// the reason on the same line.
class FailureReport {
public:
    Feedback feedback();
    // Prints the gathered messages followed by ": PATH: REASON" (or "PATH: REASON" when core
    // said nothing) and returns 1, the exit status of a failure.
    int fail(const QString& path, const QString& reason);
    // Prints the gathered messages as they are (warnings of an operation that succeeded).
    void flush();

private:
    QStringList messages_;
};

// Why a file cannot be read as a collection: the operating system's reason when it cannot
// be opened, else what is wrong with its content.
QString readFailureReason(const QString& path, bool asXml);
// Why a file cannot be written at `path`: a missing folder or the operating system's reason.
QString writeFailureReason(const QString& path);
// Why `path` is not a folder that can be written into.
QString folderFailureReason(const QString& path);

} // namespace tw::cli
