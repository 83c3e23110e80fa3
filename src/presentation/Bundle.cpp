#include "presentation/Bundle.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "presentation/ImageFiles.h"

namespace Orvane {

namespace {

const char* const documentName = "/presentation.apxl";
// Hidden, so that a half-written document never looks like a finished one;
// mkostemp replaces the six X.
const char* const temporaryPrefix = ".presentation.apxl.";
const char* const temporaryUnique = "XXXXXX";

bool isTemporaryName(const char* name) {
    const std::size_t prefixLength = std::strlen(temporaryPrefix);
    return std::strncmp(name, temporaryPrefix, prefixLength) == 0 &&
           std::strlen(name) == prefixLength + std::strlen(temporaryUnique);
}

// The paths removeUnfinished removes. A signal handler reads them at any
// moment, so they live in fixed buffers, each set before its flag.
struct UnfinishedPaths {
    char temporary[PATH_MAX];
    char folder[PATH_MAX];
    volatile std::sig_atomic_t hasTemporary;
    volatile std::sig_atomic_t hasFolder;
};
UnfinishedPaths unfinished;
// The bundle whose paths those are.
std::atomic<const Bundle*> unfinishedOwner{nullptr};

// Catchable signals wait while a path a signal handler may read changes, and
// while the file system and the record of it disagree.
class SignalsHeld {
public:
    SignalsHeld() {
        sigset_t all;
        sigfillset(&all);
        pthread_sigmask(SIG_BLOCK, &all, &previous);
    }
    ~SignalsHeld() { pthread_sigmask(SIG_SETMASK, &previous, nullptr); }
    SignalsHeld(const SignalsHeld&) = delete;
    SignalsHeld& operator=(const SignalsHeld&) = delete;

private:
    sigset_t previous;
};

void recordUnfinished(const Bundle* owner, char (&buffer)[PATH_MAX], volatile std::sig_atomic_t& flag,
                      const std::string& path) {
    if (unfinishedOwner.load() != owner || path.size() >= sizeof buffer) return;
    std::memcpy(buffer, path.c_str(), path.size() + 1);
    flag = 1;
}

// An exclusive lock on the bundle folder, waited for: a run creates and locks
// its temporary document, removes leftovers, and closes and renames its
// document only while it holds this lock, so that no run ever sees another's
// document unlocked while that one is still writing it.
class FolderLock {
public:
    explicit FolderLock(const std::string& folder) : listing(opendir(folder.c_str())) {
        if (listing == nullptr) return;
        while (flock(dirfd(listing), LOCK_EX) != 0) {
            if (errno != EINTR) break;
        }
    }
    ~FolderLock() {
        if (listing != nullptr) closedir(listing);
    }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    // Removes the temporary documents whose lock can be taken: their runs
    // ended without removing them (killed, or the machine stopped). This
    // run's own document is locked through another open file, so it stays.
    void removeLeftovers() {
        if (listing == nullptr) return;
        const int folder = dirfd(listing);
        while (const dirent* entry = readdir(listing)) {
            if (!isTemporaryName(entry->d_name)) continue;
            const int leftover =
                openat(folder, entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
            if (leftover < 0) continue;
            struct stat status;
            if (fstat(leftover, &status) == 0 && S_ISREG(status.st_mode) &&
                flock(leftover, LOCK_EX | LOCK_NB) == 0) {
                unlinkat(folder, entry->d_name, 0);
                ImageFiles::removeStaged(folder, entry->d_name);
            }
            close(leftover);
        }
    }

private:
    DIR* listing;
};

// mkostemp makes the file readable by its owner only; the finished document
// gets the permissions an ordinary newly created file would have.
void giveOrdinaryPermissions(int descriptor) {
    mode_t mask = umask(0);
    umask(mask);
    fchmod(descriptor, 0666 & ~mask);
}

}  // namespace

Bundle::Bundle(const std::string& folder) : folder(folder), document(folder + documentName) {
    const Bundle* none = nullptr;
    unfinishedOwner.compare_exchange_strong(none, this);
    if (!makeFolder()) {
        error = errno;
        return;
    }
    FolderLock lock(folder);
    if (!makeTemporary()) {
        error = errno;
        discard();
        return;
    }
    lock.removeLeftovers();
}

Bundle::~Bundle() { discard(); }

bool Bundle::makeFolder() {
    SignalsHeld held;
    if (mkdir(folder.c_str(), 0775) != 0) return errno == EEXIST;
    madeFolder = true;
    recordUnfinished(this, unfinished.folder, unfinished.hasFolder, folder);
    return true;
}

bool Bundle::makeTemporary() {
    std::string path = folder + "/" + temporaryPrefix + temporaryUnique;
    {
        SignalsHeld held;
        file = mkostemp(path.data(), O_CLOEXEC);
        if (file < 0) return false;
        recordUnfinished(this, unfinished.temporary, unfinished.hasTemporary, path);
    }
    temporaryPath = path;
    // Nobody else can hold the new file's lock; taking it needs no wait.
    flock(file, LOCK_EX | LOCK_NB);
    giveOrdinaryPermissions(file);
    return true;
}

bool Bundle::commit() {
    if (file < 0) return false;
    // Closing ends the document's lock: a run removing leftovers must not
    // take it for one before it has its name.
    FolderLock lock(folder);
    const bool closed = close(file) == 0;
    file = -1;
    SignalsHeld held;
    if (!closed || std::rename(temporaryPath.c_str(), document.c_str()) != 0) {
        error = errno;
        return false;
    }
    temporaryPath.clear();
    madeFolder = false;  // it holds the document now
    forgetUnfinished();
    return true;
}

void Bundle::discard() {
    if (file >= 0) {
        close(file);
        file = -1;
    }
    if (!temporaryPath.empty()) {
        unlink(temporaryPath.c_str());
        temporaryPath.clear();
    }
    // Only the folder this run made goes, and only while it is empty.
    if (madeFolder) {
        rmdir(folder.c_str());
        madeFolder = false;
    }
    forgetUnfinished();
}

void Bundle::forgetUnfinished() {
    if (unfinishedOwner.load() != this) return;
    unfinished.hasTemporary = 0;
    unfinished.hasFolder = 0;
    unfinishedOwner.store(nullptr);
}

void Bundle::removeUnfinished() {
    if (unfinished.hasTemporary) unlink(unfinished.temporary);
    if (unfinished.hasFolder) rmdir(unfinished.folder);
}

}  // namespace Orvane
