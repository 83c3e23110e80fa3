#pragma once

#include <string>

namespace Orvane {

class ImageFiles;

// The base of every drawable the presentation holds. The APXL transformation
// of a drawable is a, b, c, d of `transformation` followed by `position`.
class TransformableShape {
public:
    float transformation[6];  // a, b, c, d, tx, ty
    float position[2];        // top-left corner of the drawable's box
    float size[2];            // width and height of the drawable's box

    TransformableShape();
    TransformableShape(const TransformableShape&) = delete;
    TransformableShape& operator=(const TransformableShape&) = delete;
    virtual ~TransformableShape() = default;

    void setPosition(float x, float y);
    void setTransformation(float a, float b, float c, float d, float tx, float ty);

    // Appends the drawable's APXL elements to `document`; `index` is its
    // place among the slide's drawables. Nothing is appended for a drawable
    // that cannot be written whole.
    virtual void write(std::string& document, int index) const = 0;
    // Puts the files the drawable refers to into the bundle, before it is
    // written: false when one could not be written.
    virtual bool storeFiles(ImageFiles&) { return true; }

protected:
    // Whether every number of the placement (transformation and position)
    // can be written.
    bool placementWritable() const;
    // Appends the placement as the value of a transformation attribute:
    // "a b c d tx ty".
    void appendPlacement(std::string& document) const;
};

}  // namespace Orvane
