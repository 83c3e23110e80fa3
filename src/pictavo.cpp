#include <fcntl.h>
#include <signal.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "converter/Svg.h"
#include "presentation/Keynote.h"

namespace {

const char* const standardInput = "-";

struct Run {
    bool quiet = false;
    const char* input = nullptr;
    std::string bundle;
};

void printUsage(const char* program) { std::printf("usage: %s [-q] svg_file.svg [output.key]\n", program); }

void printHelp(const char* program) {
    printUsage(program);
    std::printf(
        "\n"
        "Converts one SVG drawing (svg_file.svg, a gzip-compressed .svgz, or - for standard input)\n"
        "into a presentation bundle holding one slide, output.key/presentation.apxl: every shape\n"
        "becomes an editable vector path, every text a text box. Without output.key the bundle is\n"
        "named after the input, a final .svg or .svgz replaced by .key. What the slide cannot carry\n"
        "is reported on standard error.\n"
        "\n"
        "options:\n"
        "  -q, --quiet    do not report what was not carried\n"
        "  -h, --help     print this help and exit\n"
        "  -V, --version  print the version and exit\n"
        "  --             end of options\n");
}

// An input ending in .svg or .svgz, in any case, gives its name with that
// ending replaced; any other name keeps all of itself, so no byte of a
// multi-byte character is ever cut off.
std::string derivedBundleName(std::string_view input) {
    for (std::string_view ending : {".svg", ".svgz"}) {
        if (input.size() < ending.size()) continue;
        const std::size_t stem = input.size() - ending.size();
        if (strncasecmp(input.data() + stem, ending.data(), ending.size()) == 0)
            return std::string(input.substr(0, stem)) + ".key";
    }
    return std::string(input) + ".key";
}

// Reads the options and file names, or says why the command line is wrong.
// Returns the exit status when the program ends here.
std::optional<int> readCommandLine(int argc, char** argv, Run& run) {
    const char* program = argv[0];
    int next = 1;
    for (; next < argc && argv[next][0] == '-' && argv[next] != std::string_view(standardInput); ++next) {
        const std::string_view option = argv[next];
        if (option == "--") {
            ++next;
            break;
        }
        if (option == "-h" || option == "--help") {
            printHelp(program);
            return 0;
        }
        if (option == "-V" || option == "--version") {
            std::printf("pictavo %s\n", PICTAVO_VERSION);
            return 0;
        }
        if (option != "-q" && option != "--quiet") {
            std::printf("error: unknown option %s\n", argv[next]);
            printUsage(program);
            return 1;
        }
        run.quiet = true;
    }
    const int files = argc - next;
    if (files < 1 || files > 2) {
        if (files > 2) std::printf("error: unexpected argument %s\n", argv[next + 2]);
        printUsage(program);
        return 1;
    }
    run.input = argv[next];
    if (files == 2) {
        run.bundle = argv[next + 1];
    } else if (run.input == std::string_view(standardInput)) {
        std::printf("error: a drawing read from standard input needs a bundle name\n");
        printUsage(program);
        return 1;
    } else {
        run.bundle = derivedBundleName(run.input);
    }
    return std::nullopt;
}

bool unreadable(const char* input) {
    std::printf("error: cannot read %s: %s\n", input, std::strerror(errno));
    return false;
}

// Only a regular file can hold a drawing: a folder fails inside the parser
// and a named pipe or a device may never end, so the type is checked before
// anything opens the input. Opening it then gives the system's reason where
// the parser would only find the document empty. Standard input is taken as
// it comes.
bool inputIsReadable(const char* input) {
    if (input == std::string_view(standardInput)) return true;
    struct stat status;
    if (stat(input, &status) != 0) return unreadable(input);
    if (!S_ISREG(status.st_mode)) {
        std::printf("error: could not parse file %s\n", input);
        return false;
    }
    const int probe = open(input, O_RDONLY | O_CLOEXEC);
    if (probe < 0) return unreadable(input);
    close(probe);
    return true;
}

// The report's lines, made before the document is committed, so that running
// out of memory for them still fails the run as a whole.
std::vector<std::string> reportLines(const char* input, const Pictavo::Report& report) {
    std::vector<std::string> lines;
    const std::string prefix = std::string("pictavo: ") + input + ": ";
    const std::string dropped = Pictavo::Report::text(report.notCarriedEntries());
    const std::string approximated = Pictavo::Report::text(report.approximatedEntries());
    if (!dropped.empty()) lines.push_back(prefix + "not carried: " + dropped);
    if (!approximated.empty()) lines.push_back(prefix + "approximated: " + approximated);
    return lines;
}

int convert(const Run& run) {
    Orvane::Keynote keynote(run.bundle.c_str());
    if (keynote.error()) {
        std::printf("error: could not create bundle %s: %s\n", run.bundle.c_str(), std::strerror(errno));
        return 1;
    }
    Pictavo::SVG svg(keynote);
    // The converter reports a parse failure itself; the uncommitted
    // presentation then leaves any earlier document as it was.
    if (svg.convert(run.input) != 0) return 1;
    const std::vector<std::string> report = run.quiet ? std::vector<std::string>() : reportLines(run.input, svg.report);
    if (keynote.commit() != 0) {
        std::printf("error: could not write %s: %s\n", keynote.documentPath().c_str(), std::strerror(errno));
        return 1;
    }
    for (const std::string& line : report) std::fprintf(stderr, "%s\n", line.c_str());
    return 0;
}

// Removes what the interrupted run left unfinished, then lets the signal end
// the program as it would have, so the caller sees which signal it was. The
// signal stays blocked in its handler, so the raised one arrives when the
// handler returns, with the default action restored.
extern "C" void endBySignal(int signalNumber) {
    Orvane::Keynote::removeUnfinished();
    signal(signalNumber, SIG_DFL);
    raise(signalNumber);
}

void handleSignals() {
    const int ending[] = {SIGINT, SIGTERM, SIGHUP};
    struct sigaction action {};
    action.sa_handler = endBySignal;
    sigemptyset(&action.sa_mask);
    for (int signalNumber : ending) sigaddset(&action.sa_mask, signalNumber);
    for (int signalNumber : ending) {
        // A signal ignored by whoever started the run (nohup) stays ignored.
        struct sigaction previous {};
        if (sigaction(signalNumber, nullptr, &previous) == 0 && previous.sa_handler == SIG_IGN) continue;
        sigaction(signalNumber, &action, nullptr);
    }
    // A write beyond the file-size limit then fails as a write, reported and
    // cleaned up like any other.
    signal(SIGXFSZ, SIG_IGN);
}

}  // namespace

int main(int argc, char** argv) {
    // A program started with an empty argument vector still prints a usable
    // usage line instead of formatting a null pointer.
    char fallbackName[] = "pictavo";
    char* fallbackArgv[] = {fallbackName, nullptr};
    if (argc < 1 || argv[0] == nullptr) {
        argc = 1;
        argv = fallbackArgv;
    }
    Run run;
    if (const std::optional<int> status = readCommandLine(argc, argv, run)) return *status;
    if (!inputIsReadable(run.input)) return 1;
    handleSignals();
    try {
        return convert(run);
    } catch (const std::bad_alloc&) {
        std::printf("error: out of memory converting %s\n", run.input);
        return 1;
    }
}
