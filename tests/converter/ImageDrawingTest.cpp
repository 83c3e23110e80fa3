#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "converter/ConvertedDrawing.h"
#include "converter/ImageBytes.h"
#include "presentation/Image.h"

using converted::ConvertedDrawing;
using converted::svgDocument;

namespace {

const std::string png40x20 = "data:image/png;base64," + imagebytes::base64(imagebytes::png(40, 20));

std::string number(float value) {
    std::ostringstream out;
    out << std::round(value * 1000.0) / 1000.0 + 0.0;  // no -0
    return out.str();
}

// Each image as "EXT WxH a b c d tx ty", separated by "; ".
std::string images(const ConvertedDrawing& drawing) {
    std::string text;
    for (const auto& drawable : drawing.slide.drawables) {
        const auto* image = dynamic_cast<const Orvane::Image*>(drawable.get());
        if (image == nullptr) continue;
        if (!text.empty()) text += "; ";
        text += std::string(image->extension) + " " + std::to_string(image->pixelWidth) + "x" +
                std::to_string(image->pixelHeight);
        const float* t = image->transformation;
        for (float value : {t[0], t[1], t[2], t[3], image->position[0], image->position[1]})
            text += " " + number(value);
        if (image->opacity < 1) text += " opacity " + number(image->opacity);
    }
    return text;
}

// The report's lines, " dropped: ..." and " approximated: ...", when not empty.
std::string report(const ConvertedDrawing& drawing) {
    const std::string dropped = Pictavo::Report::text(drawing.report.notCarriedEntries());
    return (dropped.empty() ? "" : " dropped: " + dropped) +
           (drawing.approximated.empty() ? "" : " approximated: " + drawing.approximated);
}

struct Case {
    std::string body;
    std::string expected;
};

void check(const Case& row) {
    ConvertedDrawing drawing(svgDocument(row.body, "xmlns:xlink=\"http://www.w3.org/1999/xlink\" width=\"200\" height=\"100\""));
    EXPECT_EQ(images(drawing) + report(drawing), row.expected) << row.body;
}

}  // namespace

// A 40 by 20 image in a 100 by 100 box.
TEST(ImageDrawing, PreserveAspectRatioPlacesThePixels) {
    const Case cases[] = {
        {"", "png 40x20 2.5 0 0 2.5 0 25"},
        {"preserveAspectRatio='xMaxYMax meet'", "png 40x20 2.5 0 0 2.5 0 50"},
        {"preserveAspectRatio='none'", "png 40x20 2.5 0 0 5 0 0"},
        {"preserveAspectRatio='xMidYMid slice'", "png 40x20 5 0 0 5 -50 0 approximated: 1 image sliced (shown whole)"},
    };
    for (const Case& row : cases)
        check({"<image width='100' height='100' " + row.body + " href='" + png40x20 + "'/>", row.expected});
}

TEST(ImageDrawing, BoxAndMatrixPlaceTheImage) {
    const std::string href = " href='" + png40x20 + "'";
    const Case cases[] = {
        // Auto sides: the pixel size, or the pixels' proportions.
        {"<image x='5' y='6'" + href + "/>", "png 40x20 1 0 0 1 5 6"},
        {"<image width='80'" + href + "/>", "png 40x20 2 0 0 2 0 0"},
        {"<image height='10'" + href + "/>", "png 40x20 0.5 0 0 0.5 0 0"},
        // Units and per cent of the viewport.
        {"<image x='1in' y='50%' width='50%' height='20'" + href + "/>", "png 40x20 1 0 0 1 126 50"},
        {"<image transform='rotate(90)' width='40' height='20'" + href + "/>", "png 40x20 0 1 -1 0 0 0"},
        {"<g transform='translate(10 20) scale(2)'><image" + href + "/></g>", "png 40x20 2 0 0 2 10 20"},
        {"<g opacity='0.5'><image opacity='0.5'" + href + "/></g>", "png 40x20 1 0 0 1 0 0 opacity 0.25"},
        // Copies through use, sharing the bytes.
        {"<defs><image id='i' width='40' height='20'" + href + "/></defs><use href='#i' x='10'/><use xlink:href='#i' y='5'/>",
         "png 40x20 1 0 0 1 10 0; png 40x20 1 0 0 1 0 5"},
        {"<image visibility='hidden'" + href + "/><image opacity='0'" + href + "/><image display='none'" + href + "/>", ""},
    };
    for (const Case& row : cases) check(row);
}

TEST(ImageDrawing, EachTypeByContentOthersDropped) {
    using imagebytes::base64;
    const Case cases[] = {
        {"data:image/png;base64," + base64(imagebytes::png(3, 4)), "png 3x4 1 0 0 1 0 0"},
        {"data:image/png;base64," + base64(imagebytes::jpeg(5, 6)), "jpg 5x6 1 0 0 1 0 0"},
        {"data:image/jpeg;base64," + base64(imagebytes::gif(7, 8)), "gif 7x8 1 0 0 1 0 0"},
        {"data:image/png;base64," + base64(imagebytes::png(0, 4)), " dropped: 1 image"},
        {"data:image/bmp;base64," + base64("BM" + std::string(60, '\0')), " dropped: 1 image"},
        {"https://example.com/a.png", " dropped: 1 image"},
    };
    for (const Case& row : cases) check({"<image href='" + row.body + "'/>", row.expected});
    check({"<image href='" + png40x20 + "' width='0'/>", " dropped: 1 image"});
}

// A file beside the input is read.
TEST(ImageDrawing, RelativeFilesBesideTheInput) {
    const std::string name = "pictavo-image-" + std::to_string(getpid()) + ".jpg";
    std::ofstream(testing::TempDir() + name, std::ios::binary) << imagebytes::jpeg(30, 15);
    check({"<image href='" + name + "'/>", "jpg 30x15 1 0 0 1 0 0"});
    std::remove((testing::TempDir() + name).c_str());
}
