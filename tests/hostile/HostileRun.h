#pragma once

// Runs the built program on hostile input in a folder of its own, bounded in
// time and memory, and checks how the run ended.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "hostile/DocumentCheck.h"

namespace Hostile {

namespace fs = std::filesystem;

constexpr const char* timeLimitSeconds = "20";
constexpr const char* memoryLimitKilobytes = "524288";

// AddressSanitizer reserves terabytes of address space, so a limit on virtual
// memory would stop every run under it.
constexpr bool addressSanitizerBuild() {
#if defined(__SANITIZE_ADDRESS__)
    return true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    return true;
#else
    return false;
#endif
#else
    return false;
#endif
}

inline std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeFile(const fs::path& path, const std::string& bytes) {
    if (path.has_parent_path()) fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

constexpr fs::perms readableByAll =
    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::others_read;
constexpr fs::perms enterableByAll =
    readableByAll | fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec;

// A scratch folder: the program runs in `work`, its output streams are caught
// beside it, so `work` holds only what the program and the test put there.
class Scratch {
public:
    fs::path root;
    fs::path work;

    Scratch() {
        std::string pattern = (fs::temp_directory_path() / "pictavo-hostile-XXXXXX").string();
        root = mkdtemp(pattern.data());
        work = root / "work";
        fs::create_directory(work);
        // Readable by all: one case runs the program as an unprivileged user.
        fs::permissions(root, enterableByAll);
    }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;

    ~Scratch() {
        std::error_code ignored;
        for (auto it = fs::recursive_directory_iterator(root, ignored);
             it != fs::recursive_directory_iterator(); it.increment(ignored))
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(root, ignored);
    }

    fs::path write(const std::string& name, const std::string& bytes) const {
        writeFile(work / name, bytes);
        return work / name;
    }

    std::string read(const std::string& name) const { return readFile(work / name); }

    // Every path below `work` with its content ("<dir>" for a folder).
    std::map<std::string, std::string> snapshot() const {
        std::map<std::string, std::string> entries;
        for (const auto& entry : fs::recursive_directory_iterator(work)) {
            std::string name = fs::relative(entry.path(), work).string();
            entries[name] = entry.is_directory() ? "<dir>" : readFile(entry.path());
        }
        return entries;
    }
};

struct ProgramResult {
    int status = -1;  // the exit status, or -1 when the program did not exit by itself
    std::string out;
    std::string err;
};

inline std::string quoted(const std::string& text) {
    std::string result = "'";
    for (char c : text) result += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return result + "'";
}

// Runs `program` with `arguments` in the scratch folder, `prefix` in front of
// it. Sanitizer reports use their own exit status, so they never pass for a
// refusal.
inline ProgramResult runCommand(const Scratch& scratch, const std::string& program,
                                const std::vector<std::string>& arguments,
                                const std::string& prefix) {
    std::ostringstream command;
    command << "cd " << quoted(scratch.work.string()) << " && { ";
    if (!addressSanitizerBuild()) command << "ulimit -v " << memoryLimitKilobytes << "; ";
    command << "ASAN_OPTIONS=\"${ASAN_OPTIONS:+$ASAN_OPTIONS:}exitcode=86\" "
            << "UBSAN_OPTIONS=\"${UBSAN_OPTIONS:+$UBSAN_OPTIONS:}exitcode=86\" "
            << "exec timeout -k 5 " << timeLimitSeconds << " " << prefix << " " << quoted(program);
    for (const std::string& argument : arguments) command << " " << quoted(argument);
    command << "; } >" << quoted((scratch.root / "stdout").string()) << " 2>"
            << quoted((scratch.root / "stderr").string()) << " </dev/null";
    int wait = std::system(command.str().c_str());
    ProgramResult run;
    if (wait != -1 && WIFEXITED(wait)) run.status = WEXITSTATUS(wait);
    run.out = readFile(scratch.root / "stdout");
    run.err = readFile(scratch.root / "stderr");
    return run;
}

inline ProgramResult runProgram(const Scratch& scratch, const std::vector<std::string>& arguments) {
    return runCommand(scratch, PICTAVO_BINARY, arguments, "");
}

// Root passes every permission check, so a read-only folder only stops the
// program when it runs as an ordinary user. That user gets its own copy of
// the program (the build may lie where it cannot go) and read access to
// what the test wrote, whatever the umask.
inline ProgramResult runAsOrdinaryUser(const Scratch& scratch,
                                       const std::vector<std::string>& arguments) {
    if (geteuid() != 0) return runProgram(scratch, arguments);
    fs::path program = scratch.root / "pictavo";
    fs::copy_file(PICTAVO_BINARY, program, fs::copy_options::overwrite_existing);
    fs::permissions(program, enterableByAll);
    fs::permissions(scratch.work, enterableByAll, fs::perm_options::add);
    for (const auto& entry : fs::directory_iterator(scratch.work))
        if (entry.is_regular_file())
            fs::permissions(entry.path(), readableByAll, fs::perm_options::add);
    return runCommand(scratch, program.string(), arguments,
                      "setpriv --reuid=65534 --regid=65534 --clear-groups");
}

inline bool sanitizerSpoke(const ProgramResult& run) {
    return run.err.find("Sanitizer") != std::string::npos ||
           run.err.find("runtime error:") != std::string::npos;
}

// Converted: exit 0, nothing said, a sound document under the bundle's name
// and nothing else in the bundle. Returns the document.
inline std::string expectConverted(const Scratch& scratch, const ProgramResult& run,
                                   const std::string& bundle) {
    EXPECT_EQ(run.status, 0) << run.out << run.err.substr(0, 2000);
    EXPECT_EQ(run.out, "");
    EXPECT_FALSE(sanitizerSpoke(run)) << run.err.substr(0, 4000);
    fs::path folder = scratch.work / bundle;
    std::vector<std::string> entries;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error))
        entries.push_back(entry.path().filename().string());
    EXPECT_EQ(entries, std::vector<std::string>{"presentation.apxl"}) << bundle.substr(0, 200);
    std::string document = readFile(folder / "presentation.apxl");
    EXPECT_EQ(DocumentCheck::documentFault(document), "");
    return document;
}

inline bool oneLine(const std::string& text) {
    return text.size() > 1 && text.find('\n') == text.size() - 1;
}

// Refused: exit 1, a one-line message, and the folder exactly as before.
inline void expectRefused(const ProgramResult& run,
                          const std::map<std::string, std::string>& before,
                          const std::map<std::string, std::string>& after) {
    EXPECT_EQ(run.status, 1) << run.out << run.err.substr(0, 2000);
    EXPECT_TRUE(oneLine(run.out)) << "[" << run.out << "]";
    EXPECT_FALSE(sanitizerSpoke(run)) << run.err.substr(0, 4000);
    EXPECT_TRUE(before == after) << "the run left the folder changed";
}

inline std::string parseFailure(const std::string& input) {
    return "error: could not parse file " + input + "\n";
}

// An SVG document around `body`.
inline std::string drawing(const std::string& body, const std::string& rootAttributes = "") {
    return "<svg xmlns=\"http://www.w3.org/2000/svg\"" + rootAttributes + ">" + body + "</svg>\n";
}

inline std::string repeated(const std::string& text, std::size_t count) {
    std::string result;
    result.reserve(text.size() * count);
    for (std::size_t i = 0; i < count; ++i) result += text;
    return result;
}

}  // namespace Hostile
