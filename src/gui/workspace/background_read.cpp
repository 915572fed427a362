#include "workspace/background_read.h"

#include "app/feedback.h"
#include "storage/text_collection.h"
#include "storage/xml_collection.h"

#include <exception>

namespace tw {

namespace {
// Thrown from the progress step when the read is to stop; the readers leave everything
// they hold to destructors, so it unwinds them cleanly.
struct ReadStopped {};
} // namespace

BackgroundRead::BackgroundRead(QString fileName, bool asXml, QObject* parent)
    : QObject(parent), fileName_(std::move(fileName)), asXml_(asXml) {
    worker_ = std::thread([this] { run(); });
}

BackgroundRead::~BackgroundRead() {
    stop_.store(true);
    if (worker_.joinable()) worker_.join();
    // A finished() still queued for this object is dropped with it.
}

void BackgroundRead::run() {
    Feedback fb;
    fb.message = [this](const QString& text) { messages_ << text; };
    fb.beginProgress = [this](int maximum) {
        steps_.store(0, std::memory_order_relaxed);
        maximum_.store(maximum, std::memory_order_relaxed);
    };
    fb.stepProgress = [this] {
        if (stop_.load(std::memory_order_relaxed)) throw ReadStopped{};
        steps_.fetch_add(1, std::memory_order_relaxed);
    };
    try {
        succeeded_ = asXml_ ? loadCollectionXml(tree_, fileName_, fb) : loadCollectionText(tree_, fileName_, fb);
    } catch (const ReadStopped&) {
        succeeded_ = false;  // nobody is waiting for this result any more
    } catch (const std::exception&) {
        // Whatever a reader could not handle (memory running out) is a failed read with
        // the reader's own message, never the end of the program.
        succeeded_ = false;
        messages_ << (asXml_ ? kOpenFileError : kLoadFileError);
    }
    // The object outlives the worker (its destructor joins), so the call finds it.
    QMetaObject::invokeMethod(
        this,
        [this] {
            worker_.join();
            ended_ = true;
            emit finished();
        },
        Qt::QueuedConnection);
}

} // namespace tw
