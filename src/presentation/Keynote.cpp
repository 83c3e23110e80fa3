#include "presentation/Keynote.h"

#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <cerrno>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <memory>
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

void writeHeader(FILE* file, int width, int height) {
    std::fputs(headerBlock, file);
    std::fputs("<theme slide-size=\"", file);
    Format::integer(file, width);
    std::fputc(' ', file);
    Format::integer(file, height);
    std::fputs("\">\n", file);
    writeMasterSlide(file);
}

// The header as writeHeader writes it, or an empty text when no memory
// stream could be had.
std::string headerText(int width, int height) {
    char* bytes = nullptr;
    std::size_t length = 0;
    FILE* stream = open_memstream(&bytes, &length);
    if (stream == nullptr) return std::string();
    writeHeader(stream, width, height);
    std::string text;
    if (std::fclose(stream) == 0) text.assign(bytes, length);
    std::free(bytes);
    return text;
}

// Writes every one of `drawables`, in their order or reversed; the k-th
// written gets the index firstIndex + k.
void writeDrawables(const std::vector<TransformableShape*>& drawables, bool reverse,
                    int firstIndex, FILE* file) {
    const int count = static_cast<int>(drawables.size());
    for (int k = 0; k < count; ++k)
        drawables[reverse ? count - 1 - k : k]->exportXML(file, firstIndex + k);
}

bool writeAt(int descriptor, const char* bytes, std::size_t count, off_t offset) {
    while (count > 0) {
        const ssize_t done = pwrite(descriptor, bytes, count, offset);
        if (done < 0 && errno == EINTR) continue;
        if (done <= 0) return false;
        bytes += done;
        count -= static_cast<std::size_t>(done);
        offset += done;
    }
    return true;
}

const std::size_t copyChunk = std::size_t(1) << 20;

// The slow way, for file systems that cannot copy within the kernel.
bool copyByReading(int from, off_t fromOffset, int to, off_t toOffset) {
    std::vector<char> chunk(copyChunk);
    for (;;) {
        const ssize_t read = pread(from, chunk.data(), chunk.size(), fromOffset);
        if (read < 0 && errno == EINTR) continue;
        if (read <= 0) return read == 0;
        if (!writeAt(to, chunk.data(), static_cast<std::size_t>(read), toOffset)) return false;
        fromOffset += read;
        toOffset += read;
    }
}

// Copies everything from `fromOffset` to the end of `from` to `toOffset` in `to`.
bool copyToEnd(int from, off_t fromOffset, int to, off_t toOffset) {
    for (;;) {
        const ssize_t copied = copy_file_range(from, &fromOffset, to, &toOffset, copyChunk, 0);
        if (copied == 0) return true;
        if (copied < 0 && errno != EINTR) return copyByReading(from, fromOffset, to, toOffset);
    }
}

// Drops what the stream wrote from `length` on; it goes on writing there.
bool cutAfter(FILE* file, long length) {
    return std::fflush(file) == 0 && ftruncate(fileno(file), length) == 0 &&
           std::fseek(file, length, SEEK_SET) == 0;
}

// The writer wakes for this many new drawables at a time: one wake-up, and
// one lock on the adding side, for each drawable would cost more than their
// formatting.
const std::size_t batchDrawables = 128;

}  // namespace

// Formats the drawables on a thread of its own while the converter adds more:
// it takes the pointers added since its last batch under the lock and writes
// those drawables without it, straight into the document's stream, which no
// other thread touches while it runs. Every drawable is formatted by this
// thread only, as drawables change their own fields while they write.
class Keynote::Writer {
public:
    explicit Writer(Keynote& keynote) : keynote(keynote) {}

    bool start() {
        try {
            thread = std::thread(&Writer::run, this);
        } catch (const std::system_error&) {
            return false;
        }
        return true;
    }

    void add(TransformableShape* shape) {
        bool batchComplete;
        {
            std::lock_guard<std::mutex> lock(mutex);
            keynote.shapes.push_back(shape);
            batchComplete = keynote.shapes.size() == awaited;
        }
        if (batchComplete) drawablesAdded.notify_one();
    }

    // With `finishWriting`, every drawable added so far is written first.
    void stop(bool finishWriting) {
        {
            std::lock_guard<std::mutex> lock(mutex);
            stopping = true;
            abandoned = !finishWriting;
        }
        drawablesAdded.notify_one();
        thread.join();
    }

private:
    Keynote& keynote;
    std::thread thread;
    std::mutex mutex;
    std::condition_variable drawablesAdded;
    // Guarded by `mutex`, like the growing of keynote.shapes.
    std::size_t taken = 0;    // drawables handed to the writing so far
    std::size_t awaited = 0;  // the count of drawables that wakes the writer
    bool stopping = false;
    bool abandoned = false;

    void run() {
        std::vector<TransformableShape*> batch;
        std::size_t first = 0;
        while (takeBatch(batch, first)) {
            if (first == 0) std::fseek(keynote.file, keynote.bodyStart, SEEK_SET);
            writeDrawables(batch, false, static_cast<int>(first), keynote.file);
        }
    }

    bool takeBatch(std::vector<TransformableShape*>& batch, std::size_t& first) {
        std::unique_lock<std::mutex> lock(mutex);
        const std::vector<TransformableShape*>& shapes = keynote.shapes;
        awaited = taken + batchDrawables;
        drawablesAdded.wait(lock, [&] { return shapes.size() >= awaited || stopping; });
        if (abandoned || taken == shapes.size()) return false;
        first = taken;
        batch.assign(shapes.begin() + static_cast<std::ptrdiff_t>(taken), shapes.end());
        taken = shapes.size();
        return true;
    }
};

Keynote::Keynote(const char* bundle, int width, int height)
    : width(width),
      height(height),
      file(nullptr),
      failed(0),
      bundlePath(bundle),
      createdBundle(false),
      saved(false),
      bodyStart(-1) {
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
    stopWriter(false);
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
    stopWriter(false);
    for (TransformableShape* shape : shapes) delete shape;
    shapes.clear();
}

int Keynote::error() const { return failed; }

void Keynote::setSize(int slideWidth, int slideHeight) {
    width = slideWidth;
    height = slideHeight;
}

void Keynote::add(std::unique_ptr<TransformableShape> drawable) { addShape(drawable.release()); }

void Keynote::addShape(TransformableShape* shape) {
    if (shape == nullptr) return;
    if (writer == nullptr) {
        shapes.push_back(shape);
        return;
    }
    if (bodyStart < 0) reserveHeaderRoom();
    writer->add(shape);
}

void Keynote::exportWhileAdding() {
    if (error() || file == nullptr || writer != nullptr) return;
    if (!shapes.empty()) reserveHeaderRoom();
    auto started = std::make_unique<Writer>(*this);
    if (started->start()) writer = std::move(started);
}

// The header goes first but its slide size is final only after the last
// drawable: the drawables start behind room for the header as it would be
// now, which it fills unless a later size has other digits.
void Keynote::reserveHeaderRoom() {
    bodyStart = static_cast<long>(headerText(width, height).size());
}

void Keynote::stopWriter(bool finishWriting) {
    if (writer == nullptr) return;
    writer->stop(finishWriting);
    writer.reset();
}

void Keynote::exportXML(bool reverse) {
    if (error() || file == nullptr) return;
    if (writer != nullptr || bodyStart >= 0) {
        stopWriter(true);
        if (!reverse) return;
        // The writer wrote them in the order they were added.
        if (bodyStart >= 0 && !cutAfter(file, bodyStart)) failed = 1;
    }
    writeDrawables(shapes, reverse, 0, file);
}

int Keynote::printHeader() {
    if (error() || file == nullptr) return 1;
    if (bodyStart >= 0) return placeHeader(headerText(width, height));
    writeHeader(file, width, height);
    // Drawables added from now on follow this header.
    if (writer != nullptr) bodyStart = std::ftell(file);
    return 0;
}

// Writes the header into its room beside the writer, which may still be
// appending drawables behind it, or moves the drawables when it does not fit.
int Keynote::placeHeader(const std::string& header) {
    const bool fits = header.size() == static_cast<std::size_t>(bodyStart);
    const bool placed = !header.empty() && (fits ? writeAt(fileno(file), header.data(), header.size(), 0)
                                                 : moveBodyBehind(header));
    if (!placed) failed = 1;
    return placed ? 0 : 1;
}

// The drawables written so far go into a new temporary document behind the
// header, which then replaces the old one.
bool Keynote::moveBodyBehind(const std::string& header) {
    stopWriter(true);
    if (std::fflush(file) != 0 || std::ferror(file)) return false;
    std::string pathTemplate = bundlePath + temporaryName;
    const int descriptor = mkstemp(pathTemplate.data());
    if (descriptor < 0) return false;
    giveOrdinaryPermissions(descriptor);
    FILE* moved = nullptr;
    if (writeAt(descriptor, header.data(), header.size(), 0) &&
        copyToEnd(fileno(file), bodyStart, descriptor, static_cast<off_t>(header.size())))
        moved = fdopen(descriptor, "w");
    if (moved == nullptr) {
        close(descriptor);
        unlink(pathTemplate.c_str());
        return false;
    }
    std::fclose(file);
    unlink(temporaryPath.c_str());
    temporaryPath = pathTemplate;
    file = moved;
    std::setvbuf(file, writeBuffer.data(), _IOFBF, writeBuffer.size());
    bodyStart = static_cast<long>(header.size());
    return std::fseek(file, 0, SEEK_END) == 0;
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
