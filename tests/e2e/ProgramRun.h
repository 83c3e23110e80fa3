#pragma once

// Runs the built program in a scratch folder and reads what it left there.

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace e2e {

namespace fs = std::filesystem;

struct RunResult {
    int status;  // the exit status, or -1 when the program did not exit normally
    std::string output;  // standard output
    std::string errors;  // standard error
};

inline std::string shellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

inline std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

inline void writeFile(const fs::path& path, const std::string& content) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << content;
}

// A fresh folder under the system's temporary folder: `work` is where the
// program runs, and its standard error is kept beside it so that capturing it
// leaves nothing in `work`.
class Scratch {
public:
    fs::path root;
    fs::path work;

    Scratch() {
        std::string pattern = (fs::temp_directory_path() / "pictavo-e2e-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr) root = pattern;
        work = root / "work";
        fs::create_directories(work);
    }
    ~Scratch() {
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;

    RunResult run(const std::vector<std::string>& arguments) const {
        return runAs(PICTAVO_BINARY, arguments);
    }

    RunResult runAs(const std::string& program, const std::vector<std::string>& arguments) const {
        const fs::path errorFile = root / "stderr";
        std::string command = "cd " + shellQuoted(work.string()) + " && " + shellQuoted(program);
        for (const std::string& argument : arguments) command += " " + shellQuoted(argument);
        command += " 2>" + shellQuoted(errorFile.string());

        RunResult result{-1, "", ""};
        FILE* pipe = popen(command.c_str(), "r");
        if (pipe == nullptr) return result;
        char buffer[4096];
        std::size_t count;
        while ((count = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) result.output.append(buffer, count);
        const int waitStatus = pclose(pipe);
        if (WIFEXITED(waitStatus)) result.status = WEXITSTATUS(waitStatus);
        result.errors = readFile(errorFile);
        return result;
    }

    // Every path below `work`, relative to it, folders included.
    std::set<std::string> entries() const {
        std::set<std::string> found;
        for (const auto& entry : fs::recursive_directory_iterator(work))
            found.insert(fs::relative(entry.path(), work).string());
        return found;
    }
};

// The banner and usage line, as the program prints them when invoked as `program`.
inline std::string usageText(const std::string& program) {
    return "\npictavo v0.1: SVG to Apple Keynote converter\n\nusage: " + program +
           " svg_file.svg [output.key]\n\n";
}

const char* const emptyDrawing =
    "<svg xmlns=\"http://www.w3.org/2000/svg\"></svg>\n";

}  // namespace e2e
