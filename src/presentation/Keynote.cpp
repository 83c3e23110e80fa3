#include "presentation/Keynote.h"

#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

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
    const int count = static_cast<int>(shapes.size());
    for (int k = 0; k < count; ++k) {
        shapes[reverse ? count - 1 - k : k]->exportXML(file, k);
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
