// libFuzzer target: the whole conversion of the fuzzer's bytes as an SVG
// file, as the program runs it, followed by a check of what it left behind.
// Every fault ends in abort(), which libFuzzer records as a finding; nothing
// here calls exit(), so the fuzzer keeps running in one process.

#include <sanitizer/common_interface_defs.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "converter/Svg.h"
#include "hostile/DocumentCheck.h"
#include "presentation/Keynote.h"

namespace {

namespace fs = std::filesystem;

fs::path scratch;

void removeScratch() {
    std::error_code ignored;
    fs::remove_all(scratch, ignored);
}

// Standard error may be closed (-close_fd_mask); the sanitizers' report
// stream stays open, so the reason goes there too.
[[noreturn]] void finding(const std::string& what) {
    std::string message = "pictavo fuzz finding: " + what;
    std::fprintf(stderr, "%s\n", message.c_str());
    std::fflush(stderr);
    __sanitizer_report_error_summary(message.c_str());
    std::abort();
}

void writeInput(const fs::path& path, const std::uint8_t* data, std::size_t size) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file || std::fwrite(data, 1, size, file) != size || std::fclose(file) != 0)
        finding("could not write the scratch input " + path.string());
}

std::string readDocument(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) finding("converted, but no document at " + path.string());
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The run as the program makes it: true when the document was saved.
bool convert(const fs::path& input, const fs::path& bundle) {
    Orvane::Keynote keynote(bundle.c_str());
    if (keynote.error()) finding("could not create the scratch bundle " + bundle.string());
    Pictavo::SVG svg(keynote);
    if (svg.convert(input.c_str()) != 0) return false;
    if (keynote.commit() != 0) finding("could not save into the scratch bundle");
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::string pattern = (fs::temp_directory_path() / "pictavo-fuzz-XXXXXX").string();
    if (!mkdtemp(pattern.data())) finding("could not make a scratch folder");
    scratch = pattern;
    std::atexit(removeScratch);
    // The converter's messages (parse errors) would drown libFuzzer's own.
    if (!std::freopen("/dev/null", "w", stdout)) finding("could not silence standard output");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fs::path input = scratch / "input.svg";
    const fs::path bundle = scratch / "deck.key";
    writeInput(input, data, size);
    std::error_code ignored;
    fs::remove_all(bundle, ignored);

    if (!convert(input, bundle)) {
        // A refused run leaves nothing behind: the bundle was made by this run.
        if (fs::exists(bundle)) finding("a refused run left the bundle behind");
        return 0;
    }
    const std::string document = readDocument(bundle / "presentation.apxl");
    // Beside the document, a converted run leaves only the image files it names.
    for (const auto& entry : fs::directory_iterator(bundle)) {
        const std::string name = entry.path().filename().string();
        if (name != "presentation.apxl" && document.find("image-data=\"" + name + "\"") == std::string::npos)
            finding("the bundle holds a stray " + name);
    }
    std::string fault = DocumentCheck::documentFault(document);
    if (!fault.empty()) finding(fault);
    return 0;
}
