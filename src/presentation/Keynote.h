#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "presentation/TransformableShape.h"

namespace Orvane {

// One presentation being written: the bundle directory, its document and the
// drawables it owns. The document is written into a temporary file in the
// bundle and only `save` puts it under the name presentation.apxl, so a failed
// run never destroys an earlier document.
class Keynote {
public:
    int width;
    int height;
    FILE* file;  // the temporary document while it is written
    int failed;
    std::vector<TransformableShape*> shapes;  // owned
    std::string documentPath;                 // <bundle>/presentation.apxl

    Keynote(const char* bundle, int width, int height);
    Keynote(const Keynote&) = delete;
    Keynote& operator=(const Keynote&) = delete;
    ~Keynote();

    void clear();
    int error() const;
    void addShape(TransformableShape* shape);
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

    void discard();
};

}  // namespace Orvane
