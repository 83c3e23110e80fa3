// pngdiff [--tolerance N] [--slack N] [--side-by-side picture.png] original.png converted.png
// Prints the share of differing pixels in per cent, and with --side-by-side
// writes the original, the converted picture and their differences as one
// picture.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "visual/PixelDiff.h"

namespace {

int usage(const char* program) {
    std::printf("usage: %s [--tolerance N] [--slack N] [--side-by-side picture.png] original.png "
                "converted.png\n", program);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    Visual::Closeness closeness;
    std::string sideBySidePath;
    int arg = 1;
    for (; arg + 1 < argc && std::strncmp(argv[arg], "--", 2) == 0; arg += 2) {
        if (std::strcmp(argv[arg], "--tolerance") == 0) {
            closeness.tolerance = std::atoi(argv[arg + 1]);
        } else if (std::strcmp(argv[arg], "--slack") == 0) {
            closeness.slack = unsigned(std::atoi(argv[arg + 1]));
        } else if (std::strcmp(argv[arg], "--side-by-side") == 0) {
            sideBySidePath = argv[arg + 1];
        } else {
            return usage(argv[0]);
        }
    }
    if (argc - arg != 2) return usage(argv[0]);

    Visual::Image original, converted;
    std::string error;
    if (!Visual::readPng(argv[arg], original, error) || !Visual::readPng(argv[arg + 1], converted, error)) {
        std::printf("error: %s\n", error.c_str());
        return 1;
    }
    Visual::Difference difference = Visual::compareImages(original, converted, closeness);
    std::printf("%.3f\n", 100 * difference.share());
    if (!sideBySidePath.empty() &&
        !Visual::writePng(sideBySidePath, Visual::sideBySide(original, converted, closeness), error)) {
        std::printf("error: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
