#include "presentation/Keynote.h"

#include <cerrno>
#include <utility>

namespace Orvane {

Keynote::Keynote(const char* folder)
    : bundle(folder), images(folder, bundle.temporaryDocumentPath()), writer(bundle.descriptor()) {
    failed = bundle.descriptor() < 0;
    if (failed) errno = bundle.failure();
}

Keynote::~Keynote() = default;

void Keynote::setSize(int slideWidth, int slideHeight) {
    if (sized || drawing) return;
    width = slideWidth;
    height = slideHeight;
    sized = true;
}

void Keynote::add(std::unique_ptr<TransformableShape> drawable) {
    if (committed || failed || drawable == nullptr) return;
    if (!drawing) {
        writer.writeHeader(width, height);
        drawing = true;
    }
    // A drawable whose files could not be written fails the commit.
    if (!drawable->storeFiles(images)) return;
    writer.add(std::move(drawable));
}

int Keynote::commit() {
    if (committed || failed) return 1;
    committed = true;
    if (!drawing) writer.writeHeader(width, height);
    drawing = true;
    const bool written = writer.finish();
    // Images move in before the document that refers to them.
    const bool moved = written && images.moveIn();
    if (moved && bundle.commit()) {
        images.removeEarlier();
        return 0;
    }
    // Cleaning up must not hide the reason, which the writer's thread may
    // have met in its own errno.
    const int reason = !written ? writer.failure() : !moved ? images.failure() : bundle.failure();
    failed = 1;
    images.discard();
    bundle.discard();
    errno = reason;
    return 1;
}

void Keynote::removeUnfinished() {
    ImageFiles::removeUnfinished();
    Bundle::removeUnfinished();
}

}  // namespace Orvane
