#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "presentation/TransformableShape.h"

namespace Orvane {

// Writes a document's text into an open file: the header and the footer on
// the caller's thread, the drawables in the order added on a thread of its
// own, which formats each, writes it and frees it while the caller goes on
// adding. The caller waits only while several batches wait already, which
// bounds the memory that drawables not yet written hold.
class DocumentWriter {
public:
    explicit DocumentWriter(int descriptor);
    // Stops the thread; drawables not written yet are freed unwritten.
    ~DocumentWriter();
    DocumentWriter(const DocumentWriter&) = delete;
    DocumentWriter& operator=(const DocumentWriter&) = delete;

    void writeHeader(int width, int height);
    void add(std::unique_ptr<TransformableShape> drawable);
    // Writes every drawable added, then the footer; false when a write
    // failed. What a drawable threw while the thread wrote it is thrown here.
    bool finish();
    // The errno of the failed write, or 0.
    int failure() const { return error; }

private:
    using Batch = std::vector<std::unique_ptr<TransformableShape>>;

    const int descriptor;
    // The thread's while it runs, the caller's before and after it.
    std::string text;  // written, but not yet in the file
    int written = 0;   // drawables written so far: the index of the next one
    int error = 0;

    // The caller's.
    Batch filling;
    std::thread thread;
    bool threadTried = false;

    std::mutex mutex;
    std::condition_variable batchHanded;
    std::condition_variable batchTaken;
    // Guarded by `mutex`.
    std::deque<Batch> handed;
    bool finishing = false;
    bool abandoned = false;
    bool threadEnded = false;
    std::exception_ptr thrown;  // read once the thread has ended

    bool startThread();
    void stopThread(bool abandon);
    void handOver();
    void run();
    bool take(Batch& batch);
    void writeBatch(Batch& batch);
    void flush();
};

}  // namespace Orvane
