#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <string_view>
#include <vector>

namespace Orvane {

// The image files of a bundle being written. They are written into a hidden
// staging folder beside the temporary document and named after it, so a run
// that fails leaves none behind and a later run knows a killed run's folder
// by its document. At the commit they take their names image-N.EXT beside
// the document, and the image files of an earlier run that this run did not
// replace go.
class ImageFiles {
public:
    // `folder` is the bundle's; `temporaryDocument` the path of the run's
    // temporary document.
    ImageFiles(std::string folder, const std::string& temporaryDocument);
    // Discards what was not moved in.
    ~ImageFiles();
    ImageFiles(const ImageFiles&) = delete;
    ImageFiles& operator=(const ImageFiles&) = delete;

    // Writes `bytes` as image-N.`extension`, N counting from 1: the name the
    // document refers to, or an empty text when it could not be written.
    // Bytes added before (the same object) are written once.
    std::string add(const std::shared_ptr<const std::string>& bytes, const char* extension);

    // Gives the written files their names beside the document, replacing
    // files of the same names. False when one could not be written or moved.
    bool moveIn();
    // After the document is committed: removes the image files of earlier
    // runs that this run did not replace.
    void removeEarlier();
    // Removes the staged files and the staging folder.
    void discard();
    // The errno of the first failed write or move, or 0.
    int failure() const { return error; }

    // What discard() removes, for a signal handler: async-signal-safe.
    static void removeUnfinished();
    // Removes the staging folder of the temporary document `name`, a leftover
    // of a run that ended without removing it, in the folder `folder` is a
    // descriptor of.
    static void removeStaged(int folder, const char* temporaryDocumentName);

private:
    std::string folder;
    std::string staging;             // <temporary document>.images
    int stagingDescriptor = -1;      // while the staging folder exists
    int error = 0;
    std::vector<std::string> names;  // written so far, in order
    // The bytes written, held so that no other bytes take their address.
    std::unordered_map<const std::string*, std::pair<std::shared_ptr<const std::string>, std::string>> written;

    bool makeStaging();
    std::string failedWith(int reason);
    void forgetUnfinished();
};

}  // namespace Orvane
