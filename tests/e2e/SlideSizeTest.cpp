// The slide size that reaches the document from the root's size and viewBox.

#include <gtest/gtest.h>

#include "e2e/ProgramRun.h"

namespace e2e {
namespace {

TEST(SlideSize, ComesFromTheRootSizeOrViewBox) {
    struct Case {
        const char* drawing;
        const char* slideSize;
    };
    const Case cases[] = {
        {"<svg width='400' height='300'/>", "400 300"},
        {"<svg width='640px' height='480.7'/>", "640 480"},
        {"<svg width='21cm' height='29.7cm'/>", "21 29"},
        {"<svg WIDTH='300' Height='200'/>", "300 200"},
        {"<svg width='100%' height='300'/>", "800 600"},
        {"<svg width='400'/>", "800 600"},
        {"<svg width='0' height='300'/>", "800 600"},
        {"<svg width='400' height='-5'/>", "800 600"},
        {"<svg width='px' height='300'/>", "800 600"},
        {"<svg viewBox='0 0 100 50'/>", "100 50"},
        {"<svg viewBox='0,0,100.6,50.4'/>", "101 50"},
        {"<svg viewBox='0 0 0.4 0.4'/>", "1 1"},
        {"<svg viewBox='0 0 1e3 5e2'/>", "1000 500"},
        {"<svg width='100%' height='100%' viewBox='0 0 1024 768'/>", "1024 768"},
        {"<svg width='400' height='300' viewBox='0 0 1024 768'/>", "400 300"},
        {"<svg viewBox='0 0 100'/>", "800 600"},
        {"<svg viewBox='0 0 0 50'/>", "800 600"},
        {"<svg viewBox='0 0 100 -50'/>", "800 600"},
        {"<svg width='400' height='300'><svg width='200' height='100'/></svg>", "200 100"},
        {"<svg width='400' height='300'><g><rect width='5' height='5'/></g></svg>", "400 300"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.drawing);
        Scratch scratch;
        writeFile(scratch.work / "drawing.svg", c.drawing);

        const RunResult result = scratch.run({"drawing.svg"});

        ASSERT_EQ(result.status, 0) << result.output;
        const std::string document = readFile(scratch.work / "drawing.key" / "presentation.apxl");
        EXPECT_NE(document.find(std::string("<theme slide-size=\"") + c.slideSize + "\">\n"), std::string::npos);
    }
}

}  // namespace
}  // namespace e2e
