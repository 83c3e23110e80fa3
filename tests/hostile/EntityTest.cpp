#include "e2e/ProgramRun.h"

using namespace e2e;

// The drawing names local files holding a secret: the secret itself, and a
// DTD giving texts a font holding it. The run either converts without the
// secret reaching the document or is refused whole.
TEST(Entities, ForeignFilesNeverReachTheDocument) {
    const std::string secret = "pictavo-secret-c0ffee";
    Scratch files;
    const std::string file = "file://" + (files.root / "secret.txt").string();
    const std::string dtd = "file://" + (files.root / "evil.dtd").string();
    std::ofstream(files.root / "secret.txt") << secret;
    std::ofstream(files.root / "evil.dtd") << "<!ATTLIST text font-family CDATA \"" + secret + "\">\n";
    const std::pair<std::string, bool> cases[] = {  // drawing, refused
        {"<!DOCTYPE svg [<!ENTITY x SYSTEM \"" + file + "\">]>\n" +
             drawing("<text>&x;</text><text x='5'>a&x;b</text><rect width='1' height='1'/>"),
         false},
        {"<!DOCTYPE svg [<!ENTITY % p SYSTEM \"" + dtd + "\"> %p;]>\n" + drawing("<text>a</text>"), false},
        {"<!DOCTYPE svg SYSTEM \"" + dtd + "\">\n" + drawing("<text>a</text>"), false},
        {"<!DOCTYPE svg PUBLIC \"-//W3C//DTD SVG 1.1//EN\" \"http://www.w3.org/Graphics/SVG/1.1/DTD/svg11.dtd\">\n" +
             drawing("<text>a</text>"),
         false},
        {"<!DOCTYPE svg [<!ENTITY x SYSTEM \"" + file + "\">]>\n" + drawing("<rect width='1' height='1' fill='&x;'/>"),
         true},
    };
    for (const auto& [svg, refused] : cases) {
        SCOPED_TRACE(svg);
        Scratch scratch;
        scratch.write("in.svg", svg);
        if (refused)
            scratch.expectRefused({"in.svg"}, parseFailure("in.svg"));
        else
            EXPECT_EQ(scratch.expectConverted({"in.svg"}, "in.key").find(secret), std::string::npos);
    }
}

TEST(Entities, ExponentialExpansionIsRefused) {
    std::string laughs = "<!DOCTYPE svg [<!ENTITY l0 \"lol\">";
    for (int i = 1; i <= 9; ++i)
        laughs += "<!ENTITY l" + std::to_string(i) + " \"" + repeated("&l" + std::to_string(i - 1) + ";", 10) + "\">";
    laughs += "]>\n";
    expectUnparsable(laughs + drawing("<rect width='1' height='1' fill='&l9;'/>"));
}

// A 100 kB entity named in 10 000 attributes passes the parser's checks but
// expands to 1 GB: the run converts or refuses, within the memory limit.
TEST(Entities, QuadraticExpansionStaysBounded) {
    Scratch scratch;
    scratch.write("in.svg", "<!DOCTYPE svg [<!ENTITY b \"" + repeated("a", 100000) + "\">]>\n" +
                                drawing(repeated("<rect width='1' height='1' fill='&b;'/>", 10000)));
    const auto before = scratch.snapshot();
    const RunResult result = scratch.run({"in.svg"});
    if (result.status == 0) {
        EXPECT_EQ(drawableValues(readFile(scratch.work / "in.key/presentation.apxl"), "path").size(), 10000u);
    } else {
        EXPECT_EQ(result.status, 1) << result.err.substr(0, 2000);
        EXPECT_EQ(result.out, parseFailure("in.svg"));
        EXPECT_TRUE(before == scratch.snapshot());
    }
}
