#include "presentation/Keynote.h"

#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "presentation/Format.h"

namespace Orvane {

namespace {

const char* const documentName = "/presentation.apxl";
// Hidden, so that a half-written document never looks like a finished one.
const char* const temporaryName = "/.presentation.apxl.XXXXXX";
// Documents run to hundreds of megabytes: the stream writes them in pieces
// this large rather than in pages.
const std::size_t writeBufferSize = std::size_t(1) << 18;

const char* const headerBlock =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<presentation xmlns=\"http://developer.apple.com/schemas/APXL\" version=\"36\" "
    "xmlns:plugin=\"http://developer.apple.com/schemas/APXL\">\n"
    "\t<metadata>\n"
    "\t\t<application-name>Keynote</application-name>\n"
    "\t\t<application-version>update3-20030829_1</application-version>\n"
    "\t\t<time-stamp>Sat Oct  1 00:00:00 2011</time-stamp>\n"
    "\t</metadata>\n";

const char* const placeholderStyles =
    "<styles>\n"
    "<fill-style fill-type=\"none\"/>\n"
    "<dash-style pattern=\"none\"/>\n"
    "<shadow-style opacity=\"0\" radius=\"0\"/>\n"
    "</styles>\n";

const char* const outlineBullet =
    "marker-type=\"character\" spacing=\"18\">\n"
    "<content paragraph-head-indent=\"5\" paragraph-first-line-indent=\"5\" tab-stops=\"L 45\" "
    "font-size=\"32\" font-name=\"GillSans\"/>\n"
    "<character-bullet-style size-technique=\"relative\" size=\"1.71429\">\n"
    "<bullet-characters tab-stops=\"L 66\" font-size=\"8\" font-name=\"GillSans\">+"
    "</bullet-characters>\n"
    "</character-bullet-style>\n"
    "</bullet>\n";

const int outlineBulletLevels = 5;

const char* const masterPlaceholders =
    "<master-slides>\n"
    "<master-slide id=\"master-slide-1\" name=\"Blank\">\n"
    "<drawables>\n";

const char* const titlePlaceholder =
    "<title stroke-width=\"1\" size=\"644 150\" visibility=\"hidden\" "
    "vertical-alignment=\"middle\" location=\"78 16\" opacity=\"1\" stroke-color=\"g1\">\n";

const char* const bodyPlaceholder =
    "<body stroke-width=\"1\" size=\"644 352\" bullet-indentation=\"0 20 48 75 102 130\" "
    "visibility=\"hidden\" vertical-alignment=\"middle\" location=\"78 170\" opacity=\"1\" "
    "stroke-color=\"g1\">\n";

const char* const pageNumberPlaceholder =
    "<page-number stroke-width=\"1\" size=\"39 23\" visibility=\"hidden\" "
    "vertical-alignment=\"middle\" location=\"380 570\" opacity=\"1\" stroke-color=\"g1\">\n";

const char* const pageNumberEnd =
    "<text-attributes paragraph-alignment=\"center\" tab-stops=\"L 66\" font-size=\"14\" "
    "font-name=\"GillSans\"/>\n"
    "</page-number>\n"
    "</drawables>\n"
    "<background-fill-style fill-type=\"color\" fill-color=\"1 1 1\"/>\n"
    "<prototype-bullets>\n"
    "<bullet level=\"0\" marker-type=\"none\" spacing=\"0\">\n"
    "<content paragraph-alignment=\"center\" tab-stops=\"L 75\" font-size=\"64\" "
    "font-name=\"GillSans\"/>\n"
    "</bullet>\n";

// The slide's own drawables follow "<drawables>" on the same line.
const char* const masterEnd =
    "</prototype-bullets>\n"
    "<transition-style type=\"none\" duration=\"0\"/>\n"
    "<thumbnails>\n"
    "<thumbnail byte-size=\"360\" size=\"60 45\" file=\"thumbs/mt3.tiff\"/>\n"
    "</thumbnails>\n"
    "</master-slide>\n"
    "</master-slides>\n"
    "</theme>\n"
    "<slide-list>\n"
    "<slide id=\"slide-1\" master-slide-id=\"master-slide-1\">\n"
    "<drawables>";

const char* const footerBlock =
    "<title visibility=\"hidden\" vertical-alignment=\"tracks-master\"/>\n"
    "<body visibility=\"hidden\" vertical-alignment=\"tracks-master\"/>\n"
    "</drawables>\n"
    "<transition-style type=\"inherited\"/>\n"
    "<thumbnails>\n"
    "<thumbnail byte-size=\"360\" size=\"60 45\" file=\"thumbs/st0.tiff\"/>\n"
    "</thumbnails>\n"
    "<bullets>\n"
    "<bullet level=\"0\" marker-type=\"inherited\">\n"
    "<content paragraph-alignment=\"center\" tab-stops=\"L 75\" font-size=\"64\" "
    "font-name=\"GillSans\"/>\n"
    "</bullet>\n"
    "</bullets>\n"
    "</slide>\n"
    "</slide-list>\n"
    "<ui-state>\n"
    "<number key=\"BGShowUIStateNotesVisible\">0</number>\n"
    "<reference key=\"BGShowUIStateActiveSlide\" id-ref=\"slide-1\"/>\n"
    "<array key=\"BGShowUIStateSelectedSlides\">\n"
    "<reference id-ref=\"slide-1\"/>\n"
    "</array>\n"
    "<array key=\"BGShowUIStateSelectedBulletPoints\"/>\n"
    "<number key=\"BGShowUIStateMasterNavigatorHeight\">0</number>\n"
    "<array key=\"BGShowUIStateSelectedDrawables\"/>\n"
    "<string key=\"BGShowUIStateCanvasOrigin\">{0, 0}</string>\n"
    "<string key=\"BGShowUIStateWindowSize\">24 195 960 637 0 0 1280 832 </string>\n"
    "</ui-state>\n"
    "</presentation>\n";

void writeMasterSlide(FILE* file) {
    std::fputs(masterPlaceholders, file);
    std::fputs(titlePlaceholder, file);
    std::fputs(placeholderStyles, file);
    std::fputs("</title>\n", file);
    std::fputs(bodyPlaceholder, file);
    std::fputs(placeholderStyles, file);
    std::fputs("</body>\n", file);
    std::fputs(pageNumberPlaceholder, file);
    std::fputs(placeholderStyles, file);
    std::fputs(pageNumberEnd, file);
    for (int level = 1; level <= outlineBulletLevels; ++level) {
        std::fputs("<bullet level=\"", file);
        Format::integer(file, level);
        std::fputs("\" ", file);
        std::fputs(outlineBullet, file);
    }
    std::fputs(masterEnd, file);
}

// mkstemp makes the file readable by its owner only; the finished document
// gets the permissions an ordinary newly created file would have.
void giveOrdinaryPermissions(int descriptor) {
    mode_t mask = umask(0);
    umask(mask);
    fchmod(descriptor, 0666 & ~mask);
}

// The drawables in the order they are written: drawable k of that order
// writes its element with the index k.
class ExportOrder {
public:
    ExportOrder(const std::vector<TransformableShape*>& shapes, bool reverse)
        : shapes(shapes), reverse(reverse) {}

    int size() const { return static_cast<int>(shapes.size()); }

    // Writes the elements of drawables first to end - 1 of the order to `out`.
    void format(int first, int end, FILE* out) const {
        const int count = size();
        for (int k = first; k < end; ++k) shapes[reverse ? count - 1 - k : k]->exportXML(out, k);
    }

private:
    const std::vector<TransformableShape*>& shapes;
    bool reverse;
};

// Batches of this many drawables, some 70 KiB of text on the benchmark
// drawings (about 550 bytes an element), change hands often enough that
// neither thread idles for long.
const int batchDrawables = 128;
// Batches formatted ahead of the writing, at most: their texts stay at a few
// hundred KiB, which even the smallest drawings that take this road hardly
// notice in their peak memory.
const int batchesAhead = 4;
// Measured: below this many drawables a second thread saves less than
// starting it costs.
const int parallelThreshold = 4096;

bool worthFormattingInParallel(int drawables) {
    return drawables >= parallelThreshold && std::thread::hardware_concurrency() > 1;
}

// One batch's text in memory, in pages of its own rather than in the heap:
// texts grown among the drawables and freed at the end made deleting the
// drawables afterwards up to twice as slow (measured), which undid half of
// what the second thread saves. The pages are reserved once and reused batch
// after batch; only those written to ever become resident.
class BatchText {
public:
    BatchText() {
        void* pages = mmap(nullptr, capacity, PROT_READ | PROT_WRITE,
                           MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
        if (pages != MAP_FAILED) start = static_cast<char*>(pages);
    }
    BatchText(const BatchText&) = delete;
    BatchText& operator=(const BatchText&) = delete;
    ~BatchText() {
        if (start != nullptr) munmap(start, capacity);
    }

    bool usable() const { return start != nullptr; }
    const char* data() const { return start; }
    std::size_t size() const { return length; }
    void clear() { length = 0; }

    // Appends the bytes if they fit; a batch that outgrows the room is left
    // to be formatted at its turn.
    bool append(const char* bytes, std::size_t count) {
        if (start == nullptr || count > capacity - length) return false;
        std::memcpy(start + length, bytes, count);
        length += count;
        return true;
    }

private:
    // Some two hundred times a benchmark batch: a batch this large is rare
    // enough to be formatted the slow way.
    static constexpr std::size_t capacity = std::size_t(16) << 20;
    char* start = nullptr;
    std::size_t length = 0;
};

// The write function of a stream into a batch's text. A full text makes it
// fail, and so the stream.
ssize_t appendToText(void* cookie, const char* bytes, std::size_t count) {
    return static_cast<BatchText*>(cookie)->append(bytes, count) ? static_cast<ssize_t>(count) : -1;
}

const cookie_io_functions_t textSink = {nullptr, appendToText, nullptr, nullptr};

// Formatting the drawables takes a fifth of a large run, all of it after the
// conversion. Here a second thread and the calling one each take the next
// unformatted batch of consecutive drawables and format it into memory; the
// calling thread alone writes finished batches to the document, strictly in
// order, and hands each one's memory on to a later batch once it is written.
// Every drawable is formatted by one thread only, as drawables change their
// own fields while they write.
class ParallelExport {
public:
    ParallelExport(const ExportOrder& order, FILE* file)
        : order(order),
          file(file),
          batchCount((order.size() + batchDrawables - 1) / batchDrawables),
          states(batchCount, State::pending) {}

    void run() {
        std::thread helper;
        // Without a second thread the calling one formats every batch at
        // its turn, which is the sequential loop.
        try {
            helper = std::thread(&ParallelExport::formatAhead, this);
        } catch (const std::system_error&) {
        }
        for (int turn = 0; turn < batchCount; ++turn) {
            awaitTurn(turn);
            writeBatch(turn);
        }
        if (helper.joinable()) helper.join();
    }

private:
    // A batch's text is in memory once formatted ahead; a batch that nobody
    // formatted ahead, or whose memory stream failed, is formatted straight
    // into the document at its turn.
    enum class State { pending, inMemory, atTurn };

    const ExportOrder& order;
    FILE* const file;
    const int batchCount;
    std::vector<State> states;  // one a batch, guarded by `mutex`
    // Batch b is formatted into texts[b % batchesAhead]: the batch that used
    // it before is written by then.
    BatchText texts[batchesAhead];
    std::atomic<int> unclaimed{0};  // the first batch nobody has taken
    std::mutex mutex;
    std::condition_variable batchFinished;
    std::condition_variable batchWritten;
    int written = 0;  // batches written to the document, guarded by `mutex`

    int firstDrawable(int batch) const { return batch * batchDrawables; }
    int endDrawable(int batch) const {
        return std::min(firstDrawable(batch) + batchDrawables, order.size());
    }

    // The second thread: it waits while its batch would run too far ahead
    // of the writing.
    void formatAhead() {
        for (;;) {
            const int batch = unclaimed.fetch_add(1);
            if (batch >= batchCount) return;
            {
                std::unique_lock<std::mutex> lock(mutex);
                batchWritten.wait(lock, [&] { return batch < written + batchesAhead; });
            }
            formatIntoMemory(batch);
        }
    }

    // Takes the next unformatted batch if it is below `limit`.
    bool claimBelow(int limit, int& batch) {
        batch = unclaimed.load();
        while (batch < limit) {
            if (unclaimed.compare_exchange_weak(batch, batch + 1)) return true;
        }
        return false;
    }

    // The calling thread formats batches ahead itself until the batch of
    // this turn is finished, or is its own to format now.
    void awaitTurn(int turn) {
        const int limit = std::min(turn + batchesAhead, batchCount);
        int batch;
        while (!isFinished(turn) && claimBelow(limit, batch)) {
            if (batch == turn) {
                finish(turn, State::atTurn);
                return;
            }
            formatIntoMemory(batch);
        }
        std::unique_lock<std::mutex> lock(mutex);
        batchFinished.wait(lock, [&] { return states[turn] != State::pending; });
    }

    bool isFinished(int batch) {
        std::lock_guard<std::mutex> lock(mutex);
        return states[batch] != State::pending;
    }

    void finish(int batch, State state) {
        {
            std::lock_guard<std::mutex> lock(mutex);
            states[batch] = state;
        }
        batchFinished.notify_one();
    }

    // A stream that failed may have lost bytes: its batch is formatted again
    // at its turn, into the document.
    void formatIntoMemory(int batch) {
        BatchText& text = texts[batch % batchesAhead];
        text.clear();
        FILE* stream = text.usable() ? fopencookie(&text, "w", textSink) : nullptr;
        if (stream == nullptr) {
            finish(batch, State::atTurn);
            return;
        }
        // Each drawable writes its element at once: a stream buffer would
        // only copy it one more time.
        std::setvbuf(stream, nullptr, _IONBF, 0);
        order.format(firstDrawable(batch), endDrawable(batch), stream);
        const bool streamFailed = std::ferror(stream) != 0;
        finish(batch, std::fclose(stream) != 0 || streamFailed ? State::atTurn : State::inMemory);
    }

    void writeBatch(int turn) {
        if (states[turn] == State::inMemory) {
            const BatchText& text = texts[turn % batchesAhead];
            std::fwrite(text.data(), 1, text.size(), file);
        } else {
            order.format(firstDrawable(turn), endDrawable(turn), file);
        }
        {
            std::lock_guard<std::mutex> lock(mutex);
            ++written;
        }
        batchWritten.notify_one();
    }
};

}  // namespace

Keynote::Keynote(const char* bundle, int width, int height)
    : width(width),
      height(height),
      file(nullptr),
      failed(0),
      bundlePath(bundle),
      createdBundle(false),
      saved(false) {
    documentPath = bundlePath + documentName;
    if (mkdir(bundle, 0775) == 0) {
        createdBundle = true;
    } else if (errno != EEXIST) {
        failed = 1;
        return;
    }
    std::string pathTemplate = bundlePath + temporaryName;
    int descriptor = mkstemp(pathTemplate.data());
    if (descriptor >= 0) {
        temporaryPath = pathTemplate;
        giveOrdinaryPermissions(descriptor);
        file = fdopen(descriptor, "w");
        if (file == nullptr) {
            close(descriptor);
        } else {
            writeBuffer.resize(writeBufferSize);
            std::setvbuf(file, writeBuffer.data(), _IOFBF, writeBuffer.size());
        }
    }
    if (file == nullptr) {
        failed = 1;
        discard();
    }
}

Keynote::~Keynote() {
    if (!saved) discard();
    clear();
}

void Keynote::discard() {
    if (file != nullptr) {
        std::fclose(file);
        file = nullptr;
    }
    if (!temporaryPath.empty()) {
        unlink(temporaryPath.c_str());
        temporaryPath.clear();
    }
    // Only the directory this run made goes, and only while it is empty.
    if (createdBundle) {
        rmdir(bundlePath.c_str());
        createdBundle = false;
    }
}

void Keynote::clear() {
    for (TransformableShape* shape : shapes) delete shape;
    shapes.clear();
}

int Keynote::error() const { return failed; }

void Keynote::addShape(TransformableShape* shape) {
    if (shape != nullptr) shapes.push_back(shape);
}

void Keynote::exportXML(bool reverse) {
    if (error() || file == nullptr) return;
    const ExportOrder order(shapes, reverse);
    if (worthFormattingInParallel(order.size())) {
        ParallelExport(order, file).run();
    } else {
        order.format(0, order.size(), file);
    }
}

int Keynote::printHeader() {
    if (error() || file == nullptr) return 1;
    std::fputs(headerBlock, file);
    std::fputs("<theme slide-size=\"", file);
    Format::integer(file, width);
    std::fputc(' ', file);
    Format::integer(file, height);
    std::fputs("\">\n", file);
    writeMasterSlide(file);
    return 0;
}

int Keynote::printFooter() {
    if (error() || file == nullptr) return 1;
    std::fputs(footerBlock, file);
    return 0;
}

int Keynote::save() {
    if (saved) return 0;
    if (error() || file == nullptr) return 1;
    const bool writeFailed = std::ferror(file) != 0;
    const bool closeFailed = std::fclose(file) != 0;
    file = nullptr;
    if (writeFailed || closeFailed ||
        std::rename(temporaryPath.c_str(), documentPath.c_str()) != 0) {
        failed = 1;
        discard();
        return 1;
    }
    temporaryPath.clear();
    saved = true;
    return 0;
}

}  // namespace Orvane
