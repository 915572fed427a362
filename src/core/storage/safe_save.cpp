#include "storage/safe_save.h"

#include <QFile>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#endif

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

#ifdef Q_OS_UNIX

// With the system calls themselves: one open, one write for the whole file in the usual
// case, one close, each checked; an export writes thousands of such files.
bool writeNewFile(const QString& fileName, QByteArrayView bytes, QString* error) {
    const QByteArray path = QFile::encodeName(fileName);
    int fd;
    do
        fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        if (error) *error = qt_error_string(errno);
        return false;
    }
    const char* data = bytes.data();
    size_t left = static_cast<size_t>(bytes.size());
    int failure = 0;
    while (left > 0) {
        const ssize_t written = ::write(fd, data, left);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) {
            failure = written < 0 ? errno : ENOSPC;
            break;
        }
        data += written;
        left -= static_cast<size_t>(written);
    }
    // A failed close can be the first report of a failed write: it counts as one.
    if (::close(fd) != 0 && failure == 0 && errno != EINTR) failure = errno;
    if (failure != 0) {
        ::unlink(path.constData());
        if (error) *error = qt_error_string(failure);
        return false;
    }
    return true;
}

#else

bool writeNewFile(const QString& fileName, QByteArrayView bytes, QString* error) {
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered)) {
        if (error) *error = file.errorString();
        return false;
    }
    QString reason;
    bool ok = writeFully(file, bytes, reason);
    if (ok && !file.flush()) {
        ok = false;
        reason = file.errorString();
    }
    file.close();
    if (ok && file.error() != QFileDevice::NoError) {
        ok = false;
        reason = file.errorString();
    }
    if (!ok) {
        file.remove();
        if (error) *error = reason;
    }
    return ok;
}

#endif

} // namespace tw
