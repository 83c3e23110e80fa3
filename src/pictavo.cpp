#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "converter/Svg.h"
#include "presentation/Keynote.h"

namespace {

const char* const version = "v0.1";

int usage(char** argv) {
    std::printf("\npictavo %s: SVG to Apple Keynote converter\n", version);
    std::printf("\nusage: %s svg_file.svg [output.key]\n\n", argv[0]);
    return 0;
}

bool opensForReading(const char* path) {
    FILE* probe = std::fopen(path, "r");
    if (probe == nullptr) return false;
    std::fclose(probe);
    return true;
}

// Only a regular file can hold a drawing: a folder or a device would open
// and then fail (or never end) inside the parser, after the bundle was made.
bool isRegularFile(const char* path) {
    struct stat status;
    return stat(path, &status) == 0 && S_ISREG(status.st_mode);
}

// The bundle is named after the input, its last four characters (the ending)
// replaced by ".key", so it lands beside the input. Inputs too short to have
// such an ending are refused by the caller.
const std::size_t endingLength = 4;

std::string derivedBundleName(const char* input) {
    std::string name(input);
    name.resize(name.size() - endingLength);
    return name + ".key";
}

int convert(const char* input, const std::string& bundle) {
    Orvane::Keynote keynote(bundle.c_str());
    if (keynote.error()) {
        std::printf("error: could not create bundle %s\n", bundle.c_str());
        return 1;
    }
    Pictavo::SVG svg(keynote);
    // The converter reports a parse failure itself; the unsaved presentation
    // then leaves any earlier document as it was.
    if (svg.convert(input) != 0) return 1;
    if (keynote.commit() != 0) {
        std::printf("error: could not write %s\n", keynote.documentPath().c_str());
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    // A program started with an empty argument vector still prints a usable
    // usage line instead of formatting a null pointer.
    char fallbackName[] = "pictavo";
    char* fallbackArgv[] = {fallbackName, nullptr};
    if (argc < 1 || argv[0] == nullptr) argv = fallbackArgv;

    if (argc < 2 || argc > 3) {
        usage(argv);
        return 1;
    }
    const char* input = argv[1];
    const bool bundleGiven = argc == 3;
    if (!opensForReading(input) || (!bundleGiven && std::strlen(input) < endingLength)) {
        usage(argv);
        return 1;
    }
    if (!isRegularFile(input)) {
        std::printf("error: could not parse file %s\n", input);
        return 1;
    }
    const std::string bundle = bundleGiven ? std::string(argv[2]) : derivedBundleName(input);
    return convert(input, bundle);
}
