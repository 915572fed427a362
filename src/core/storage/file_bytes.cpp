#include "storage/file_bytes.h"

#include <QFile>

#include <limits>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <thread>
#include <unistd.h>
#endif

namespace tw {

namespace {

bool readPlainly(const QString& fileName, QByteArray& bytes) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) return false;
    bytes = file.readAll();
    if (file.error() == QFileDevice::NoError) return true;
    bytes.clear();
    return false;
}

#ifdef Q_OS_UNIX

// Below this size a second thread costs more than it saves.
constexpr qint64 kSplitBytes = 8 * 1024 * 1024;

// Reads exactly size bytes at offset into to; false on an error or an early end.
bool readRange(int fd, char* to, qint64 offset, qint64 size) {
    while (size > 0) {
        const ssize_t got = ::pread(fd, to, static_cast<size_t>(size), static_cast<off_t>(offset));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        to += got;
        offset += got;
        size -= got;
    }
    return true;
}

class FileDescriptor {
public:
    explicit FileDescriptor(const QString& fileName) {
        const QByteArray path = QFile::encodeName(fileName);
        do
            fd_ = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
        while (fd_ < 0 && errno == EINTR);
    }
    ~FileDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_ = -1;
};

#endif

} // namespace

bool readFileBytes(const QString& fileName, QByteArray& bytes) {
    bytes.clear();
#ifdef Q_OS_UNIX
    {
        const FileDescriptor file(fileName);
        if (file.get() < 0) return false;
        struct stat info {};
        if (::fstat(file.get(), &info) != 0) return false;
        const qint64 size = info.st_size;
        if (S_ISREG(info.st_mode) && size >= kSplitBytes && size < std::numeric_limits<qsizetype>::max() / 2) {
            bytes.resize(size);
            const qint64 half = size / 2;
            bool firstRead = false;
            const auto readFirstHalf = [&] { firstRead = readRange(file.get(), bytes.data(), 0, half); };
            std::thread helper;
            try {
                helper = std::thread(readFirstHalf);
            } catch (const std::system_error&) {
                readFirstHalf();  // no thread to be had: one after the other
            }
            const bool secondRead = readRange(file.get(), bytes.data() + half, half, size - half);
            if (helper.joinable()) helper.join();
            // Nothing may follow: a file that grew while it was read is read again below.
            char probe;
            ssize_t more;
            do
                more = ::pread(file.get(), &probe, 1, static_cast<off_t>(size));
            while (more < 0 && errno == EINTR);
            if (firstRead && secondRead && more == 0) return true;
            bytes.clear();
        }
    }
#endif
    return readPlainly(fileName, bytes);
}

} // namespace tw
