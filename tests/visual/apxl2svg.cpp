// apxl2svg presentation.apxl drawing.svg
// Writes the slide of a presentation document as an SVG drawing.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "visual/ApxlToSvg.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::printf("usage: %s presentation.apxl drawing.svg\n", argv[0]);
        return 2;
    }
    std::ifstream input(argv[1], std::ios::binary);
    if (!input) {
        std::printf("error: cannot read %s\n", argv[1]);
        return 1;
    }
    std::string apxl((std::istreambuf_iterator<char>(input)), std::istreambuf_iterator<char>());
    std::string svg, error;
    if (!Visual::apxlToSvg(apxl, svg, error)) {
        std::printf("error: %s: %s\n", argv[1], error.c_str());
        return 1;
    }
    std::ofstream output(argv[2], std::ios::binary);
    output << svg;
    output.close();
    if (!output) {
        std::printf("error: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
