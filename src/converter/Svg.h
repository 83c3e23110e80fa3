#pragma once

#include <libxml/tree.h>

#include <cstddef>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "converter/AttributeMap.h"
#include "converter/Matrix.h"
#include "converter/PathGeometry.h"
#include "converter/Report.h"
#include "presentation/Path.h"
#include "presentation/PathSegment.h"
#include "presentation/Slide.h"

namespace Pictavo {

// The declarations of one style text: property name as written to value.
// The map points into the names and values held here, so a Declarations
// object can be moved but not copied.
class Declarations {
public:
    std::deque<std::string> names;   // deques: their texts stay where they are
    std::deque<std::string> values;  // as the object grows or moves
    AttributeMap map;

    Declarations() = default;
    Declarations(Declarations&&) = default;
    Declarations& operator=(Declarations&&) = default;
    Declarations(const Declarations&) = delete;
    Declarations& operator=(const Declarations&) = delete;
};

// Converts one SVG document into drawables handed to a presentation.
class SVG {
public:
    enum class TokenType { Word, Number, Sign, Delimiter, Other, End };

    Orvane::Slide& slide;
    bool slideSized = false;  // only the first svg element sizes the slide
    Report report;            // what the conversion left out or approximated
    float kappa;  // 4/3 (sqrt 2 - 1), the Bezier circle constant
    std::map<std::string, Orvane::Path::Color, std::less<>> colors;

    explicit SVG(Orvane::Slide& slide);
    SVG(const SVG&) = delete;
    SVG& operator=(const SVG&) = delete;
    ~SVG();

    // The walk.
    int convert(const char* path);
    int convertElement(xmlNode* node, Matrix& ctm, AttributeMap& inherited);

    // The token scanner. `capacity` is the size of the token buffer: a longer
    // run is cut to fit, and the next position still lies behind the whole run.
    static TokenType tokenType(char c);
    static std::size_t tokenParser(const char* position, char* token, std::size_t capacity,
                                   const char** next, TokenType& type);
    template <std::size_t N>
    static std::size_t tokenParser(const char* position, char (&token)[N], const char** next,
                                   TokenType& type) {
        return tokenParser(position, token, N, next, type);
    }
    static char* trim(char* text);

    // Transform lists and the viewBox.
    int convertTransform(const char* text, Matrix& ctm);
    int convertViewbox(const char* text, int& width, int& height, bool sizeGiven, Matrix& ctm);

    // Path data.
    Orvane::Path* convertPath(const char* data, Matrix& ctm);

    // Basic shapes.
    Orvane::Path* convertCircle(float cx, float cy, float r, Matrix& ctm);
    Orvane::Path* convertEllipse(float cx, float cy, float rx, float ry, Matrix& ctm);
    Orvane::Path* convertRectangle(float x, float y, float width, float height, Matrix& ctm);
    Orvane::Path* convertRoundedRectangle(float x, float y, float width, float height, float rx,
                                          float ry, Matrix& ctm);
    Orvane::Path* convertLine(float x1, float y1, float x2, float y2, Matrix& ctm);
    Orvane::Path* convertPolygon(const char* points, bool closed, Matrix& ctm);

    // Paint and style. `sizeScale` is sqrt(|m0 m4 - m1 m3|) of the element's
    // matrix: stroke widths follow the drawing's scale as its points do.
    Declarations parseStyle(const char* text) const;
    int convertStyle(Orvane::Path* path, AttributeMap& declarations, float sizeScale);
    int convertStroke(Orvane::Path* path, AttributeMap& attributes, float sizeScale);
    int convertFill(Orvane::Path* path, AttributeMap& attributes);
    int convertOtherAttributes(Orvane::Path* path, AttributeMap& attributes);
    // The colour value rule: false for "none", else true with `color` set.
    bool colorValue(const char* value, Orvane::Path::Color& color) const;
    int initializeColors();

    // Text.
    int convertText(xmlNode* node, AttributeMap& attributes, Matrix& ctm);

private:
    // The walk through the element tree while the parser builds it.
    struct Walk;

    // Attribute values that libxml2 does not hold as one text (entity
    // references expanded), kept until the walk ends.
    std::deque<std::string> expandedValues;
    std::size_t expandedSize = 0;  // their total length, which the expansion bounds

    // Style texts already parsed, by their text: the shapes of a group all
    // inherit one style text, which is read once, not once per shape.
    std::unordered_map<const char*, Declarations> parsedStyles;
    Declarations& styleDeclarations(const char* text);

    // Attribute names written with capitals, lowered once for the maps to
    // point at; names written in lower case are used where the parser keeps
    // them.
    std::unordered_set<std::string> loweredNames;
    std::string_view attributeName(const xmlChar* name);
    // The element's own attributes while convertElement gathers them, kept
    // between elements so that its room is allocated once.
    std::vector<AttributeMap::value_type> ownAttributes;
    // The geometry of the shape being read, kept between shapes for the same
    // reason.
    PathGeometry geometry;
};

}  // namespace Pictavo
