#include "e2e/ProgramRun.h"

using namespace e2e;

namespace {

const std::string secret = "pictavo-secret-c0ffee";

std::string laughs(int levels) {
    std::string declarations = "<!ENTITY l0 \"lol\">";
    for (int i = 1; i <= levels; ++i)
        declarations += "<!ENTITY l" + std::to_string(i) + " \"" + repeated("&l" + std::to_string(i - 1) + ";", 10) +
                        "\">";
    return "<!DOCTYPE svg [" + declarations + "]>\n";
}

std::string naming(std::string svg, const std::string& placeholder, const fs::path& file) {
    const std::size_t at = svg.find(placeholder);
    return at == std::string::npos ? svg : svg.replace(at, placeholder.size(), "file://" + file.string());
}

}  // namespace

// The drawing names local files holding a secret (FILE stands for the
// secret's file, DTD for a DTD giving texts a font holding it). The run either
// converts without the secret reaching the document or is refused whole.
TEST(Entities, ForeignFilesNeverReachTheDocument) {
    struct Case {
        std::string svg;
        bool refused;
    } cases[] = {
        {"<!DOCTYPE svg [<!ENTITY x SYSTEM \"FILE\">]>\n" +
             drawing("<text>&x;</text><text x='5'>a&x;b</text><rect width='1' height='1'/>"),
         false},
        {"<!DOCTYPE svg [<!ENTITY % p SYSTEM \"DTD\"> %p;]>\n" + drawing("<text>a</text>"), false},
        {"<!DOCTYPE svg SYSTEM \"DTD\">\n" + drawing("<text>a</text>"), false},
        {"<!DOCTYPE svg PUBLIC \"-//W3C//DTD SVG 1.1//EN\" \"http://www.w3.org/Graphics/SVG/1.1/DTD/svg11.dtd\">\n" +
             drawing("<text>a</text>"),
         false},
        {"<!DOCTYPE svg [<!ENTITY x SYSTEM \"FILE\">]>\n" + drawing("<rect width='1' height='1' fill='&x;'/>"),
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.svg);
        Scratch scratch;
        const fs::path file = scratch.root / "secret.txt", dtd = scratch.root / "evil.dtd";
        std::ofstream(file) << secret;
        std::ofstream(dtd) << "<!ATTLIST text font-family CDATA \"" + secret + "\">\n";
        scratch.write("in.svg", naming(naming(c.svg, "FILE", file), "DTD", dtd));
        if (c.refused)
            scratch.expectRefused({"in.svg"}, parseFailure("in.svg"));
        else
            EXPECT_EQ(scratch.expectConverted({"in.svg"}, "in.key").find(secret), std::string::npos);
    }
}

TEST(Entities, ExponentialExpansionIsRefused) {
    expectUnparsable(laughs(9) + drawing("<rect width='1' height='1' fill='&l9;'/>"));
    expectUnparsable(laughs(9) + drawing("<text>&l9;</text>"));
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
        const DocumentCheck::Document document(readFile(scratch.work / "in.key/presentation.apxl"));
        EXPECT_EQ(document.drawables().size(), 10000u);
    } else {
        EXPECT_EQ(result.status, 1) << result.err.substr(0, 2000);
        EXPECT_EQ(result.out, parseFailure("in.svg"));
        EXPECT_TRUE(before == scratch.snapshot());
    }
}
