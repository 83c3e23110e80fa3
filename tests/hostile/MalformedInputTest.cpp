#include <random>

#include "e2e/ProgramRun.h"

using namespace e2e;

namespace {

// A drawing that uses a little of everything the converter reads.
const std::string goodDrawing = readFile(fs::path(PICTAVO_TEST_DATA) / "hostile/drawing.svg");

std::string randomBytes(std::size_t count, unsigned seed) {
    std::mt19937 generator(seed);
    std::string bytes(count, '\0');
    for (char& c : bytes) c = static_cast<char>(generator() & 0xFF);
    return bytes;
}

// UTF-8 holding no character beyond U+07FF to UTF-16, in the given byte
// order, with or without a byte-order mark.
std::string utf16(const std::string& utf8, bool bigEndian, bool mark) {
    std::string bytes;
    auto append = [&](unsigned unit) {
        const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? std::string{high, low} : std::string{low, high};
    };
    if (mark) append(0xFEFF);
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const unsigned lead = static_cast<unsigned char>(utf8[i]);
        append(lead < 0x80 ? lead : (lead & 0x1F) << 6 | (utf8[++i] & 0x3F));
    }
    return bytes;
}

}  // namespace

TEST(MalformedInput, IsRefusedWithTheParseMessage) {
    std::vector<std::string> cases = {
        "",
        "<svg width=\"10><rect/></svg>",
        "<svg/><svg/>",
        "<?xml version=\"1.0\" encoding=\"x-unknown\"?><svg/>",
        "<svg><text>&nothere;</text></svg>",
        std::string("<svg><rect width=\"1\"") + '\0' + " height=\"1\"/></svg>",
        "<svg><text>\xff\xfe\xc3</text></svg>",
        randomBytes(4096, 1),
    };
    // Truncated anywhere, up to just before the root's final '>'.
    const std::size_t end = goodDrawing.rfind("</svg>") + 5;
    for (std::size_t i = 0; i <= 8; ++i) cases.push_back(goodDrawing.substr(0, std::min(end, end * i / 8 + i % 7)));
    for (const std::string& bytes : cases) {
        SCOPED_TRACE(bytes.substr(0, 60));
        expectUnparsable(bytes);
    }
}

TEST(MalformedInput, WholeDrawingConvertsInEveryEncoding) {
    std::string undeclared = goodDrawing;
    undeclared.replace(undeclared.find(" encoding=\"UTF-8\""), 17, "");
    std::string declared = goodDrawing;
    declared.replace(declared.find("UTF-8"), 5, "UTF-16");
    const std::string cases[] = {goodDrawing, utf16(declared, false, true), utf16(declared, true, true),
                                 utf16(undeclared, false, false)};
    for (const std::string& bytes : cases) {
        SCOPED_TRACE(bytes.substr(0, 4));
        const std::string document = converted(bytes);
        EXPECT_NE(document.find("<![CDATA[Ties & \"ends\" <here>]]>"), std::string::npos);
        EXPECT_NE(document.find("<![CDATA[Grüße]]>"), std::string::npos);
        EXPECT_EQ(drawableValues(document, "path").size(), 7u);
    }
}
