#include "plain_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tw::bench {

namespace fs = std::filesystem;

std::vector<TreeEntry> listTree(const fs::path& root) {
    std::vector<TreeEntry> entries;
    for (const fs::directory_entry& e : fs::recursive_directory_iterator(root)) {
        TreeEntry entry;
        entry.relative = fs::relative(e.path(), root).string();
        entry.folder = e.is_directory();
        if (!entry.folder) entry.size = e.file_size();
        entries.push_back(std::move(entry));
    }
    return entries;
}

bool writeWholeFile(const std::string& path, const char* data, size_t size) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    bool ok = true;
    while (ok && size > 0) {
        const ssize_t n = ::write(fd, data, size);
        ok = n > 0;
        if (ok) {
            data += n;
            size -= static_cast<size_t>(n);
        }
    }
    return ::close(fd) == 0 && ok;
}

bool readWholeFile(const std::string& path, std::string& buffer) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0;
    if (ok) {
        buffer.resize(static_cast<size_t>(st.st_size));
        size_t got = 0;
        while (ok && got < buffer.size()) {
            const ssize_t n = ::read(fd, buffer.data() + got, buffer.size() - got);
            ok = n > 0;
            if (ok) got += static_cast<size_t>(n);
        }
    }
    ::close(fd);
    return ok;
}

bool writeTree(const fs::path& root, const std::vector<TreeEntry>& entries) {
    std::uintmax_t largest = 0;
    for (const TreeEntry& e : entries) largest = std::max(largest, e.size);
    const std::string bytes(static_cast<size_t>(largest), 'x');
    const std::string base = root.string() + '/';
    for (const TreeEntry& e : entries) {
        const std::string path = base + e.relative;
        if (e.folder) {
            if (::mkdir(path.c_str(), 0777) != 0) return false;
            continue;
        }
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) return false;
        const bool written = ::write(fd, bytes.data(), e.size) == static_cast<ssize_t>(e.size);
        if (::close(fd) != 0 || !written) return false;
    }
    return true;
}

std::uintmax_t walkTree(const fs::path& root, bool contents) {
    std::uintmax_t seen = 0;
    std::string buffer;
    for (const fs::directory_entry& e : fs::recursive_directory_iterator(root)) {
        ++seen;
        if (contents && e.is_regular_file() && readWholeFile(e.path().string(), buffer)) seen += buffer.size();
    }
    return seen;
}

void emptyFolder(const fs::path& root) {
    fs::remove_all(root);
    fs::create_directories(root);
}

} // namespace tw::bench
