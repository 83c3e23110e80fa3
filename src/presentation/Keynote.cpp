#include "presentation/Keynote.h"

#include <utility>

namespace Orvane {

Keynote::Keynote(const char* folder) : bundle(folder), writer(bundle.descriptor()) {
    failed = bundle.descriptor() < 0;
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
    if (!writer.finish() || !bundle.commit()) {
        failed = 1;
        bundle.discard();
    }
    return failed;
}

void Keynote::removeUnfinished() { Bundle::removeUnfinished(); }

}  // namespace Orvane
