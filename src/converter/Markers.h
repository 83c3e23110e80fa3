#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "converter/Document.h"
#include "converter/Lengths.h"
#include "converter/Matrix.h"
#include "converter/PathGeometry.h"
#include "presentation/Point.h"

namespace Pictavo {

// A vertex of a path where a marker may be drawn, with the direction of the
// path there, in degrees clockwise on the screen from the x axis.
struct MarkerVertex {
    Orvane::Point at;
    float direction;
};

// The path's vertices in order: the start of each figure and the end of each
// of its segments, a closed figure's implied closing segment included. The
// first is where marker-start goes, the last where marker-end goes, every
// other one takes marker-mid. The direction is the path's where the vertex
// starts or ends an open figure, else the bisector of the directions in and
// out of it; zero-length segments have no direction of their own and are
// looked past.
std::vector<MarkerVertex> markerVertices(const PathGeometry& geometry);

// The orient attribute: a fixed angle, or along the path.
struct MarkerOrient {
    enum Type { Angle, Auto, AutoStartReverse } type = Angle;
    float degrees = 0;
};

// orient's value: auto, auto-start-reverse, or an angle (degrees unless a
// unit says otherwise); nothing when it is none of these.
std::optional<MarkerOrient> readOrient(std::string_view text);

// The angle a marker is turned by at a vertex; auto-start-reverse turns the
// start marker to point backwards.
float markerAngle(const MarkerOrient& orient, const MarkerVertex& vertex, bool isStart);

// How the marker's content sits on the vertex.
struct MarkerFrame {
    // The marker's viewBox and preserveAspectRatio mapped into its
    // markerWidth by markerHeight viewport; the identity without a viewBox.
    Matrix contentToViewport = Matrix::identity();
    Orvane::Point reference{0, 0};  // refX, refY in the content's coordinates
    float scale = 1;                // the stroke width under markerUnits=strokeWidth
};

// The matrix from the marker's content into the path's user space: the
// reference point lands on the vertex, turned by `angle` degrees.
Matrix markerTransform(const Orvane::Point& at, float angle, const MarkerFrame& frame);

// A marker element's attributes, read: how it turns and where its content
// sits. `strokeWidth` is the stroke width of the path it marks, in the path's
// user units; per cent sizes resolve against `context`.
struct MarkerPlacement {
    MarkerOrient orient;
    MarkerFrame frame;
    bool drawn = true;  // a marker of no width or height draws nothing
    // The size of the content's viewport (its viewBox's, else the marker's),
    // which per cent lengths inside it take.
    float contentWidth = 3;
    float contentHeight = 3;
};
MarkerPlacement readMarkerPlacement(const Element& marker, float strokeWidth,
                                    const LengthContext& context);

}  // namespace Pictavo
