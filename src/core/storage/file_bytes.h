#pragma once
// Reading a whole file into memory. Most of the time of reading a large file goes to the
// kernel giving the process fresh pages and copying the file into them; that work splits,
// so a large file is read in two halves at once, one of them on a helper thread.

#include <QByteArray>
#include <QString>

namespace tw {

// Reads the whole file into bytes. False when it cannot be opened or read; then bytes is
// empty. A file that changes size while it is read is read again from the start, plainly.
bool readFileBytes(const QString& fileName, QByteArray& bytes);

} // namespace tw
