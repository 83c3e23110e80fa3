#include "e2e/ProgramRun.h"

using namespace e2e;

namespace {

// Every reader of numbers, @ where the number goes.
const char* const everyReader = R"(
<path d='M @ @ L 10 10'/><path d='M 0 0 L @ 5 L -5 @'/><path d='m @ 1 l @ @ l @ @ z'/>
<path d='M 0 0 h @ v @ H -@ V 1'/><path d='M 0 0 C @ 0 10 @ 20 20 S @ @ 1 1'/>
<path d='M 0 0 Q @ @ 10 10 T @ 0 t 1 1'/><path d='M 0 0 A @ @ 0 0 1 10 10'/>
<path d='M 0 0 A @ 5 0 1 0 @ 10'/><path d='M 0 0 A 10 20 @ 0 1 10 10'/><path d='M 0 0 A 10 20 0 @ @ 10 10'/>
<polyline points='0,0 @,@ 10,10' stroke='red'/><polygon points='@,0 0,@ -@,5'/>
<g transform='translate(@,@)'><rect width='10' height='10'/></g>
<g transform='scale(@)'><rect width='10' height='10' stroke='red' stroke-width='2'/></g>
<g transform='scale(1,@)'><circle r='5'/></g><g transform='rotate(@)'><rect width='10' height='10'/></g>
<g transform='rotate(30 @ @)'><rect width='10' height='10'/></g>
<g transform='skewX(@)'><rect width='10' height='10'/></g><g transform='skewY(@)'><rect width='10' height='10'/></g>
<g transform='matrix(@ 0 0 @ @ @)'><rect width='10' height='10'/></g>
<g transform='scale(@)'><g transform='scale(@)'><line x2='1' y2='1'/></g></g>
<g transform='scale(@)'><text font-size='12'>a</text></g>
<rect width='@' height='@'/><rect x='@' y='@' width='10' height='10'/><rect width='10' height='10' rx='@' ry='@'/>
<rect width='@' height='10' rx='@'/><circle cx='5' cy='5' r='@'/><circle cx='@' cy='@' r='5'/>
<ellipse rx='@' ry='10'/><ellipse rx='1' ry='@'/><line x1='@' y1='0' x2='0' y2='@' stroke='blue'/>
<rect width='10' height='10' opacity='@'/><rect width='10' height='10' style='fill:red;opacity:@'/>
<rect width='10' height='10' stroke='red' stroke-width='@'/>
<rect width='10' height='10' style='stroke:red;stroke-width:@'/>
<text font-size='@'>a</text><text x='@' y='@'>a</text>
)";

std::string withNumber(std::string text, const std::string& number) {
    for (std::size_t at = text.find('@'); at != std::string::npos; at = text.find('@', at))
        text.replace(at, 1, number);
    return text;
}

}  // namespace

// Numbers beyond single precision, below it, and so large that sums and
// differences of two of them overflow, under each way the root places the
// drawing: every drawing converts to a document of finite numbers.
TEST(ExtremeNumbers, EveryReaderConvertsToFiniteOutput) {
    const char* roots[] = {"", " width='@' height='@'", " viewBox='0 0 @ @'", " viewBox='0 0 @ 10'",
                           " width='400' height='300' viewBox='0 0 @ @'",
                           " width='400' height='300' viewBox='@ @ 10 10'"};
    for (const char* number : {"1e39", "-1e39", "1e-50", "99999999999999999999", "3e38", "-3e38"})
        for (const char* root : roots) {
            SCOPED_TRACE(std::string(number) + " with root" + root);
            converted(drawing(withNumber(everyReader, number), withNumber(root, number)));
        }
}

// Shapes of zero or negative size, arcs without radius or length, under a
// transform that collapses them or not, convert to a sound document.
TEST(DegenerateGeometry, ZeroAndNegativeSizesConvert) {
    converted(drawing(R"(
<rect width='0' height='0'/><rect width='-10' height='5'/><rect width='0' height='10' rx='5'/>
<rect width='10' height='10' rx='-3' ry='4'/><circle r='-5'/><ellipse rx='0' ry='0'/>
<line x2='10' y2='0' stroke='red' stroke-width='-2'/><polygon points='3,3 3,3 3,3'/>
<path d='M 0 0 L 0 0 A 0 0 0 0 1 10 10 A 10 0 45 1 0 10 10 A 10 10 0 0 1 10 10'/>
<g transform='scale(0)'><rect width='10' height='10'/><text font-size='9'>a</text></g>
<text font-size='0'>a</text><text font-size='-12'>b</text>)"));
}
