#include "storage/new_file_writer.h"

#include "storage/safe_save.h"

#include <QByteArrayView>

#include <algorithm>
#include <system_error>
#include <utility>

namespace tw {

NewFileWriter::NewFileWriter(size_t maxPending) : maxPending_(std::max<size_t>(1, maxPending)) {
    try {
        worker_ = std::thread([this] { run(); });
    } catch (const std::system_error&) {
        // No thread to be had: write() then writes each file itself, at once.
    }
}

NewFileWriter::~NewFileWriter() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    changed_.notify_all();
    if (worker_.joinable()) worker_.join();
}

std::string NewFileWriter::takeBuffer() {
    std::lock_guard lock(mutex_);
    if (spare_.empty()) return {};
    std::string buffer = std::move(spare_.back());
    spare_.pop_back();
    buffer.clear();
    return buffer;
}

void NewFileWriter::write(QString fileName, std::string bytes, int tag) {
    if (!worker_.joinable()) {
        Job job{std::move(fileName), std::move(bytes), tag, false, {}};
        writeOne(job);
        std::lock_guard lock(mutex_);
        noteWritten(job);
        return;
    }
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return jobs_.size() < maxPending_; });
        jobs_.push_back({std::move(fileName), std::move(bytes), tag, false, {}});
    }
    changed_.notify_all();
}

std::vector<NewFileWriter::Failure> NewFileWriter::takeFailures() {
    std::lock_guard lock(mutex_);
    return std::exchange(failures_, {});
}

void NewFileWriter::finish() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return jobs_.empty() && !busy_; });
}

void NewFileWriter::writeOne(Job& job) {
    job.written = writeNewFile(
        job.fileName, QByteArrayView(job.bytes.data(), static_cast<qsizetype>(job.bytes.size())), &job.reason);
}

void NewFileWriter::noteWritten(Job& job) {
    if (!job.written) failures_.push_back({job.tag, job.reason});
    // Up to as many spare buffers as files may wait, so the builder never waits for one.
    if (spare_.size() <= maxPending_) spare_.push_back(std::move(job.bytes));
}

void NewFileWriter::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return stop_ || !jobs_.empty(); });
        if (jobs_.empty()) return;  // stopping, and nothing left to write
        Job job = std::move(jobs_.front());
        jobs_.pop_front();
        busy_ = true;
        lock.unlock();
        changed_.notify_all();  // a slot is free for the builder

        writeOne(job);
        lock.lock();
        noteWritten(job);
        busy_ = false;
        changed_.notify_all();
    }
}

} // namespace tw
