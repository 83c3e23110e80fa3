// Runs that end early: by a signal, for lack of memory, at a file-size limit.
// Each must end the way it is documented and leave the folder as it found it.

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

#include "e2e/ProgramRun.h"

using namespace e2e;

namespace {

// A picture of one pixel.
const std::string pixel = "data:image/png;base64,iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAYAAAAfFcSJAAAADUlEQVR42mNk"
                          "+M9QDwADhgGAWjR9awAAAABJRU5ErkJggg==";

// Shapes enough to keep a run busy for a while, of every kind of content a
// shape's drawable holds, behind an image whose file the bundle takes in.
std::string largeDrawing(std::size_t groups) {
    std::string body = "<image width='5' height='5' href='" + pixel + "'/>\n";
    for (std::size_t i = 0; i < groups; ++i) {
        const std::string n = std::to_string(i % 797);
        body += "<g transform='translate(" + n + " 1)'><rect x='" + n + "' width='3' height='4' fill='#" +
                std::to_string(100000 + i % 899999) + "'/><path d='M0 0 C 1 2 3 4 5 " + n +
                " Z' stroke='red'/></g>\n";
    }
    return drawing(body);
}

// The program started in `work`, its standard input a pipe the test feeds,
// its output discarded; killed if still running when this ends.
class StartedRun {
public:
    StartedRun(const fs::path& work, const std::vector<std::string>& arguments) {
        std::vector<std::string> words = {PICTAVO_BINARY};
        words.insert(words.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv;
        for (std::string& word : words) argv.push_back(word.data());
        argv.push_back(nullptr);
        int ends[2];
        if (pipe(ends) != 0) return;
        pid = fork();
        if (pid == 0) startProgram(work.c_str(), ends, argv.data());
        close(ends[0]);
        feed = ends[1];
    }
    ~StartedRun() {
        closeFeed();
        if (pid > 0 && !ended) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
    }
    StartedRun(const StartedRun&) = delete;
    StartedRun& operator=(const StartedRun&) = delete;

    bool started() const { return pid > 0; }

    bool write(const std::string& bytes) const {
        for (std::size_t done = 0; done < bytes.size();) {
            const ssize_t written = ::write(feed, bytes.data() + done, bytes.size() - done);
            if (written <= 0) return false;
            done += static_cast<std::size_t>(written);
        }
        return true;
    }
    void closeFeed() {
        if (feed >= 0) close(feed);
        feed = -1;
    }
    void send(int signalNumber) const { kill(pid, signalNumber); }

    // The signal that ended the run, 0 when it exited, -1 when it did not end
    // within a minute.
    int endingSignal() {
        for (int waited = 0; waited < 6000; ++waited) {
            int status = 0;
            if (waitpid(pid, &status, WNOHANG) == pid) {
                ended = true;
                return WIFSIGNALED(status) ? WTERMSIG(status) : 0;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return -1;
    }

private:
    pid_t pid = -1;
    int feed = -1;
    bool ended = false;

    // In the child: only calls that are safe between fork and exec. The
    // signals are as a freshly started program has them, whatever the test
    // runner ignores or blocks.
    [[noreturn]] static void startProgram(const char* folder, const int (&ends)[2], char* const* argv) {
        dup2(ends[0], STDIN_FILENO);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        for (int signalNumber : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) signal(signalNumber, SIG_DFL);
        sigset_t none;
        sigemptyset(&none);
        sigprocmask(SIG_SETMASK, &none, nullptr);
        if (chdir(folder) == 0) execv(argv[0], argv);
        _exit(127);
    }
};

// Waits until the bundle holds a temporary document (anything beside the
// finished one) of at least `size` bytes.
bool awaitTemporary(const fs::path& bundle, std::uintmax_t size) {
    for (int waited = 0; waited < 60000; ++waited) {
        std::error_code error;
        for (const auto& entry : fs::directory_iterator(bundle, error))
            if (entry.path().filename() != "presentation.apxl" && entry.file_size(error) >= size && !error)
                return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}

// A pipe the run writes into no longer kills the test when the run ended.
class PipeSignalIgnored {
public:
    PipeSignalIgnored() : previous(signal(SIGPIPE, SIG_IGN)) {}
    ~PipeSignalIgnored() { signal(SIGPIPE, previous); }

private:
    sighandler_t previous;
};

}  // namespace

// Interrupted while it reads the drawing from a pipe, or while it writes the
// document of a large one, the run removes its temporary document and a
// bundle it made, keeps an earlier document, and ends by the signal it got.
TEST(RunFaults, SignalsEndTheRunAndRemoveWhatItStarted) {
    PipeSignalIgnored pipeSignalIgnored;
    const std::string large = largeDrawing(40000);
    const std::string head = large.substr(0, large.size() / 2);
    const struct {
        int signalNumber;
        bool whileWriting;  // a large file being written, else a pipe being read
        bool earlierDocument;
    } cases[] = {
        {SIGINT, false, false}, {SIGHUP, false, true}, {SIGTERM, true, false}, {SIGHUP, true, true},
    };
    for (const auto& [signalNumber, whileWriting, earlierDocument] : cases) {
        SCOPED_TRACE(std::string(strsignal(signalNumber)) + (whileWriting ? " while writing" : " while reading") +
                     (earlierDocument ? ", earlier document" : ""));
        Scratch scratch;
        if (whileWriting) scratch.write("large.svg", large);
        if (earlierDocument) {
            scratch.write("earlier.svg", drawing("<rect width='1' height='1'/>"));
            scratch.expectConverted({"earlier.svg", "out.key"}, "out.key");
        }
        const auto before = scratch.snapshot();
        StartedRun run(scratch.work, {whileWriting ? "large.svg" : "-", "out.key"});
        ASSERT_TRUE(run.started());
        if (!whileWriting) {
            ASSERT_TRUE(run.write(head));
        }
        ASSERT_TRUE(awaitTemporary(scratch.work / "out.key", whileWriting ? 1 : 0));
        run.send(signalNumber);
        EXPECT_EQ(run.endingSignal(), signalNumber);
        EXPECT_TRUE(before == scratch.snapshot()) << "the run left the folder changed";
    }
}

// A run killed outright cannot clean up, whether it was reading or writing;
// the next run into the same bundle removes what it left.
TEST(RunFaults, TheNextRunRemovesWhatAKilledRunLeft) {
    Scratch scratch;
    scratch.write("large.svg", largeDrawing(40000));
    scratch.write("drawing.svg", drawing("<rect width='1' height='1'/>"));
    for (bool whileWriting : {false, true}) {
        StartedRun run(scratch.work, {whileWriting ? "large.svg" : "-", "out.key"});
        ASSERT_TRUE(run.started());
        ASSERT_TRUE(run.write(drawing("").substr(0, 20)));
        ASSERT_TRUE(awaitTemporary(scratch.work / "out.key", whileWriting ? 1 : 0));
        run.send(SIGKILL);
        EXPECT_EQ(run.endingSignal(), SIGKILL);
    }
    scratch.expectConverted({"drawing.svg", "out.key"}, "out.key");
}

// The smallest limit on the address space, in megabytes, under which the
// program starts at all: loading its libraries takes most of it.
int startingLimit(const Scratch& scratch) {
    RunSetting setting;
    for (int megabytes = 16; megabytes < 512; ++megabytes) {
        setting.limits = "-v " + std::to_string(megabytes * 1024);
        if (scratch.run({"--version"}, setting).status == 0) return megabytes;
    }
    return 512;
}

// Under a limit on its address space the run either converts the whole
// drawing or says it ran out of memory and leaves nothing, whether memory
// runs out while the parser reads, while the drawing converts or while it is
// written.
TEST(RunFaults, MemoryExhaustionFailsTheRunCleanly) {
#ifdef PICTAVO_TESTS_UNDER_ASAN
    GTEST_SKIP() << "AddressSanitizer reserves more address space than any limit leaves";
#endif
    const std::size_t groups = 6000;
    Scratch scratch;
    scratch.write("in.svg", largeDrawing(groups));
    const auto before = scratch.snapshot();
    const int start = startingLimit(scratch);
    int outOfMemory = 0;
    for (int extra : {0, 1, 2, 3, 4, 5, 6, 8, 12, 24}) {  // megabytes above the start
        SCOPED_TRACE(std::to_string(start) + " + " + std::to_string(extra) + " MB");
        RunSetting setting;
        setting.limits = "-v " + std::to_string((start + extra) * 1024);
        const RunResult result = scratch.run({"in.svg"}, setting);
        if (result.status == 0) {
            EXPECT_EQ(drawableValues(readFile(scratch.work / "in.key/presentation.apxl"), "path").size(),
                      2 * groups);
            fs::remove_all(scratch.work / "in.key");
            continue;
        }
        EXPECT_EQ(result.status, 1) << result.err.substr(0, 2000);
        EXPECT_EQ(result.out, "error: out of memory converting in.svg\n");
        EXPECT_TRUE(before == scratch.snapshot()) << "the run left the folder changed";
        ++outOfMemory;
    }
    EXPECT_GT(outOfMemory, 0) << "no limit made the run run out of memory";
}

// Past a file-size limit the write fails as a write: the run says so and
// leaves the folder as it was, instead of being killed with its temporary
// document left behind.
TEST(RunFaults, FileSizeLimitFailsTheWrite) {
    const std::string fileTooLarge = std::string(": ") + std::strerror(EFBIG) + "\n";
    // Of 512 or 1024 bytes, as the shell counts; the message must still fit.
    for (const char* blocks : {"1", "64"}) {
        SCOPED_TRACE(blocks);
        Scratch scratch;
        scratch.write("in.svg", largeDrawing(2000));
        const auto before = scratch.snapshot();
        RunSetting setting;
        setting.limits = std::string("-f ") + blocks;
        const RunResult result = scratch.run({"in.svg"}, setting);
        EXPECT_EQ(result.status, 1) << result.err.substr(0, 2000);
        EXPECT_EQ(result.out, "error: could not write in.key/presentation.apxl" + fileTooLarge);
        EXPECT_TRUE(before == scratch.snapshot()) << "the run left the folder changed";
    }
}
