#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hostile/HostileRun.h"

using namespace Hostile;

namespace {

DocumentCheck::Document converted(const std::string& svg) {
    Scratch scratch;
    scratch.write("in.svg", svg);
    ProgramResult run = runProgram(scratch, {"in.svg"});
    return DocumentCheck::Document(expectConverted(scratch, run, "in.key"));
}

}  // namespace

TEST(DegenerateGeometry, SlideSizeStaysPositive) {
    struct Case {
        const char* root;
        const char* slideSize;
    } cases[] = {
        {" width='0' height='0'", "800 600"},
        {" width='-400' height='300'", "800 600"},
        {" width='400' height='-0.5'", "800 600"},
        {" viewBox='0 0 0 0'", "800 600"},
        {" viewBox='0 0 -100 50'", "800 600"},
        {" viewBox='0 0 100 0'", "800 600"},
        {" width='0' height='0' viewBox='0 0 100 50'", "100 50"},
        {" viewBox='0 0 0.2 0.2'", "1 1"},
        {" width='400' height='300' viewBox='0 0 0 0'", "400 300"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.root);
        EXPECT_EQ(converted(drawing("<rect width='10' height='10'/>", c.root))
                      .attributeValues("theme", "slide-size"),
                  std::vector<std::string>{c.slideSize});
    }
}

TEST(DegenerateGeometry, ZeroAndNegativeSizesConvert) {
    const char* bodies[] = {
        "<rect width='0' height='0'/>",
        "<rect width='-10' height='5'/>",
        "<rect width='10' height='10' rx='0' ry='0'/>",
        "<rect width='10' height='10' rx='-3' ry='4'/>",
        "<rect width='0' height='10' rx='5'/>",
        "<circle r='0'/>",
        "<circle r='-5'/>",
        "<ellipse rx='0' ry='0'/>",
        "<ellipse rx='-4' ry='2'/>",
        "<line x2='0' y2='0' stroke='red' stroke-width='0'/>",
        "<line x2='10' y2='0' stroke='red' stroke-width='-2'/>",
        "<polygon points='3,3 3,3 3,3'/>",
        "<path d='M 0 0 L 0 0'/>",
        "<g transform='scale(0)'><rect width='10' height='10'/><text font-size='9'>a</text></g>",
        "<text font-size='0'>a</text><text font-size='-12'>b</text>",
    };
    for (const char* body : bodies) {
        SCOPED_TRACE(body);
        converted(drawing(body));
    }
}

// An arc with a zero radius is a straight segment to its end point; one that
// ends where it starts draws nothing at all.
TEST(DegenerateGeometry, ArcsWithZeroRadiiAreStraightOrNothing) {
    struct Case {
        const char* data;
        std::vector<std::string> paths;
    } cases[] = {
        {"M 0 0 A 0 0 0 0 1 10 10", {"M 0.000000 0.000000 L 100.000000 100.000000"}},
        {"M 0 0 A 0 10 0 0 1 10 10", {"M 0.000000 0.000000 L 100.000000 100.000000"}},
        {"M 0 0 A 10 0 45 1 0 10 10", {"M 0.000000 0.000000 L 100.000000 100.000000"}},
        {"M 0 0 a 0 0 0 0 1 10 10", {"M 0.000000 0.000000 L 100.000000 100.000000"}},
        {"M 5 5 A 10 10 0 0 1 5 5", {}},
        {"M 5 5 A 0 0 0 0 1 5 5", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.data);
        EXPECT_EQ(converted(drawing(std::string("<path d='") + c.data + "'/>"))
                      .drawableValues("shape", "path"),
                  c.paths);
    }
}
