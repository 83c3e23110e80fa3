#pragma once

// Runs the built program in a scratch folder, bounded in time and memory, and
// checks how the run ended and what it left there.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "hostile/DocumentCheck.h"

namespace e2e {

namespace fs = std::filesystem;

// AddressSanitizer reserves terabytes of address space, so a limit on virtual
// memory would stop every run under it.
#if defined(__SANITIZE_ADDRESS__)
#define PICTAVO_TESTS_UNDER_ASAN
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define PICTAVO_TESTS_UNDER_ASAN
#endif
#endif

inline std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline std::string quoted(const std::string& text) {
    std::string result = "'";
    for (char c : text) result += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return result + "'";
}

inline std::string repeated(const std::string& text, std::size_t count) {
    std::string result;
    for (std::size_t i = 0; i < count; ++i) result += text;
    return result;
}

inline std::string drawing(const std::string& body, const std::string& rootAttributes = "") {
    return "<svg xmlns=\"http://www.w3.org/2000/svg\"" + rootAttributes + ">" + body + "</svg>\n";
}

inline std::string parseFailure(const std::string& input) {
    return "error: could not parse file " + input + "\n";
}

// Every value of the attribute on the slide's own drawables (between the
// slide's "<drawables>" and the fixed placeholders that close them), in
// order, as written.
inline std::vector<std::string> drawableValues(const std::string& document, const std::string& attribute) {
    const std::size_t start = document.find("<drawables>", document.find("<slide-list>"));
    if (start == std::string::npos) return {};
    const std::string slide = document.substr(start, document.find("<title visibility", start) - start);
    std::vector<std::string> values;
    const std::string opening = " " + attribute + "=\"";
    for (std::size_t at = slide.find(opening); at != std::string::npos; at = slide.find(opening, at)) {
        at += opening.size();
        values.push_back(slide.substr(at, slide.find('"', at) - at));
    }
    return values;
}

struct RunResult {
    int status = -1;  // -1 when the program did not exit by itself
    std::string out, err;
};

// How the program is started: which binary, behind which command, with which
// limits (shell ulimit options) and what on standard input.
struct RunSetting {
    std::string program = PICTAVO_BINARY;
    std::string prefix;
    std::string limits;
    fs::path input = "/dev/null";
};

// The program runs in `work`; its output streams are caught beside it, so
// `work` holds only what the program and the test put there.
class Scratch {
public:
    fs::path root, work;

    Scratch() {
        std::string pattern = (fs::temp_directory_path() / "pictavo-run-XXXXXX").string();
        root = mkdtemp(pattern.data());
        work = root / "work";
        fs::create_directory(work);
        fs::permissions(root, fs::perms::all & ~fs::perms::group_write & ~fs::perms::others_write);
    }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;
    ~Scratch() {
        std::error_code ignored;
        for (auto it = fs::recursive_directory_iterator(root, ignored); it != fs::recursive_directory_iterator();
             it.increment(ignored))
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(root, ignored);
    }

    void write(const std::string& name, const std::string& bytes) const {
        fs::create_directories((work / name).parent_path());
        std::ofstream(work / name, std::ios::binary) << bytes;
    }

    // Every path below `work` with its content ("<dir>" for a folder,
    // "<other>" for a pipe or anything else that reading could block on).
    std::map<std::string, std::string> snapshot() const {
        std::map<std::string, std::string> entries;
        for (const auto& entry : fs::recursive_directory_iterator(work))
            entries[fs::relative(entry.path(), work).string()] =
                entry.is_directory() ? "<dir>" : entry.is_regular_file() ? readFile(entry.path()) : "<other>";
        return entries;
    }

    // Sanitizer reports use their own exit status, so they never pass for a
    // refusal.
    RunResult run(const std::vector<std::string>& arguments, const RunSetting& setting = {}) const {
        std::string command = "cd " + quoted(work.string()) + " && { ";
#ifndef PICTAVO_TESTS_UNDER_ASAN
        command += "ulimit -v 524288; ";
#endif
        if (!setting.limits.empty()) command += "ulimit " + setting.limits + "; ";
        command += "ASAN_OPTIONS=\"${ASAN_OPTIONS:+$ASAN_OPTIONS:}exitcode=86\" "
                   "UBSAN_OPTIONS=\"${UBSAN_OPTIONS:+$UBSAN_OPTIONS:}exitcode=86\" "
                   "exec timeout -k 5 20 " + setting.prefix + " " + quoted(setting.program);
        for (const std::string& argument : arguments) command += " " + quoted(argument);
        command += "; } >" + quoted((root / "stdout").string()) + " 2>" + quoted((root / "stderr").string()) +
                   " <" + quoted(setting.input.string());
        const int wait = std::system(command.c_str());
        RunResult result;
        if (wait != -1 && WIFEXITED(wait)) result.status = WEXITSTATUS(wait);
        result.out = readFile(root / "stdout");
        result.err = readFile(root / "stderr");
        return result;
    }

    // Root passes every permission check, so a read-only folder only stops the
    // program when it runs as an ordinary user. That user gets its own copy of
    // the program (the build may lie where it cannot go) and read access to
    // what the test wrote.
    RunResult runAsOrdinaryUser(const std::vector<std::string>& arguments) const {
        if (geteuid() != 0) return run(arguments);
        const fs::path program = root / "pictavo";
        fs::copy_file(PICTAVO_BINARY, program, fs::copy_options::overwrite_existing);
        const fs::perms readable = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
        const fs::perms enterable = readable | fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec;
        fs::permissions(program, enterable, fs::perm_options::add);
        fs::permissions(work, enterable, fs::perm_options::add);
        for (const auto& entry : fs::directory_iterator(work))
            if (entry.is_regular_file()) fs::permissions(entry.path(), readable, fs::perm_options::add);
        RunSetting setting;
        setting.program = program.string();
        setting.prefix = "setpriv --reuid=65534 --regid=65534 --clear-groups";
        return run(arguments, setting);
    }

    // Refused: exit 1, `message` alone on standard output, the folder exactly
    // as before.
    void expectRefused(const std::vector<std::string>& arguments, const std::string& message,
                       const RunSetting& setting = {}, bool asOrdinaryUser = false) const {
        const auto before = snapshot();
        const RunResult result = asOrdinaryUser ? runAsOrdinaryUser(arguments) : run(arguments, setting);
        EXPECT_EQ(result.status, 1) << result.err.substr(0, 2000);
        EXPECT_EQ(result.out, message);
        EXPECT_TRUE(before == snapshot()) << "the run left the folder changed";
    }

    // Converted: exit 0, nothing said, a sound document alone in the bundle,
    // readable like any file the user makes. Returns the document.
    std::string expectConverted(const std::vector<std::string>& arguments, const std::string& bundle,
                                const RunSetting& setting = {}) const {
        const RunResult result = run(arguments, setting);
        EXPECT_EQ(result.status, 0) << result.out << result.err.substr(0, 2000);
        EXPECT_EQ(result.out, "");
        std::vector<std::string> entries;
        std::error_code error;
        for (const auto& entry : fs::directory_iterator(work / bundle, error))
            entries.push_back(entry.path().filename().string());
        EXPECT_EQ(entries, std::vector<std::string>{"presentation.apxl"}) << bundle.substr(0, 200);
        const mode_t mask = umask(0);
        umask(mask);
        EXPECT_EQ(fs::status(work / bundle / "presentation.apxl", error).permissions(), fs::perms(0666 & ~mask));
        std::string document = readFile(work / bundle / "presentation.apxl");
        EXPECT_EQ(DocumentCheck::documentFault(document), "");
        return document;
    }
};

// The document made from `svg`, checked as converted.
inline std::string converted(const std::string& svg) {
    Scratch scratch;
    scratch.write("in.svg", svg);
    return scratch.expectConverted({"in.svg"}, "in.key");
}

// `bytes` as an input that must be refused for not parsing.
inline void expectUnparsable(const std::string& bytes) {
    Scratch scratch;
    scratch.write("in.svg", bytes);
    scratch.expectRefused({"in.svg"}, parseFailure("in.svg"));
}

}  // namespace e2e
