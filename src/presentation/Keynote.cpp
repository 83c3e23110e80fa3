#include "presentation/Keynote.h"

#include <cerrno>
#include <utility>

namespace Orvane {

Keynote::Keynote(const char* folder) : bundle(folder), writer(bundle.descriptor()) {
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
    writer.add(std::move(drawable));
}

int Keynote::commit() {
    if (committed || failed) return 1;
    committed = true;
    if (!drawing) writer.writeHeader(width, height);
    drawing = true;
    const bool written = writer.finish();
    if (written && bundle.commit()) return 0;
    // Cleaning up must not hide the reason, which the writer's thread may
    // have met in its own errno.
    const int reason = written ? bundle.failure() : writer.failure();
    failed = 1;
    bundle.discard();
    errno = reason;
    return 1;
}

void Keynote::removeUnfinished() { Bundle::removeUnfinished(); }

}  // namespace Orvane
