#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

struct FT_LibraryRec_;
struct _FcConfig;

namespace Pictavo {

// A font as a text asks for it: a family name and the face wanted.
struct FontRequest {
    std::string_view family;
    bool bold = false;
    bool italic = false;
};

// A text's measures in one font, in font sizes: multiply by the size in
// points to get points.
struct TextExtent {
    float advance = 0;  // the pen's travel over the whole text
    float ascent = 0;   // the font's height above the baseline
    float descent = 0;  // and below it, positive
};

// Measures text with the metrics of the installed font that fontconfig picks
// for a family, as a presentation application on the same machine picks it
// (Liberation Sans for Helvetica and Arial, Liberation Serif for Times...).
// Faces and advances are cached: a chart measures thousands of labels in a
// few fonts. Where no font file can be had, the measures are estimated on
// the wide side, so that a box sized by them still holds its text.
class TextMetrics {
public:
    TextMetrics();
    ~TextMetrics();
    TextMetrics(const TextMetrics&) = delete;
    TextMetrics& operator=(const TextMetrics&) = delete;

    // `text` is UTF-8; an invalid byte counts as one unknown character.
    TextExtent measure(std::string_view text, const FontRequest& font);

private:
    struct Face;

    struct LibraryRelease {
        void operator()(FT_LibraryRec_* library) const;
    };
    std::unique_ptr<FT_LibraryRec_, LibraryRelease> library;  // null when FreeType failed to start
    // fontconfig's configuration, loaded for the first face and released with
    // the metrics: a shared one would stay allocated until the process ends.
    struct ConfigRelease {
        void operator()(_FcConfig* config) const;
    };
    std::unique_ptr<_FcConfig, ConfigRelease> fontConfig;
    std::unordered_map<std::string, std::unique_ptr<Face>> faces;  // by family and face flags

    Face& face(const FontRequest& font);
    std::unique_ptr<Face> loadFace(const FontRequest& font);
};

}  // namespace Pictavo
