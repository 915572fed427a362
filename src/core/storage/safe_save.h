#pragma once
// Writing files so that a failed save never passes for a good one. Every write is
// checked as it happens (the file is opened unbuffered, so a full disk or a file-size
// limit shows at the write that hits it, not only when the file is closed); on any
// error the new file is dropped and the previous file stays as it was, byte for byte.

#include <QByteArrayView>
#include <QSaveFile>
#include <QString>

namespace tw {

// Replaces a file in one step: the bytes go to a temporary file beside it, and only a
// complete, flushed file takes its name at commit().
class SafeSave {
public:
    explicit SafeSave(const QString& fileName);
    ~SafeSave();  // an uncommitted file is dropped
    SafeSave(const SafeSave&) = delete;
    SafeSave& operator=(const SafeSave&) = delete;

    bool open();
    // False once any write has failed; later writes are refused.
    bool write(QByteArrayView bytes);
    // The open file, for writers that batch their own output (they must report their own
    // short writes through fail()). Unbuffered: each write reaches the system at once.
    QIODevice& device() { return file_; }
    // Marks the save as failed (a writer's own error); commit() then drops the file.
    void fail(const QString& reason = {});
    // Renames the complete file into place; false (and the new file dropped) after any
    // error. The old file is only ever replaced by a complete new one.
    bool commit();
    // The system's reason for the first failure.
    QString errorString() const;

private:
    QSaveFile file_;
    bool failed_ = false;
    bool done_ = false;
    QString error_;
};

// Creates or replaces fileName with bytes through SafeSave; error receives the reason.
bool saveFileBytes(const QString& fileName, QByteArrayView bytes, QString* error = nullptr);

// Creates a new file holding bytes, never over an existing one; every write is checked
// and a half-written file is removed. error receives the reason.
bool writeNewFile(const QString& fileName, QByteArrayView bytes, QString* error = nullptr);

} // namespace tw
