#include <gtest/gtest.h>

#include <string>

#include "hostile/HostileRun.h"

using namespace Hostile;

namespace {

std::string withNumber(std::string text, const std::string& number) {
    for (std::size_t at = text.find('@'); at != std::string::npos; at = text.find('@', at))
        text.replace(at, 1, number);
    return text;
}

}  // namespace

// Numbers beyond single precision, below it, and so large that sums and
// differences of two of them overflow, in every reader of numbers: each
// drawing converts, and its document holds finite numbers only.
TEST(ExtremeNumbers, EveryReaderConvertsToFiniteOutput) {
    const char* numbers[] = {"1e39", "-1e39", "1e-50", "99999999999999999999", "3e38", "-3e38"};
    struct Case {
        const char* reader;
        const char* body;
        const char* root;
    } cases[] = {
        {"path move", "<path d='M @ @ L 10 10'/>", ""},
        {"path line", "<path d='M 0 0 L @ 5 L -5 @'/>", ""},
        {"path relative", "<path d='m @ 1 l @ @ l @ @ z'/>", ""},
        {"path horizontal and vertical", "<path d='M 0 0 h @ v @ H -@ V 1'/>", ""},
        {"path cubic", "<path d='M 0 0 C @ 0 10 @ 20 20 S @ @ 1 1'/>", ""},
        {"path quadratic", "<path d='M 0 0 Q @ @ 10 10 T @ 0 t 1 1'/>", ""},
        {"path arc radii", "<path d='M 0 0 A @ @ 0 0 1 10 10'/>", ""},
        {"path arc radius and end", "<path d='M 0 0 A @ 5 0 1 0 @ 10'/>", ""},
        {"path arc rotation", "<path d='M 0 0 A 10 20 @ 0 1 10 10'/>", ""},
        {"path arc flags", "<path d='M 0 0 A 10 20 0 @ @ 10 10'/>", ""},
        {"polyline points", "<polyline points='0,0 @,@ 10,10' stroke='red'/>", ""},
        {"polygon points", "<polygon points='@,0 0,@ -@,5'/>", ""},
        {"translate", "<g transform='translate(@,@)'><rect width='10' height='10'/></g>", ""},
        {"scale", "<g transform='scale(@)'><rect width='10' height='10'/></g>", ""},
        {"scale two axes", "<g transform='scale(1,@)'><circle r='5'/></g>", ""},
        {"rotate", "<g transform='rotate(@)'><rect width='10' height='10'/></g>", ""},
        {"rotate about a centre",
         "<g transform='rotate(30 @ @)'><rect width='10' height='10'/></g>", ""},
        {"skewX", "<g transform='skewX(@)'><rect width='10' height='10'/></g>", ""},
        {"skewY", "<g transform='skewY(@)'><rect width='10' height='10'/></g>", ""},
        {"matrix", "<g transform='matrix(@ 0 0 @ @ @)'><rect width='10' height='10'/></g>", ""},
        {"nested scales",
         "<g transform='scale(@)'><g transform='scale(@)'><line x2='1' y2='1'/></g></g>", ""},
        {"viewBox size with slide size given", "<rect width='10' height='10'/>",
         " width='400' height='300' viewBox='0 0 @ @'"},
        {"viewBox origin with slide size given", "<rect width='10' height='10'/>",
         " width='400' height='300' viewBox='@ @ 10 10'"},
        {"viewBox size alone", "<rect width='10' height='10'/>", " viewBox='0 0 @ @'"},
        {"viewBox one side alone", "<rect width='10' height='10'/>", " viewBox='0 0 @ 10'"},
        {"slide size", "<rect width='10' height='10'/>", " width='@' height='@'"},
        {"rect size", "<rect width='@' height='@'/>", ""},
        {"rect place", "<rect x='@' y='@' width='10' height='10'/>", ""},
        {"rect radii", "<rect width='10' height='10' rx='@' ry='@'/>", ""},
        {"rect one radius", "<rect width='@' height='10' rx='@'/>", ""},
        {"circle radius", "<circle cx='5' cy='5' r='@'/>", ""},
        {"circle centre", "<circle cx='@' cy='@' r='5'/>", ""},
        {"ellipse radii", "<ellipse rx='@' ry='10'/><ellipse rx='1' ry='@'/>", ""},
        {"line", "<line x1='@' y1='0' x2='0' y2='@' stroke='blue'/>", ""},
        {"opacity attribute", "<rect width='10' height='10' opacity='@'/>", ""},
        {"opacity declaration", "<rect width='10' height='10' style='fill:red;opacity:@'/>", ""},
        {"stroke width attribute", "<rect width='10' height='10' stroke='red' stroke-width='@'/>",
         ""},
        {"stroke width declaration",
         "<rect width='10' height='10' style='stroke:red;stroke-width:@'/>", ""},
        {"stroke width under a scale",
         "<g transform='scale(@)'><rect width='1' height='1' stroke='red' stroke-width='2'/></g>",
         ""},
        {"font size", "<text font-size='@'>a</text>", ""},
        {"font size under a scale", "<g transform='scale(@)'><text font-size='12'>a</text></g>",
         ""},
        {"text anchor", "<text x='@' y='@'>a</text>", ""},
    };
    for (const char* number : numbers)
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.reader) + " with " + number);
            Scratch scratch;
            scratch.write("in.svg",
                          drawing(withNumber(c.body, number), withNumber(c.root, number)));
            ProgramResult run = runProgram(scratch, {"in.svg"});
            expectConverted(scratch, run, "in.key");
        }
}
