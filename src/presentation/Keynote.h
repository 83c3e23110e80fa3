#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "presentation/Slide.h"
#include "presentation/TransformableShape.h"

namespace Orvane {

// One presentation being written: the bundle directory, its document and the
// drawables it owns. The document is written into a temporary file in the
// bundle and only `save` puts it under the name presentation.apxl, so a failed
// run never destroys an earlier document.
class Keynote : public Slide {
public:
    int width;
    int height;
    FILE* file;  // the temporary document while it is written
    int failed;
    // Owned. While drawables are written as they are added, the writer
    // thread reads the pointers under its lock.
    std::vector<TransformableShape*> shapes;
    std::string documentPath;  // <bundle>/presentation.apxl

    Keynote(const char* bundle, int width, int height);
    ~Keynote() override;

    void setSize(int width, int height) override;
    void add(std::unique_ptr<TransformableShape> drawable) override;

    void clear();
    int error() const;
    void addShape(TransformableShape* shape);
    // From now on a background thread writes each added drawable to the
    // document while the caller goes on adding; exportXML(false) then only
    // waits for it. Does nothing when no thread can be started.
    void exportWhileAdding();
    void exportXML(bool reverse);
    int printHeader();
    int printFooter();

    // Closes the written document and renames it to presentation.apxl.
    // Returns 0, or 1 when a write, the close or the rename failed; then
    // nothing incomplete is left under the document's name.
    int save();

private:
    std::string bundlePath;
    std::string temporaryPath;
    bool createdBundle;
    bool saved;
    std::vector<char> writeBuffer;  // the document stream's buffer
    // Where the drawables start in the document, once known: the room left
    // for the header, or the end of a header written before any drawable.
    long bodyStart;
    class Writer;
    std::unique_ptr<Writer> writer;  // while drawables are written as added

    void discard();
    void stopWriter(bool finishWriting);
    void reserveHeaderRoom();
    int placeHeader(const std::string& header);
    bool moveBodyBehind(const std::string& header);
};

}  // namespace Orvane
