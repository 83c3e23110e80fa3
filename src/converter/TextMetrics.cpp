#include "converter/TextMetrics.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_ADVANCES_H
#include <libxml/xmlstring.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <utility>

namespace Pictavo {

namespace {

// Measures for text whose font cannot be read: as wide as broad capitals,
// so that a box sized by them does not wrap; the height of common sans faces.
const float estimatedAdvance = 0.8f;
const float estimatedAscent = 0.93f;
const float estimatedDescent = 0.24f;

// A character the face lacks is drawn from another font; an em holds the
// widest of them (ideographs).
const float missingGlyphAdvance = 1;

// The file and face index that fontconfig matches to the request, as the
// presentation application's own lookup falls back for unknown families.
bool matchedFontFile(FcConfig* config, const FontRequest& font, std::string& file, int& index) {
    FcPattern* pattern = FcPatternCreate();
    if (pattern == nullptr) return false;
    std::string family(font.family);
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, font.bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, font.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result;
    FcPattern* match = FcFontMatch(config, pattern, &result);
    FcPatternDestroy(pattern);
    if (match == nullptr) return false;
    FcChar8* path = nullptr;
    bool found = FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch;
    if (found) {
        file = reinterpret_cast<const char*>(path);
        if (FcPatternGetInteger(match, FC_INDEX, 0, &index) != FcResultMatch) index = 0;
    }
    FcPatternDestroy(match);
    return found;
}

std::string faceKey(const FontRequest& font) {
    std::string key(font.family);
    key += font.bold ? "\nb" : "\n-";
    key += font.italic ? 'i' : '-';
    return key;
}

}  // namespace

struct TextMetrics::Face {
    FT_Face face = nullptr;  // null: measures estimated
    float ascent = estimatedAscent;
    float descent = estimatedDescent;
    // Advances in font sizes, measured on first use; negative until then.
    // Most labels are Latin, whose characters fit the array.
    std::array<float, 256> latinAdvances;
    std::unordered_map<char32_t, float> otherAdvances;

    Face() { latinAdvances.fill(-1); }
    Face(const Face&) = delete;
    Face& operator=(const Face&) = delete;
    ~Face() {
        if (face != nullptr) FT_Done_Face(face);
    }

    float advance(char32_t character) {
        if (character < latinAdvances.size()) {
            float& cached = latinAdvances[character];
            if (cached < 0) cached = measuredAdvance(character);
            return cached;
        }
        auto found = otherAdvances.find(character);
        if (found != otherAdvances.end()) return found->second;
        return otherAdvances.emplace(character, measuredAdvance(character)).first->second;
    }

    float measuredAdvance(char32_t character) const {
        if (face == nullptr) return estimatedAdvance;
        FT_UInt glyph = FT_Get_Char_Index(face, character);
        FT_Fixed units = 0;
        if (glyph == 0 || FT_Get_Advance(face, glyph, FT_LOAD_NO_SCALE, &units) != 0) {
            return missingGlyphAdvance;
        }
        return static_cast<float>(units) / face->units_per_EM;
    }
};

void TextMetrics::LibraryRelease::operator()(FT_LibraryRec_* library) const {
    FT_Done_FreeType(library);
}

void TextMetrics::ConfigRelease::operator()(_FcConfig* config) const { FcConfigDestroy(config); }

TextMetrics::TextMetrics() {
    FT_Library started = nullptr;
    if (FT_Init_FreeType(&started) == 0) library.reset(started);
}

TextMetrics::~TextMetrics() {
    // Faces belong to the library: they go first.
    faces.clear();
}

TextExtent TextMetrics::measure(std::string_view text, const FontRequest& font) {
    Face& measured = face(font);
    TextExtent extent;
    extent.ascent = measured.ascent;
    extent.descent = measured.descent;
    const auto* bytes = reinterpret_cast<const xmlChar*>(text.data());
    std::size_t at = 0;
    while (at < text.size()) {
        int length = static_cast<int>(std::min<std::size_t>(text.size() - at, 4));
        int character = xmlGetUTF8Char(bytes + at, &length);
        if (character < 0) {
            extent.advance += missingGlyphAdvance;
            length = 1;
        } else {
            extent.advance += measured.advance(static_cast<char32_t>(character));
        }
        at += static_cast<std::size_t>(length);
    }
    return extent;
}

TextMetrics::Face& TextMetrics::face(const FontRequest& font) {
    std::string key = faceKey(font);
    auto found = faces.find(key);
    if (found != faces.end()) return *found->second;
    return *faces.emplace(std::move(key), loadFace(font)).first->second;
}

std::unique_ptr<TextMetrics::Face> TextMetrics::loadFace(const FontRequest& font) {
    auto loaded = std::make_unique<Face>();
    std::string file;
    int index = 0;
    if (fontConfig == nullptr) fontConfig.reset(FcInitLoadConfigAndFonts());
    if (library == nullptr || fontConfig == nullptr ||
        !matchedFontFile(fontConfig.get(), font, file, index)) {
        return loaded;
    }
    FT_Face face = nullptr;
    if (FT_New_Face(library.get(), file.c_str(), index, &face) != 0) return loaded;
    if (face->units_per_EM == 0) {
        FT_Done_Face(face);
        return loaded;
    }
    loaded->face = face;
    const float units = face->units_per_EM;
    loaded->ascent = face->ascender / units;
    loaded->descent = -face->descender / units;
    return loaded;
}

}  // namespace Pictavo
