// bench_generate BYTES drawing.svg
// Writes a drawing of at least BYTES bytes for the benchmark. The same size
// always gives the same file: the numbers come from a fixed-seed generator
// and integer arithmetic only. The drawing repeats tiles of nested groups
// that together use every transform, every path command in compact and in
// spaced syntax (with exponents), every basic shape, every kind of paint and
// style, classes styled by a style sheet, use of a symbol and of a group,
// and text.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// xorshift64*: fixed seed, so the output never depends on the platform.
class Random {
public:
    std::uint64_t next() {
        state ^= state >> 12;
        state ^= state << 25;
        state ^= state >> 27;
        return state * 0x2545F4914F6CDD1DULL;
    }
    int below(int bound) { return static_cast<int>(next() % static_cast<std::uint64_t>(bound)); }

private:
    std::uint64_t state = 0x9E3779B97F4A7C15ULL;
};

class Drawing {
public:
    std::string text;

    void tile(int column, int row) {
        text += "<g class=\"tile\" transform=\"translate(" + std::to_string(column * 100) + " " +
                std::to_string(row * 75) + ")\" fill=\"" + colour() + "\" stroke=\"" + colour() +
                "\" stroke-width=\"" + decimal(4) + "\">\n";
        text += "<g transform=\"" + transformList() + "\" style=\"" + style() + "\">\n";
        basicShapes();
        text += "<g transform=\"" + transformList() + "\" opacity=\"0." + std::to_string(2 + random.below(8)) + "\">\n";
        text += "<path d=\"" + compactPathData() + "\"/>\n";
        text += "<path d=\"" + spacedPathData() + "\" fill=\"none\" stroke-dasharray=\"4 2\"/>\n";
        text += "<use href=\"#mark\" x=\"" + decimal(90) + "\" y=\"" + decimal(65) + "\" width=\"" +
                decimal(12) + "\" height=\"" + decimal(12) + "\"/>\n";
        text += std::string("<use xlink:href=\"#tick\" class=\"") + className() + "\" x=\"" + decimal(90) + "\" y=\"" +
                decimal(70) + "\"/>\n";
        text += "<text x=\"" + decimal(80) + "\" y=\"" + decimal(60) + "\" font-family=\"DejaVu Sans\" font-size=\"" +
                std::to_string(6 + random.below(10)) + "px\">tile " + std::to_string(column) + "," +
                std::to_string(row) + "</text>\n";
        text += "</g>\n</g>\n</g>\n";
    }

private:
    Random random;

    // A number between 0 and `bound` with up to three decimals.
    std::string decimal(int bound) {
        int thousandths = random.below(bound * 1000);
        std::string digits = std::to_string(thousandths / 1000);
        int fraction = thousandths % 1000;
        if (fraction == 0) return digits;
        char tail[16];
        std::snprintf(tail, sizeof tail, ".%03d", fraction);
        return digits + tail;
    }

    // The same kind of number, sometimes negative and sometimes written with
    // an exponent, as minifiers and drawing programs write them.
    std::string coordinate(int bound) {
        switch (random.below(6)) {
            case 0: return "-" + decimal(bound);
            case 1: return std::to_string(random.below(bound * 10)) + "e-1";
            case 2: return "0." + std::to_string(random.below(bound)) + "E1";
            default: return decimal(bound);
        }
    }

    // A fraction written without its leading zero: after another number with
    // a full stop it needs no separator (2.5.125 is 2.5 and .125).
    std::string fraction() {
        char digits[16];
        std::snprintf(digits, sizeof digits, ".%03d", 1 + random.below(999));
        return digits;
    }

    std::string colour() {
        static const char* const names[] = {"red", "navy", "teal", "gold", "orchid", "slategray", "tomato", "none"};
        static const char* const hexDigits = "0123456789abcdef";
        switch (random.below(3)) {
            case 0: return names[random.below(8)];
            case 1: {
                std::string value = "#";
                for (int i = 0; i < 3; ++i) value += hexDigits[random.below(16)];
                return value;
            }
            default: {
                std::string value = "#";
                for (int i = 0; i < 6; ++i) value += hexDigits[random.below(16)];
                return value;
            }
        }
    }

    const char* className() {
        static const char* const names[] = {"accent", "muted", "accent muted", "plain"};
        return names[random.below(4)];
    }

    std::string style() {
        return "fill:" + colour() + ";stroke:" + colour() + ";stroke-width:" + decimal(3) + ";opacity:0.9";
    }

    std::string transformList() {
        switch (random.below(4)) {
            case 0: return "rotate(" + decimal(360) + ") scale(0.9)";
            case 1: return "rotate(" + decimal(90) + " " + decimal(50) + " " + decimal(40) + ")skewX(" + decimal(20) + ")";
            case 2: return "matrix(0.9 0.1 -0.1 0.9 " + decimal(10) + " " + decimal(10) + ") skewY(" + decimal(15) + ")";
            default: return "translate(" + decimal(10) + "," + decimal(10) + ") scale(1.1 .9)";
        }
    }

    void basicShapes() {
        text += "<rect x=\"" + decimal(20) + "\" y=\"" + decimal(20) + "\" width=\"" + decimal(40) + "\" height=\"" +
                decimal(30) + "\"/>\n";
        text += "<rect x=\"" + decimal(20) + "\" y=\"" + decimal(20) + "\" width=\"" + decimal(40) + "\" height=\"" +
                decimal(30) + "\" rx=\"" + decimal(8) + "\" ry=\"" + decimal(6) + "\" fill=\"" + colour() + "\"/>\n";
        text += "<circle class=\"" + std::string(className()) + "\" cx=\"" + decimal(90) + "\" cy=\"" +
                decimal(70) + "\" r=\"" + decimal(15) + "\"/>\n";
        text += "<ellipse cx=\"" + decimal(90) + "\" cy=\"" + decimal(70) + "\" rx=\"" + decimal(20) + "\" ry=\"" +
                decimal(10) + "\" stroke=\"" + colour() + "\"/>\n";
        text += "<line x1=\"" + decimal(90) + "\" y1=\"" + decimal(70) + "\" x2=\"" + decimal(90) + "\" y2=\"" +
                decimal(70) + "\" stroke=\"" + colour() + "\" stroke-dasharray=\"3,1\"/>\n";
        text += "<polyline points=\"" + pointList(5) + "\" fill=\"none\"/>\n";
        text += "<polygon points=\"" + pointList(4) + "\" fill=\"" + colour() + "\"/>\n";
    }

    std::string pointList(int count) {
        std::string points;
        for (int i = 0; i < count; ++i) points += (i ? " " : "") + decimal(100) + "," + decimal(75);
        return points;
    }

    // Relative commands, no separator where a sign or a letter can stand for one.
    std::string compactPathData() {
        std::string d = "M" + decimal(90) + "," + decimal(70);
        d += "l" + coordinate(9) + "-" + decimal(9);
        d += "h" + decimal(9) + ".5" + fraction() + "v-" + decimal(9) + fraction();
        d += "c" + coordinate(9) + "," + coordinate(9) + " " + coordinate(9) + "-" + decimal(9) + " " +
             coordinate(9) + "," + coordinate(9);
        d += "s" + coordinate(9) + "," + coordinate(9) + " " + coordinate(9) + "," + coordinate(9);
        d += "q" + coordinate(9) + "-" + decimal(9) + " " + coordinate(9) + "," + coordinate(9);
        d += "t" + coordinate(9) + "," + coordinate(9);
        d += "a" + decimal(9) + " " + decimal(9) + " " + decimal(90) + " 1" + std::to_string(random.below(2)) +
             coordinate(9) + "," + coordinate(9);
        d += "zm" + coordinate(9) + "," + coordinate(9) + "l" + coordinate(9) + " " + coordinate(9) + "z";
        return d;
    }

    // Absolute commands, every number apart.
    std::string spacedPathData() {
        auto point = [this] { return " " + decimal(100) + " " + decimal(75); };
        std::string d = "M" + point() + " L" + point() + " H " + decimal(100) + " V " + decimal(75);
        d += " C" + point() + point() + point() + " S" + point() + point();
        d += " Q" + point() + point() + " T" + point();
        d += " A " + decimal(30) + " " + decimal(20) + " " + decimal(45) + " 0 1" + point() + " Z";
        return d;
    }
};

const int columns = 8;

}  // namespace

int main(int argc, char** argv) {
    long long bytes = argc == 3 ? std::atoll(argv[1]) : 0;
    if (bytes <= 0) {
        std::printf("usage: %s BYTES drawing.svg\n", argv[0]);
        return 2;
    }
    std::FILE* file = std::fopen(argv[2], "wb");
    if (file == nullptr) {
        std::printf("error: cannot write %s\n", argv[2]);
        return 1;
    }
    const std::string header =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" width=\"1600\" "
        "height=\"1200\" viewBox=\"0 0 800 600\">\n"
        "<style>\n.accent { fill: #2a7fff; stroke: navy }\n.muted { opacity: 0.6; stroke-dasharray: 2 1 }\n"
        "g.tile > g > rect:first-child { stroke: #333 !important }\n#mark circle { fill: gold }\n</style>\n"
        "<defs>\n<symbol id=\"mark\" viewBox=\"0 0 10 10\"><circle cx=\"5\" cy=\"5\" r=\"4\"/>"
        "<path d=\"M2 5h6M5 2v6\" stroke=\"black\"/></symbol>\n"
        "<g id=\"tick\"><line x2=\"0\" y2=\"4\" stroke=\"black\"/><circle r=\"1\"/></g>\n</defs>\n";
    const std::string footer = "</svg>\n";
    std::fwrite(header.data(), 1, header.size(), file);
    long long written = static_cast<long long>(header.size() + footer.size());
    Drawing drawing;
    for (int index = 0; written < bytes; ++index) {
        drawing.text.clear();
        drawing.tile(index % columns, index / columns % 8);
        std::fwrite(drawing.text.data(), 1, drawing.text.size(), file);
        written += static_cast<long long>(drawing.text.size());
    }
    std::fwrite(footer.data(), 1, footer.size(), file);
    if (std::fclose(file) != 0) {
        std::printf("error: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
