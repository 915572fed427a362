#pragma once
// Import by file search: a directory of the file system is walked recursively; every
// subdirectory becomes a section and every file whose extension passes the masks a
// page, optionally with the file's content and the language of its extension.
// The walk adds nodes through a sink, so the window adds them through its tree model
// (keeping views and tabs current) and the command-line tool to the plain tree.

#include "app/feedback.h"
#include "exchange/file_masks.h"
#include "tree/collection_tree.h"

#include <QHash>
#include <QStringList>
#include <cstdint>
#include <string>

namespace tw {

class HighlighterSet;

class ImportSink {
public:
    virtual ~ImportSink() = default;
    // Appends a section or a page as the last child of parent, with the record of a new
    // section or page. nullptr when the tree can no longer take nodes: the walk ends.
    virtual Node* addSection(Node* parent, const QString& caption) = 0;
    virtual Node* addPage(Node* parent, const QString& caption) = 0;
    // The enumeration of one directory has ended.
    virtual void directoryDone() {}
};

// Adds to a CollectionTree directly.
class TreeImportSink : public ImportSink {
public:
    explicit TreeImportSink(CollectionTree& tree) : tree_(tree) {}
    Node* addSection(Node* parent, const QString& caption) override;
    Node* addPage(Node* parent, const QString& caption) override;

private:
    CollectionTree& tree_;
};

struct FileSearchOptions {
    QStringList masks{QStringLiteral("*.*")};    // see parseMasks
    const HighlighterSet* languages = nullptr;   // set: each page gets the language of its extension
    bool loadFiles = false;                      // copy a file's content into its page
    QString fragment;                            // mask the whole content must match to be loaded
    std::int64_t sizeLimit = 0;                  // largest size in bytes whose content is loaded; 0 none
};

class FileSearch {
public:
    FileSearch(FileSearchOptions options, ImportSink& sink, const Feedback& feedback)
        : options_(std::move(options)), masks_(options_.masks), sink_(sink), fb_(feedback) {}

    // The directory as the walk starts it: trimmed, ending in a separator; empty for an
    // empty path.
    static QString normalisedPath(const QString& path);
    // Walks path (normalised here) below parent. An empty or unreadable path adds nothing.
    void run(const QString& path, Node* parent);
    // The recursive walk of one directory (path ending in a separator).
    void walk(const QString& path, Node* parent);
    // True when the fragment is blank or the whole content of the file matches it.
    bool fileMatches(const QString& fileName) const;

    // Each directory level handles the entry it is taking and ends (also when stopped
    // before the walk starts).
    void stop() { stop_ = true; }
    bool stopped() const { return stop_; }
    // The sink refused a node; nothing more is added.
    bool abandoned() const { return abandoned_; }
    // A loaded file was UTF-8 with damaged bytes, read as U+FFFD (for one message at the end).
    bool replacedInvalidBytes() const { return replacedInvalidBytes_; }

private:
    void walkDirectory(const QString& path, const QByteArray& localPath, Node* parent);
    void handleFile(const QString& path, const QString& name, const QByteArray& localFile, Node* parent);
    bool fragmentMatches(const std::string& text) const;

    FileSearchOptions options_;
    MaskList masks_;
    std::string buffer_;  // a file's bytes as read, kept between files
    QHash<QString, std::uint8_t> languageOfExtension_;  // found once per extension and walk
    ImportSink& sink_;
    const Feedback& fb_;
    bool stop_ = false;
    bool abandoned_ = false;
    bool replacedInvalidBytes_ = false;
};

// A text file as a page's text: UTF-8 (decoded by the rule of textFileAsUtf8, which sets
// replaced), every line followed by CR LF whatever its line end was.
// False when the file cannot be read.
bool readFileAsLines(const QString& fileName, std::string& text, bool* replaced = nullptr);

// The sections that removing childless sections from the last node to the first
// removes: the topmost sections whose subtrees hold no page, last in pre-order first.
std::vector<Node*> emptyBranches(const CollectionTree& tree);
// Removes them (the whole collection; the root node and pages stay).
void removeEmptySections(CollectionTree& tree);

} // namespace tw
