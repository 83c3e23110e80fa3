#include <gtest/gtest.h>

#include <string>

#include "hostile/HostileRun.h"

using namespace Hostile;

namespace {

const std::string secret = "pictavo-secret-c0ffee";

// A file outside the working folder that a drawing may try to pull in.
std::string planted(const Scratch& scratch, const std::string& name, const std::string& content) {
    writeFile(scratch.root / name, content);
    return "file://" + (scratch.root / name).string();
}

std::string laughs(int levels) {
    std::string declarations = "<!ENTITY l0 \"lol\">";
    for (int i = 1; i <= levels; ++i)
        declarations += "<!ENTITY l" + std::to_string(i) + " \"" +
                        repeated("&l" + std::to_string(i - 1) + ";", 10) + "\">";
    return "<!DOCTYPE svg [" + declarations + "]>\n";
}

}  // namespace

TEST(Entities, ForeignFilesNeverReachTheDocument) {
    struct Case {
        const char* what;
        std::string (*svg)(const Scratch&);
    } cases[] = {
        {"external entity in text",
         [](const Scratch& s) {
             return "<!DOCTYPE svg [<!ENTITY x SYSTEM \"" + planted(s, "secret.txt", secret) +
                    "\">]>\n" +
                    drawing("<text>&x;</text><text x='5'>a&x;b</text><rect width='1' height='1'/>");
         }},
        {"external parameter entity with attribute defaults",
         [](const Scratch& s) {
             std::string dtd =
                 planted(s, "evil.dtd", "<!ATTLIST text font-family CDATA \"" + secret + "\">\n");
             return "<!DOCTYPE svg [<!ENTITY % p SYSTEM \"" + dtd + "\"> %p;]>\n" +
                    drawing("<text>a</text>");
         }},
        {"external DTD",
         [](const Scratch& s) {
             std::string dtd =
                 planted(s, "evil.dtd", "<!ATTLIST text font-family CDATA \"" + secret + "\">\n");
             return "<!DOCTYPE svg SYSTEM \"" + dtd + "\">\n" + drawing("<text>a</text>");
         }},
        {"published DTD on the network",
         [](const Scratch&) {
             return std::string(
                        "<!DOCTYPE svg PUBLIC \"-//W3C//DTD SVG 1.1//EN\" "
                        "\"http://www.w3.org/Graphics/SVG/1.1/DTD/svg11.dtd\">\n") +
                    drawing("<text>a</text>");
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Scratch scratch;
        scratch.write("in.svg", c.svg(scratch));
        ProgramResult run = runProgram(scratch, {"in.svg"});
        std::string document = expectConverted(scratch, run, "in.key");
        EXPECT_EQ(document.find(secret), std::string::npos);
    }
}

// libxml2 refuses these while parsing; the run must end as any refusal does.
TEST(Entities, ParserRefusalsEndCleanly) {
    struct Case {
        const char* what;
        std::string (*svg)(const Scratch&);
    } cases[] = {
        {"external entity in an attribute",
         [](const Scratch& s) {
             return "<!DOCTYPE svg [<!ENTITY x SYSTEM \"" + planted(s, "secret.txt", secret) +
                    "\">]>\n" + drawing("<rect width='1' height='1' fill='&x;'/>");
         }},
        {"exponential expansion in an attribute",
         [](const Scratch&) {
             return laughs(9) + drawing("<rect width='1' height='1' fill='&l9;'/>");
         }},
        {"exponential expansion in text",
         [](const Scratch&) { return laughs(9) + drawing("<text>&l9;</text>"); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Scratch scratch;
        scratch.write("in.svg", c.svg(scratch));
        auto before = scratch.snapshot();
        ProgramResult run = runProgram(scratch, {"in.svg"});
        expectRefused(run, before, scratch.snapshot());
        EXPECT_EQ(run.out, parseFailure("in.svg"));
    }
}

// A 100 kB entity named in 10 000 attributes passes the parser's checks but
// expands to 1 GB: the run converts or refuses, within the memory limit.
TEST(Entities, QuadraticExpansionStaysBounded) {
    Scratch scratch;
    scratch.write("in.svg",
                  "<!DOCTYPE svg [<!ENTITY b \"" + repeated("a", 100000) + "\">]>\n" +
                      drawing(repeated("<rect width='1' height='1' fill='&b;'/>", 10000)));
    auto before = scratch.snapshot();
    ProgramResult run = runProgram(scratch, {"in.svg"});
    if (run.status == 0) {
        DocumentCheck::Document document(expectConverted(scratch, run, "in.key"));
        EXPECT_EQ(document.drawableCount(), 10000u);
    } else {
        expectRefused(run, before, scratch.snapshot());
    }
}
