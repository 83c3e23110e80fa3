#pragma once

// Helpers for converter tests: a converter bound to a scratch presentation,
// whole documents converted through it, and paths described as short text.

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "converter/Svg.h"
#include "presentation/Keynote.h"
#include "presentation/Path.h"
#include "presentation/Text.h"

namespace converted {

namespace fs = std::filesystem;

// A converter whose presentation is never saved, so it removes its bundle itself.
class Converter : public testing::Test {
protected:
    Orvane::Keynote keynote{
        (testing::TempDir() + "pictavo-unit-" + std::to_string(getpid()) + ".key").c_str(), 800,
        600};
    Pictavo::SVG svg{keynote};
};

// Points to three decimals: enough to tell a swapped or misplaced point, loose
// enough for single-precision arithmetic.
inline std::string point(const Orvane::Point& p) {
    char text[64];
    auto rounded = [](float v) { return std::round(v * 1000.0) / 1000.0 + 0.0; };  // no -0
    std::snprintf(text, sizeof text, "%g,%g", rounded(p.x), rounded(p.y));
    return text;
}

// One figure as "M start L end C control1 control2 end ... Z"; a segment that
// does not start where the one before ended shows a new M. "-" is a figure
// without segments.
inline std::string figure(const Orvane::Path& path) {
    std::string text, previousEnd;
    for (const auto& segment : path.segments) {
        if (point(segment.start) != previousEnd) text += " M" + point(segment.start);
        previousEnd = point(segment.end);
        text += segment.straight ? " L" + previousEnd
                                 : " C" + point(segment.control1) + " " + point(segment.control2) +
                                       " " + previousEnd;
    }
    text = text.empty() ? "-" : text.substr(1);
    return path.closed ? text + " Z" : text;
}

// The path's own figure, then each subpath after a bar.
inline std::string describe(const Orvane::Path& path) {
    std::string text = figure(path);
    for (const Orvane::Path* subpath : path.subpaths) text += " | " + figure(*subpath);
    return text;
}

inline std::string svgDocument(const std::string& body, const std::string& rootAttributes = "",
                               const std::string& prolog = "") {
    return prolog + "<svg xmlns=\"http://www.w3.org/2000/svg\" " + rootAttributes + ">" + body +
           "</svg>\n";
}

// Converts a document written into a fresh scratch folder that leaves with the
// object, and keeps what the conversion printed and handed over.
class ConvertedDrawing {
public:
    fs::path folder, input;
    std::unique_ptr<Orvane::Keynote> keynote;
    int result = -1;
    std::string output, errors;  // standard output and standard error

    explicit ConvertedDrawing(const std::string& document) {
        std::string pattern = testing::TempDir() + "pictavo-walk-XXXXXX";
        if (mkdtemp(pattern.data()) == nullptr) return;
        folder = pattern;
        input = folder / "drawing.svg";
        std::ofstream(input, std::ios::binary) << document;
        keynote = std::make_unique<Orvane::Keynote>((folder / "drawing.key").c_str(), 800, 600);
        Pictavo::SVG svg(*keynote);
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        result = svg.convert(input.c_str());
        output = testing::internal::GetCapturedStdout();
        errors = testing::internal::GetCapturedStderr();
    }
    ~ConvertedDrawing() {
        keynote.reset();
        std::error_code ignored;
        if (!folder.empty()) fs::remove_all(folder, ignored);
    }
    ConvertedDrawing(const ConvertedDrawing&) = delete;
    ConvertedDrawing& operator=(const ConvertedDrawing&) = delete;

    std::vector<Orvane::Path*> paths() const { return shapes<Orvane::Path>(); }
    std::vector<Orvane::Text*> texts() const { return shapes<Orvane::Text>(); }

    template <typename Shape>
    std::vector<Shape*> shapes() const {
        std::vector<Shape*> found;
        for (Orvane::TransformableShape* shape : keynote->shapes)
            if (auto* typed = dynamic_cast<Shape*>(shape)) found.push_back(typed);
        return found;
    }

    // The drawables in order, separated by "; ": a path as its paints in the
    // order added and its first point, "fill(r,g,b,a) stroke(r,g,b,a w) at(x,y)";
    // a text box as "[text] font size at(x,y)", marked when it is transformed.
    std::string summary() const {
        std::ostringstream out;
        auto color = [&](const Orvane::Path::Color& paint) -> std::ostream& {
            const float* c = paint.color[0];
            return out << c[0] << "," << c[1] << "," << c[2] << "," << c[3];
        };
        for (Orvane::TransformableShape* shape : keynote->shapes) {
            if (out.tellp() > 0) out << "; ";
            if (auto* box = dynamic_cast<Orvane::Text*>(shape)) {
                const float* t = box->transformation;
                out << "[" << box->text << "] " << box->fontName
                    << (box->fontName.empty() ? "" : " ") << box->fontSize << " at(" << box->position[0] << "," << box->position[1] << ")"
                    << (t[0] != 1 || t[1] != 0 || t[2] != 0 || t[3] != 1 ? " transformed" : "");
                continue;
            }
            auto* path = dynamic_cast<Orvane::Path*>(shape);
            for (const auto& fill : path->fills) out << "fill(", color(fill.color) << ") ";
            for (const auto& stroke : path->strokes) {
                out << "stroke(", color(stroke.color);
                out << " w" << stroke.width << (stroke.solid ? "" : " dashed") << ") ";
            }
            if (!path->segments.empty()) out << "at(" << point(path->segments[0].start) << ")";
        }
        return out.str();
    }
};

}  // namespace converted
