#pragma once

#include <string>

namespace Orvane {

// The bundle folder and the temporary document written in it. The document
// takes the name presentation.apxl only when committed, so a failed run never
// destroys an earlier document. While it is written, the temporary document
// holds a lock, by which later runs tell it from the leftover of a run that
// was killed.
class Bundle {
public:
    // Makes the folder when it is missing and the temporary document in it,
    // and removes temporary documents that no running process holds.
    explicit Bundle(const std::string& folder);
    // Discards what was not committed.
    ~Bundle();
    Bundle(const Bundle&) = delete;
    Bundle& operator=(const Bundle&) = delete;

    // The temporary document's descriptor, or -1 when it could not be made.
    int descriptor() const { return file; }
    // The errno of a failed opening or commit, or 0.
    int failure() const { return error; }
    const std::string& documentPath() const { return document; }
    // Empty once removed or renamed.
    const std::string& temporaryDocumentPath() const { return temporaryPath; }

    // Closes the temporary document and renames it to presentation.apxl.
    // False when the close or the rename failed.
    bool commit();
    // Removes the temporary document, and the folder when it was made here
    // and is empty. Nothing after a commit.
    void discard();

    // What discard() removes, for a signal handler: async-signal-safe. A
    // program writes one bundle at a time; of several, this acts for the one
    // opened while no other was unfinished.
    static void removeUnfinished();

private:
    std::string folder;
    std::string document;       // <folder>/presentation.apxl
    std::string temporaryPath;  // empty once removed or renamed
    int file = -1;
    int error = 0;
    bool madeFolder = false;

    bool makeFolder();
    bool makeTemporary();
    void forgetUnfinished();
};

}  // namespace Orvane
