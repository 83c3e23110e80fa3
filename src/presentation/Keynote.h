#pragma once

#include <memory>
#include <string>

#include "presentation/Bundle.h"
#include "presentation/DocumentWriter.h"
#include "presentation/ImageFiles.h"
#include "presentation/Slide.h"
#include "presentation/TransformableShape.h"

namespace Orvane {

// One presentation of one slide written into a bundle folder: opened, sized,
// given its drawables, committed. The header goes into the document with the
// first drawable (or at the commit), so the size must come before; each
// drawable is written and freed as soon as its turn comes. Calls out of this
// order are refused and change nothing.
class Keynote : public Slide {
public:
    // Opens the bundle folder, made when missing, and a temporary document in
    // it; error() tells whether that failed, and errno then says why.
    explicit Keynote(const char* folder);
    // Without a commit: the drawables not yet written are dropped, and the
    // temporary document and a folder made for it are removed.
    ~Keynote() override;

    // Refused once sized or after the first drawable.
    void setSize(int width, int height) override;
    // Refused after the commit or a failed opening: the drawable is freed.
    // The files it refers to (images) are written into the bundle here; when
    // that fails, the drawable is freed and the commit fails.
    void add(std::unique_ptr<TransformableShape> drawable) override;

    // Waits until every drawable is written, ends the document and gives it
    // the name presentation.apxl, after the images took their names beside
    // it; the image files of an earlier run that were not replaced go.
    // Returns 0, or 1 when the bundle could not be opened, a write, the
    // close or a rename failed (the run then leaves the bundle as it found
    // it, and errno says why), or on a second call. What writing a drawable
    // threw on the writer's thread (std::bad_alloc) is thrown here.
    int commit();

    // 1 when the bundle could not be opened or the commit failed.
    int error() const { return failed; }
    const std::string& documentPath() const { return bundle.documentPath(); }

    // Removes the temporary document, the images staged beside it and a
    // bundle folder made for them, left by a run that a signal ends:
    // async-signal-safe, for signal handlers.
    static void removeUnfinished();

private:
    Bundle bundle;
    ImageFiles images;      // the image files the drawables refer to
    DocumentWriter writer;  // destroyed first: its thread writes the bundle's file
    int width = 800;
    int height = 600;
    bool sized = false;
    bool drawing = false;  // the header is written
    bool committed = false;
    int failed = 0;
};

}  // namespace Orvane
