#include "presentation/DocumentWriter.h"

#include <unistd.h>

#include <cerrno>
#include <system_error>
#include <utility>

#include "presentation/DocumentFrame.h"

namespace Orvane {

namespace {

// Documents run to hundreds of megabytes: they go to the file in pieces this
// large rather than in pages.
const std::size_t flushSize = std::size_t(1) << 18;

// The thread is handed this many drawables at a time: a wake-up and a lock
// for each drawable would cost more than its formatting.
const std::size_t batchSize = 128;
// Batches handed but not taken yet before the caller waits.
const std::size_t batchesAhead = 4;

}  // namespace

DocumentWriter::DocumentWriter(int descriptor) : descriptor(descriptor) {
    text.reserve(2 * flushSize);
    filling.reserve(batchSize);
}

DocumentWriter::~DocumentWriter() { stopThread(true); }

void DocumentWriter::writeHeader(int width, int height) { appendDocumentHeader(text, width, height); }

void DocumentWriter::add(std::unique_ptr<TransformableShape> drawable) {
    filling.push_back(std::move(drawable));
    if (filling.size() == batchSize) handOver();
}

bool DocumentWriter::finish() {
    if (thread.joinable()) {
        if (!filling.empty()) handOver();
        stopThread(false);
        if (thrown) std::rethrow_exception(thrown);
    } else {
        writeBatch(filling);
    }
    appendDocumentFooter(text);
    flush();
    return error == 0;
}

bool DocumentWriter::startThread() {
    threadTried = true;
    try {
        thread = std::thread(&DocumentWriter::run, this);
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

void DocumentWriter::stopThread(bool abandon) {
    if (!thread.joinable()) return;
    {
        std::lock_guard<std::mutex> lock(mutex);
        (abandon ? abandoned : finishing) = true;
    }
    batchHanded.notify_one();
    thread.join();
}

// The thread starts with the first full batch, so that a small document is
// written without one. Where no thread can be started, the caller writes.
void DocumentWriter::handOver() {
    if (!thread.joinable() && (threadTried || !startThread())) {
        writeBatch(filling);
        return;
    }
    {
        std::unique_lock<std::mutex> lock(mutex);
        batchTaken.wait(lock, [&] { return handed.size() < batchesAhead || threadEnded; });
        if (!threadEnded) handed.push_back(std::move(filling));
    }
    batchHanded.notify_one();
    // After the thread ended on an exception, the batch is freed unwritten.
    filling.clear();
    filling.reserve(batchSize);
}

void DocumentWriter::run() {
    try {
        Batch batch;
        while (take(batch)) writeBatch(batch);
    } catch (...) {
        thrown = std::current_exception();
    }
    {
        std::lock_guard<std::mutex> lock(mutex);
        threadEnded = true;
    }
    batchTaken.notify_one();
}

bool DocumentWriter::take(Batch& batch) {
    std::unique_lock<std::mutex> lock(mutex);
    batchHanded.wait(lock, [&] { return !handed.empty() || finishing || abandoned; });
    if (abandoned || handed.empty()) return false;
    batch = std::move(handed.front());
    handed.pop_front();
    lock.unlock();
    batchTaken.notify_one();
    return true;
}

// Once a write has failed the document is lost: the rest is only freed.
void DocumentWriter::writeBatch(Batch& batch) {
    for (std::unique_ptr<TransformableShape>& drawable : batch) {
        if (error == 0) drawable->write(text, written);
        ++written;
        drawable.reset();
        if (text.size() >= flushSize) flush();
    }
    batch.clear();
}

void DocumentWriter::flush() {
    const char* next = text.data();
    std::size_t left = text.size();
    while (left > 0 && error == 0) {
        const ssize_t done = ::write(descriptor, next, left);
        if (done < 0 && errno == EINTR) continue;
        if (done <= 0) {
            error = done < 0 ? errno : EIO;
        } else {
            next += done;
            left -= static_cast<std::size_t>(done);
        }
    }
    text.clear();
}

}  // namespace Orvane
