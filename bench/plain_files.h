#pragma once
// The limits of the file-writing and file-reading benchmarks: the same folders and files
// made, written and read with plain system calls and std::filesystem, and nothing else.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace tw::bench {

struct TreeEntry {
    std::string relative;  // path below the listed folder
    bool folder = false;
    std::uintmax_t size = 0;  // bytes, for a file
};

// The folders and files below root, each folder before what it holds.
std::vector<TreeEntry> listTree(const std::filesystem::path& root);

// Makes the same folders and files of the same sizes below root (which must exist), each
// file created new and written whole with one write(2). False on the first failure.
bool writeTree(const std::filesystem::path& root, const std::vector<TreeEntry>& entries);

// Writes bytes to a new or truncated file with plain system calls; false on a failure.
bool writeWholeFile(const std::string& path, const char* data, size_t size);

// Reads a whole file with plain system calls into buffer (resized to fit); false on a failure.
bool readWholeFile(const std::string& path, std::string& buffer);

// Walks root with std::filesystem::recursive_directory_iterator; with contents, every
// regular file is also read whole. Returns the number of entries seen plus the bytes read.
std::uintmax_t walkTree(const std::filesystem::path& root, bool contents);

// Removes root with everything below it and makes it again, empty.
void emptyFolder(const std::filesystem::path& root);

} // namespace tw::bench
