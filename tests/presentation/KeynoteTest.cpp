#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "presentation/Image.h"
#include "presentation/Keynote.h"
#include "presentation/TemporaryFolder.h"
#include "presentation/Text.h"

namespace fs = std::filesystem;
using Orvane::Keynote;

namespace {

// Text boxes enough for a document of a few hundred kilobytes.
void addBoxes(Keynote& keynote) {
    for (int i = 0; i < 3000; ++i) keynote.add(std::make_unique<Orvane::Text>("box " + std::to_string(i)));
}

// A limit on the size of the files this process writes, with SIGXFSZ ignored
// as the program ignores it, so that a write past the limit fails (EFBIG).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &previous);
        rlimit limited = previous;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
        previousAction = std::signal(SIGXFSZ, SIG_IGN);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &previous);
        std::signal(SIGXFSZ, previousAction);
    }

private:
    rlimit previous;
    void (*previousAction)(int);
};

class KeynoteBundle : public TemporaryFolder {};

}  // namespace

// Opening a bundle removes the temporary documents of runs that ended
// without removing them, but never one that a running writer holds, here a
// lock the test takes or a writer still open in the same bundle.
TEST_F(KeynoteBundle, RemovesOnlyLeftoversNoWriterHolds) {
    const fs::path bundle = folder / "b.key";
    fs::create_directory(bundle);
    std::ofstream(bundle / ".presentation.apxl.killed") << "killed";
    std::ofstream(bundle / ".presentation.apxl.x") << "other name";
    std::ofstream(bundle / ".presentation.apxl.living") << "living";
    const int living = open((bundle / ".presentation.apxl.living").c_str(), O_RDONLY);
    ASSERT_EQ(flock(living, LOCK_EX), 0);
    {
        Keynote first(bundle.c_str());
        addBoxes(first);
        Keynote second(bundle.c_str());
        EXPECT_EQ(second.commit(), 0);
        EXPECT_EQ(first.commit(), 0);
    }
    close(living);
    EXPECT_EQ(listing(bundle), ".presentation.apxl.living=living .presentation.apxl.x=other name "
                               "presentation.apxl=document");
}

// What a signal handler calls removes the unfinished document and a bundle
// made for it at once, while the writer's thread runs; a committed document
// stays.
TEST_F(KeynoteBundle, SignalCleanupRemovesOnlyWhatIsUnfinished) {
    struct Row {
        bool bundleExisted;
        bool committed;
        const char* after;
    };
    const Row rows[] = {
        {false, false, "none"},
        {true, false, ""},
        {false, true, "presentation.apxl=document"},
    };
    for (const Row& row : rows) {
        const fs::path bundle = folder / (std::to_string(&row - rows) + ".key");
        SCOPED_TRACE(bundle);
        if (row.bundleExisted) fs::create_directory(bundle);
        Keynote keynote(bundle.c_str());
        addBoxes(keynote);
        if (row.committed) {
            EXPECT_EQ(keynote.commit(), 0);
        }
        Keynote::removeUnfinished();
        EXPECT_EQ(listing(bundle), row.after);
    }
}

namespace {

std::unique_ptr<Orvane::Image> image(std::shared_ptr<const std::string> bytes, const char* extension) {
    return std::make_unique<Orvane::Image>(std::move(bytes), extension, 1, 1);
}

}  // namespace

// A committed run replaces the document and an earlier run's images, and
// keeps every other file; images sharing their bytes share one file. A run
// whose writes fail leaves an earlier bundle as it found it and removes a
// bundle it made, without a staged or temporary file.
TEST_F(KeynoteBundle, CommitReplacesTheEarlierImages) {
    const struct {
        bool earlier;
        bool writesFail;
        const char* after;
    } rows[] = {
        {true, false, "image-1.png=P image-2.jpg=J image-x.png=ours presentation.apxl=document"},
        {true, true, "image-1.png=old image-2.gif=old image-3.jpg=old image-x.png=ours presentation.apxl=earlier"},
        {false, true, "none"},
    };
    for (const auto& row : rows) {
        const fs::path bundle = folder / (std::to_string(&row - rows) + ".key");
        SCOPED_TRACE(bundle);
        if (row.earlier) {
            fs::create_directory(bundle);
            for (const char* name : {"image-1.png", "image-2.gif", "image-3.jpg"}) std::ofstream(bundle / name) << "old";
            std::ofstream(bundle / "image-x.png") << "ours";
            std::ofstream(bundle / "presentation.apxl") << "earlier";
        }
        {
            std::unique_ptr<FileSizeLimit> limit;
            if (row.writesFail) limit = std::make_unique<FileSizeLimit>(64 * 1024);
            Keynote keynote(bundle.c_str());
            const auto shared = std::make_shared<const std::string>("P");
            keynote.add(image(shared, "png"));
            keynote.add(image(std::make_shared<const std::string>("J"), "jpg"));
            keynote.add(image(shared, "png"));
            if (row.writesFail) addBoxes(keynote);
            EXPECT_EQ(keynote.commit(), row.writesFail ? 1 : 0);
            if (row.writesFail) {
                EXPECT_EQ(errno, EFBIG);
            }
        }
        EXPECT_EQ(listing(bundle), row.after);
    }
}

// Staged images go with the unfinished document when a signal ends the run,
// and a killed run's staging folder goes with its document.
TEST_F(KeynoteBundle, UnfinishedImagesAreRemoved) {
    const fs::path signalled = folder / "signalled.key";
    {
        Keynote keynote(signalled.c_str());
        keynote.add(image(std::make_shared<const std::string>("G"), "gif"));
        Keynote::removeUnfinished();
        EXPECT_EQ(listing(signalled), "none");
    }
    const fs::path killed = folder / "killed.key";
    fs::create_directories(killed / ".presentation.apxl.killed.images");
    std::ofstream(killed / ".presentation.apxl.killed") << "killed";
    std::ofstream(killed / ".presentation.apxl.killed.images" / "image-1.png") << "P";
    {
        Keynote keynote(killed.c_str());
        EXPECT_EQ(keynote.commit(), 0);
    }
    EXPECT_EQ(listing(killed), "presentation.apxl=document");
}
