#include "presentation/ImageFiles.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstring>

namespace Orvane {

namespace {

const char* const stagingSuffix = ".images";
const char* const imagePrefix = "image-";
const char* const extensions[] = {"png", "jpg", "gif"};

// What removeUnfinished removes: the staging folder, through its descriptor,
// and the files image-1 to image-count in it. A signal handler reads them at
// any moment, so they live in fixed storage, each set before its flag.
struct UnfinishedStaging {
    char path[PATH_MAX];
    volatile std::sig_atomic_t descriptor = -1;
    volatile std::sig_atomic_t count = 0;
    volatile std::sig_atomic_t recorded = 0;
};
UnfinishedStaging unfinished;
std::atomic<const ImageFiles*> unfinishedOwner{nullptr};

// "image-N.EXT" into `name`, without allocating: the signal handler calls it.
void imageName(char (&name)[32], long number, const char* extension) {
    char digits[24];
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + number % 10);
        number /= 10;
    } while (number > 0);
    std::size_t at = 0;
    for (const char* c = imagePrefix; *c != '\0'; ++c) name[at++] = *c;
    while (count > 0) name[at++] = digits[--count];
    name[at++] = '.';
    for (const char* c = extension; *c != '\0'; ++c) name[at++] = *c;
    name[at] = '\0';
}

// Whether `name` is one this class writes: image-, digits, and an extension.
bool isImageName(const char* name) {
    const std::size_t prefixLength = std::strlen(imagePrefix);
    if (std::strncmp(name, imagePrefix, prefixLength) != 0) return false;
    const char* at = name + prefixLength;
    const char* digits = at;
    while (*at >= '0' && *at <= '9') ++at;
    if (at == digits || *at != '.') return false;
    return std::any_of(std::begin(extensions), std::end(extensions),
                       [&](const char* extension) { return std::strcmp(at + 1, extension) == 0; });
}

bool writeAll(int descriptor, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t done = write(descriptor, bytes.data(), bytes.size());
        if (done < 0 && errno == EINTR) continue;
        if (done <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(done));
    }
    return true;
}

// Removes every entry of the folder `descriptor` is open on, then closes it.
void emptyAndClose(int descriptor) {
    DIR* listing = fdopendir(descriptor);
    if (listing == nullptr) {
        close(descriptor);
        return;
    }
    while (const dirent* entry = readdir(listing)) {
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
            unlinkat(descriptor, entry->d_name, 0);
    }
    closedir(listing);
}

}  // namespace

ImageFiles::ImageFiles(std::string folder, const std::string& temporaryDocument)
    : folder(std::move(folder)), staging(temporaryDocument.empty() ? "" : temporaryDocument + stagingSuffix) {}

ImageFiles::~ImageFiles() { discard(); }

bool ImageFiles::makeStaging() {
    if (staging.empty() || mkdir(staging.c_str(), 0700) != 0) return false;
    stagingDescriptor = open(staging.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (stagingDescriptor < 0) {
        rmdir(staging.c_str());
        return false;
    }
    const ImageFiles* none = nullptr;
    if (staging.size() < sizeof unfinished.path && unfinishedOwner.compare_exchange_strong(none, this)) {
        std::memcpy(unfinished.path, staging.c_str(), staging.size() + 1);
        unfinished.descriptor = stagingDescriptor;
        unfinished.count = 0;
        unfinished.recorded = 1;
    }
    return true;
}

std::string ImageFiles::add(const std::shared_ptr<const std::string>& bytes, const char* extension) {
    if (const auto found = written.find(bytes.get()); found != written.end()) return found->second.second;
    if (stagingDescriptor < 0 && !makeStaging()) return failedWith(errno);
    char name[32];
    imageName(name, static_cast<long>(names.size() + 1), extension);
    // Counted before the file exists: the signal handler may then look for
    // a file that is not there, but never misses one that is.
    if (unfinishedOwner.load() == this) unfinished.count = static_cast<std::sig_atomic_t>(names.size() + 1);
    const int file = openat(stagingDescriptor, name, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (file < 0) return failedWith(errno);
    const bool complete = writeAll(file, *bytes);
    if (close(file) != 0 || !complete) {
        const int reason = errno;
        unlinkat(stagingDescriptor, name, 0);
        return failedWith(reason);
    }
    names.emplace_back(name);
    written.emplace(bytes.get(), std::make_pair(bytes, names.back()));
    return names.back();
}

std::string ImageFiles::failedWith(int reason) {
    if (error == 0) error = reason;
    return std::string();
}

bool ImageFiles::moveIn() {
    if (error != 0) return false;
    if (stagingDescriptor < 0) return true;
    for (const std::string& name : names) {
        if (std::rename((staging + "/" + name).c_str(), (folder + "/" + name).c_str()) != 0) {
            failedWith(errno);
            return false;
        }
    }
    discard();
    return true;
}

void ImageFiles::removeEarlier() {
    DIR* listing = opendir(folder.c_str());
    if (listing == nullptr) return;
    while (const dirent* entry = readdir(listing)) {
        if (isImageName(entry->d_name) && std::find(names.begin(), names.end(), entry->d_name) == names.end())
            unlinkat(dirfd(listing), entry->d_name, 0);
    }
    closedir(listing);
}

void ImageFiles::discard() {
    if (stagingDescriptor < 0) return;
    forgetUnfinished();
    emptyAndClose(stagingDescriptor);
    stagingDescriptor = -1;
    rmdir(staging.c_str());
}

void ImageFiles::forgetUnfinished() {
    if (unfinishedOwner.load() != this) return;
    unfinished.recorded = 0;
    unfinishedOwner.store(nullptr);
}

void ImageFiles::removeUnfinished() {
    if (!unfinished.recorded) return;
    for (long number = 1; number <= unfinished.count; ++number) {
        for (const char* extension : extensions) {
            char name[32];
            imageName(name, number, extension);
            unlinkat(unfinished.descriptor, name, 0);
        }
    }
    rmdir(unfinished.path);
}

void ImageFiles::removeStaged(int folder, const char* temporaryDocumentName) {
    const std::string name = std::string(temporaryDocumentName) + stagingSuffix;
    const int descriptor = openat(folder, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (descriptor < 0) return;
    emptyAndClose(descriptor);
    unlinkat(folder, name.c_str(), AT_REMOVEDIR);
}

}  // namespace Orvane
