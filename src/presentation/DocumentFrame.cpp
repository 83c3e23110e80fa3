#include "presentation/DocumentFrame.h"

#include "presentation/Format.h"

namespace Orvane {

namespace {

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

const char* const footer =
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

void appendMasterSlide(std::string& document) {
    document.append(masterPlaceholders);
    document.append(titlePlaceholder);
    document.append(placeholderStyles);
    document.append("</title>\n");
    document.append(bodyPlaceholder);
    document.append(placeholderStyles);
    document.append("</body>\n");
    document.append(pageNumberPlaceholder);
    document.append(placeholderStyles);
    document.append(pageNumberEnd);
    for (int level = 1; level <= outlineBulletLevels; ++level) {
        document.append("<bullet level=\"");
        Format::integer(document, level);
        document.append("\" ");
        document.append(outlineBullet);
    }
    document.append(masterEnd);
}

}  // namespace

void appendDocumentHeader(std::string& document, int width, int height) {
    document.append(headerBlock);
    document.append("<theme slide-size=\"");
    Format::integer(document, width);
    document.push_back(' ');
    Format::integer(document, height);
    document.append("\">\n");
    appendMasterSlide(document);
}

void appendDocumentFooter(std::string& document) { document.append(footer); }

}  // namespace Orvane
