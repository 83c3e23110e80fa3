#pragma once

// Helpers for converter tests: a converter bound to a scratch presentation,
// whole documents converted through it, and paths described as short text.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "converter/Svg.h"
#include "presentation/Path.h"
#include "presentation/Slide.h"
#include "presentation/Text.h"

namespace converted {

// A scratch name in the test folder.
inline std::string scratch(const std::string& ending) {
    return testing::TempDir() + "pictavo-unit-" + std::to_string(getpid()) + ending;
}

// A slide that keeps what it is given, for the tests to look at.
struct CollectedSlide : Orvane::Slide {
    int width = 800;
    int height = 600;
    int sizings = 0;
    std::vector<std::unique_ptr<Orvane::TransformableShape>> drawables;

    void setSize(int slideWidth, int slideHeight) override {
        width = slideWidth;
        height = slideHeight;
        ++sizings;
    }
    void add(std::unique_ptr<Orvane::TransformableShape> drawable) override {
        drawables.push_back(std::move(drawable));
    }
};

class Converter : public testing::Test {
protected:
    CollectedSlide slide;
    Pictavo::SVG svg{slide};
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
// without segments. Subpaths follow, each after a bar.
inline std::string describe(const Orvane::Path& path) {
    std::string text, previousEnd;
    for (const auto& segment : path.segments) {
        if (point(segment.start) != previousEnd) text += " M" + point(segment.start);
        previousEnd = point(segment.end);
        text += segment.straight ? " L" + previousEnd
                                 : " C" + point(segment.control1) + " " + point(segment.control2) +
                                       " " + previousEnd;
    }
    text = (text.empty() ? "-" : text.substr(1)) + (path.closed ? " Z" : "");
    for (const auto& subpath : path.subpaths) text += " | " + describe(*subpath);
    return text;
}

inline std::string svgDocument(const std::string& body, const std::string& rootAttributes = "",
                               const std::string& prolog = "") {
    return prolog + "<svg xmlns=\"http://www.w3.org/2000/svg\" " + rootAttributes + ">" + body +
           "</svg>\n";
}

// Converts a document, keeping what the conversion printed and handed over.
struct ConvertedDrawing {
    const std::string input = scratch(".svg");
    CollectedSlide slide;
    int result;
    std::string output, errors;  // standard output and standard error
    std::string approximated;    // the report's line of what was approximated
    Pictavo::Report report;

    explicit ConvertedDrawing(const std::string& document) {
        std::ofstream(input, std::ios::binary) << document;
        Pictavo::SVG svg(slide);
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        result = svg.convert(input.c_str());
        report = svg.report;
        output = testing::internal::GetCapturedStdout();
        errors = testing::internal::GetCapturedStderr();
        approximated = Pictavo::Report::text(svg.report.approximatedEntries());
        std::remove(input.c_str());
    }

    std::vector<Orvane::Path*> paths() const {
        std::vector<Orvane::Path*> found;
        for (const auto& drawable : slide.drawables)
            if (auto* path = dynamic_cast<Orvane::Path*>(drawable.get())) found.push_back(path);
        return found;
    }

    // The drawables in order, separated by "; ": a path as its paints in the
    // order added and its first point, "fill(r,g,b,a) stroke(r,g,b,a w) at(x,y)";
    // a text box as "[text] font size at(x,y)".
    std::string summary() const {
        std::ostringstream out;
        auto color = [&](const Orvane::Path::Color& paint) -> std::ostream& {
            const float* c = paint.color[0];
            return out << c[0] << "," << c[1] << "," << c[2] << "," << c[3];
        };
        for (const auto& drawable : slide.drawables) {
            Orvane::TransformableShape* shape = drawable.get();
            if (out.tellp() > 0) out << "; ";
            if (auto* box = dynamic_cast<Orvane::Text*>(shape)) {
                out << "[" << box->text << "] " << box->fontName << (box->fontName.empty() ? "" : " ")
                    << box->fontSize << " at(" << box->position[0] << "," << box->position[1] << ")";
            } else if (auto* path = dynamic_cast<Orvane::Path*>(shape)) {
                for (const auto& fill : path->fills) out << "fill(", color(fill.color) << ") ";
                for (const auto& stroke : path->strokes) {
                    out << "stroke(", color(stroke.color) << " w" << stroke.width;
                    out << (stroke.solid ? "" : " dashed") << ") ";
                }
                if (!path->segments.empty()) out << "at(" << point(path->segments[0].start) << ")";
            }
        }
        return out.str();
    }
};

}  // namespace converted
