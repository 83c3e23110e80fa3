#include "e2e/ProgramRun.h"

using namespace e2e;

// Shapes of zero or negative size, under a transform that collapses them
// or not, convert to a sound document.
TEST(DegenerateGeometry, ZeroAndNegativeSizesConvert) {
    converted(drawing(R"(
<rect width='0' height='0'/><rect width='-10' height='5'/><rect width='0' height='10' rx='5'/>
<rect width='10' height='10' rx='0' ry='0'/><rect width='10' height='10' rx='-3' ry='4'/>
<circle r='0'/><circle r='-5'/><ellipse rx='0' ry='0'/><ellipse rx='-4' ry='2'/>
<line x2='0' y2='0' stroke='red' stroke-width='0'/><line x2='10' y2='0' stroke='red' stroke-width='-2'/>
<polygon points='3,3 3,3 3,3'/><path d='M 0 0 L 0 0'/>
<g transform='scale(0)'><rect width='10' height='10'/><text font-size='9'>a</text></g>
<text font-size='0'>a</text><text font-size='-12'>b</text>)"));
}

// An arc with a zero radius is a straight segment to its end point; one that
// ends where it starts draws nothing at all.
TEST(DegenerateGeometry, ArcsWithZeroRadiiAreStraightOrNothing) {
    const std::vector<std::string> straight = {"M 0.000000 0.000000 L 100.000000 100.000000"};
    struct Case {
        const char* data;
        std::vector<std::string> paths;
    } cases[] = {
        {"M 0 0 A 0 0 0 0 1 10 10", straight},
        {"M 0 0 A 0 10 0 0 1 10 10", straight},
        {"M 0 0 A 10 0 45 1 0 10 10", straight},
        {"M 0 0 a 0 0 0 0 1 10 10", straight},
        {"M 5 5 A 10 10 0 0 1 5 5", {}},
        {"M 5 5 A 0 0 0 0 1 5 5", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.data);
        const DocumentCheck::Document document(converted(drawing(std::string("<path d='") + c.data + "'/>")));
        EXPECT_EQ(document.drawableValues("shape", "path"), c.paths);
    }
}
