#pragma once

// Converts a small SVG document with a real presentation and keeps what the
// converter handed over, for tests to inspect.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "converter/Svg.h"
#include "presentation/Keynote.h"
#include "presentation/Path.h"
#include "presentation/Text.h"

namespace converted {

namespace fs = std::filesystem;

inline std::string svgDocument(const std::string& body, const std::string& rootAttributes = "",
                               const std::string& prolog = "") {
    return prolog + "<svg xmlns=\"http://www.w3.org/2000/svg\" " + rootAttributes + ">" + body +
           "</svg>\n";
}

// The document goes into a fresh scratch folder that leaves with the object;
// the presentation is never saved, so it removes its bundle itself. What the
// conversion printed is captured.
class ConvertedDrawing {
public:
    fs::path folder;
    fs::path input;
    std::unique_ptr<Orvane::Keynote> keynote;
    int result = -1;
    std::string output;  // standard output
    std::string errors;  // standard error

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

    template <typename Shape>
    std::vector<Shape*> shapes() const {
        std::vector<Shape*> found;
        for (Orvane::TransformableShape* shape : keynote->shapes)
            if (auto* typed = dynamic_cast<Shape*>(shape)) found.push_back(typed);
        return found;
    }
    std::vector<Orvane::Path*> paths() const { return shapes<Orvane::Path>(); }
    std::vector<Orvane::Text*> texts() const { return shapes<Orvane::Text>(); }
};

}  // namespace converted
