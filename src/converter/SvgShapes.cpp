#include "converter/Svg.h"

namespace Pictavo {

using Orvane::Path;
using Orvane::PathSegment;

PathSegment SVG::transformedSegment(const PathSegment& segment, Matrix& ctm) const {
    PathSegment mapped(segment);
    mapped.start = ctm * segment.start;
    mapped.control1 = ctm * segment.control1;
    mapped.end = ctm * segment.end;
    mapped.control2 = ctm * segment.control2;
    return mapped;
}

// STUB: the basic shapes are still to be written.
Path* SVG::convertCircle(float, float, float, Matrix&) { return new Path(); }
Path* SVG::convertEllipse(float, float, float, float, Matrix&) { return new Path(); }
Path* SVG::convertRectangle(float, float, float, float, Matrix&) { return new Path(); }
Path* SVG::convertRoundedRectangle(float, float, float, float, float, float, Matrix&) {
    return new Path();
}
Path* SVG::convertLine(float, float, float, float, Matrix&) { return new Path(); }
Path* SVG::convertPolygon(const char*, bool, Matrix&) { return new Path(); }

}  // namespace Pictavo
