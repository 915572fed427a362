#pragma once
// New files written by a second thread while the caller builds the next one. An export
// of thousands of files spends about as long in the system calls that create and fill
// them as in building their contents; on two cores the two overlap. The caller stays
// in charge of everything else (names, progress, messages): it hands over finished
// bytes and collects the failures, each with the number it gave the file.

#include <QString>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace tw {

class NewFileWriter {
public:
    // At most maxPending files wait to be written; write() blocks while the queue is full,
    // so memory stays bounded however fast the caller builds.
    explicit NewFileWriter(size_t maxPending = 4);
    ~NewFileWriter();  // writes what is queued, then stops
    NewFileWriter(const NewFileWriter&) = delete;
    NewFileWriter& operator=(const NewFileWriter&) = delete;

    // An empty buffer to build the next file in; its capacity comes from a file already
    // written, so a long export allocates its buffers once.
    std::string takeBuffer();
    // Queues bytes to be written as a new file (never over an existing one, as writeNewFile).
    void write(QString fileName, std::string bytes, int tag);

    struct Failure {
        int tag;
        QString reason;
    };
    // The failures reported since the last call, in the order the files were queued.
    std::vector<Failure> takeFailures();
    // Waits until every queued file has been written; then takeFailures() has them all.
    void finish();

private:
    struct Job {
        QString fileName;
        std::string bytes;
        int tag;
        bool written = false;
        QString reason;  // why it was not written
    };
    void run();
    // Writes the job's file (without the lock), then notes its failure and keeps its buffer
    // (with the lock held).
    void writeOne(Job& job);
    void noteWritten(Job& job);

    const size_t maxPending_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Job> jobs_;
    std::vector<std::string> spare_;
    std::vector<Failure> failures_;
    bool busy_ = false;  // the worker holds a job
    bool stop_ = false;
    std::thread worker_;
};

} // namespace tw
