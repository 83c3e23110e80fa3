#pragma once

#include <memory>

#include "presentation/TransformableShape.h"

namespace Orvane {

// Where the drawables of a slide go, in the order they are drawn: the first
// one lies at the back.
class Slide {
public:
    Slide() = default;
    Slide(const Slide&) = delete;
    Slide& operator=(const Slide&) = delete;
    virtual ~Slide() = default;

    // The slide's size in points, set once, before the first drawable. A
    // slide that is never sized is 800 by 600.
    virtual void setSize(int width, int height) = 0;
    virtual void add(std::unique_ptr<TransformableShape> drawable) = 0;
};

}  // namespace Orvane
