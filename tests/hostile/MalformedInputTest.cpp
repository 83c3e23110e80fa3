#include <random>

#include "e2e/ProgramRun.h"

using namespace e2e;

namespace {

std::string goodDrawing() {
    return readFile(fs::path(PICTAVO_TEST_DATA) / "hostile/drawing.svg");
}

const std::vector<std::string> goodDrawingTexts = {"Ties & \"ends\" <here>", "Grüße"};

std::string randomBytes(std::size_t count, unsigned seed) {
    std::mt19937 generator(seed);
    std::string bytes(count, '\0');
    for (char& c : bytes) c = static_cast<char>(generator() & 0xFF);
    return bytes;
}

// UTF-8 to UTF-16 in the given byte order, with or without a byte-order mark.
std::string utf16(const std::string& utf8, bool bigEndian, bool mark) {
    std::vector<unsigned> units;
    for (std::size_t i = 0; i < utf8.size();) {
        unsigned char lead = static_cast<unsigned char>(utf8[i]);
        int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        unsigned point = length == 1 ? lead : lead & (0x7F >> length);
        for (int k = 1; k < length; ++k) point = point << 6 | (utf8[i + k] & 0x3F);
        i += length;
        if (point < 0x10000) {
            units.push_back(point);
        } else {
            units.push_back(0xD800 + ((point - 0x10000) >> 10));
            units.push_back(0xDC00 + ((point - 0x10000) & 0x3FF));
        }
    }
    if (mark) units.insert(units.begin(), 0xFEFF);
    std::string bytes;
    for (unsigned unit : units) {
        char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return bytes;
}

}  // namespace

TEST(MalformedInput, IsRefusedWithTheParseMessage) {
    struct Case {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"empty file", ""},
        {"plain text", "this is not a drawing\n"},
        {"mismatched end tag", "<svg><rect width=\"1\" height=\"1\"></svg>"},
        {"unterminated attribute", "<svg width=\"10><rect/></svg>"},
        {"two roots", "<svg/><svg/>"},
        {"declaration only", "<?xml version=\"1.0\"?>\n"},
        {"unsupported encoding", "<?xml version=\"1.0\" encoding=\"x-unknown\"?><svg/>"},
        {"undefined entity", "<svg><text>&nothere;</text></svg>"},
        {"NUL inside", std::string("<svg><rect width=\"1\"") + '\0' + " height=\"1\"/></svg>"},
        {"invalid UTF-8", "<svg><text>\xff\xfe\xc3</text></svg>"},
        {"random bytes", randomBytes(4096, 1)},
        {"image header", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) + randomBytes(512, 3)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        expectUnparsable(c.bytes);
    }
}

TEST(MalformedInput, TruncatedDrawingIsRefusedWhereverItIsCut) {
    const std::string whole = goodDrawing();
    const std::size_t end = whole.rfind("</svg>") + 5;  // the last byte that completes the root
    const int cuts = 12;
    for (int i = 0; i < cuts; ++i) {
        std::size_t length = end * i / cuts + i % 7;
        SCOPED_TRACE("cut after " + std::to_string(length) + " bytes");
        expectUnparsable(whole.substr(0, length));
    }
    SCOPED_TRACE("cut just before the root's final '>'");
    expectUnparsable(whole.substr(0, end));
}

TEST(MalformedInput, WholeDrawingConvertsInEveryEncoding) {
    const std::string utf8 = goodDrawing();
    std::string undeclared = utf8;
    undeclared.replace(undeclared.find(" encoding=\"UTF-8\""), 17, "");
    std::string declared = utf8;
    declared.replace(declared.find("UTF-8"), 5, "UTF-16");
    struct Case {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"UTF-8", utf8},
        {"UTF-16LE with byte-order mark", utf16(declared, false, true)},
        {"UTF-16BE with byte-order mark", utf16(declared, true, true)},
        {"UTF-16LE without mark or declared encoding", utf16(undeclared, false, false)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const DocumentCheck::Document document(converted(c.bytes));
        EXPECT_EQ(document.texts(), goodDrawingTexts);
        EXPECT_GT(document.drawableValues("shape", "path").size(), 0u);
    }
}

// A folder opens but holds no drawing: it is refused like a file that does
// not parse, with or without a bundle name, and nothing is made.
TEST(MalformedInput, DirectoryGivenAsInputIsRefused) {
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"folder.svg"}, {"folder.svg", "out.key"}}) {
        Scratch scratch;
        fs::create_directory(scratch.work / "folder.svg");
        scratch.expectRefused(arguments, parseFailure("folder.svg"));
    }
}
