#include "storage/safe_save.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace tw {

namespace {

// Writes all of bytes. A short write is retried with the rest, so the system's reason
// (no space, file too large) is the one the device reports.
bool writeFully(QFileDevice& file, QByteArrayView bytes, QString& error) {
    const char* data = bytes.data();
    qint64 left = bytes.size();
    while (left > 0) {
        const qint64 written = file.write(data, left);
        if (written <= 0) {
            error = file.errorString();
            return false;
        }
        data += written;
        left -= written;
    }
    return true;
}

} // namespace

SafeSave::SafeSave(const QString& fileName) : file_(fileName) {}

SafeSave::~SafeSave() {
    if (!done_ && file_.isOpen()) file_.cancelWriting();
}

bool SafeSave::open() {
    if (file_.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return true;
    fail(file_.errorString());
    return false;
}

bool SafeSave::write(QByteArrayView bytes) {
    if (failed_ || !file_.isOpen()) return false;
    QString error;
    if (writeFully(file_, bytes, error)) return true;
    fail(error);
    return false;
}

void SafeSave::fail(const QString& reason) {
    if (!failed_) error_ = reason.isEmpty() ? file_.errorString() : reason;
    failed_ = true;
}

bool SafeSave::commit() {
    if (done_) return !failed_;
    done_ = true;
    if (!file_.isOpen()) {
        fail();
        return false;
    }
    if (!failed_ && file_.error() != QFileDevice::NoError) fail(file_.errorString());
    if (failed_) {
        file_.cancelWriting();
        file_.commit();  // removes the temporary file and closes it
        return false;
    }
    if (file_.commit()) return true;
    fail(file_.errorString());
    return false;
}

QString SafeSave::errorString() const { return error_; }

bool saveFileBytes(const QString& fileName, QByteArrayView bytes, QString* error) {
    SafeSave save(fileName);
    const bool ok = save.open() && save.write(bytes) && save.commit();
    if (!ok && error) *error = save.errorString();
    return ok;
}

bool writeNewFile(const QString& fileName, QByteArrayView bytes, QString* error) {
    // Plain system calls: an export writes thousands of these, and the file needs neither
    // buffering nor a file engine. The reasons read as the file classes' own would.
    const QByteArray local = QFile::encodeName(fileName);
    const int fd = ::open(local.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        if (error) *error = qt_error_string(errno);
        return false;
    }
    const char* data = bytes.data();
    size_t left = static_cast<size_t>(bytes.size());
    int failure = 0;
    while (left > 0) {
        const ssize_t n = ::write(fd, data, left);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            failure = n < 0 ? errno : ENOSPC;
            break;
        }
        data += n;
        left -= static_cast<size_t>(n);
    }
    if (::close(fd) != 0 && failure == 0) failure = errno;
    if (failure == 0) return true;
    ::unlink(local.constData());  // a half-written file is no file
    if (error) *error = qt_error_string(failure);
    return false;
}

} // namespace tw
