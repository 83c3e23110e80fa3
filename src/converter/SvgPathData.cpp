#include <cmath>

#include "converter/PathGeometry.h"
#include "converter/ValueScanner.h"

namespace Pictavo {

namespace {

using Orvane::PathSegment;
using Orvane::Point;

constexpr double pi = 3.141592653589793;
constexpr double twoPi = 6.283185307179586;
// A quarter turn and a little: a sweep of up to a quarter turn is one piece.
constexpr double quarterTurnAndMargin = 1.571796326842394;
constexpr double eightThirds = 2.6666667461395264;  // 8/3 rounded to a float
constexpr float twoThirds = 2.0f / 3.0f;

// Trigonometry and roots work in double precision on the widened floats; the
// float overloads of <cmath> would round differently.
double sinOf(float x) { return std::sin(static_cast<double>(x)); }
double cosOf(float x) { return std::cos(static_cast<double>(x)); }
double sqrtOf(float x) { return std::sqrt(static_cast<double>(x)); }

// How many numbers one group of a command takes; 0 for z and for what is no
// command letter.
int groupSize(char command) {
    switch (command) {
        case 'm':
        case 'l':
        case 't':
            return 2;
        case 'h':
        case 'v':
            return 1;
        case 's':
        case 'q':
            return 4;
        case 'c':
            return 6;
        case 'a':
            return 7;
        default:
            return 0;
    }
}

bool isCommand(char lowered) { return lowered == 'z' || groupSize(lowered) > 0; }

bool startsNumber(char c) { return isDigitCharacter(c) || c == '.' || c == '+' || c == '-'; }

bool samePoint(const Point& a, const Point& b) { return a.x == b.x && a.y == b.y; }

// The point two thirds of the way from `from` towards `towards`: a quadratic's
// control point seen from one end becomes that end's cubic control point.
Point twoThirdsToward(const Point& from, const Point& towards) {
    return Point(from.x + twoThirds * (towards.x - from.x),
                 from.y + twoThirds * (towards.y - from.y));
}

// The ellipse of an arc seen in the space where it is the unit circle:
// rotation, radii (enlarged when too small to reach the end point), centre,
// start angle and signed sweep.
struct UnitArc {
    float sine, cosine;
    float rx, ry;
    float uc, wc;
    float theta0, delta;

    // Maps a point of unit space back to user space.
    Point toUser(float u, float w) const {
        float a00 = cosine * rx, a01 = -sine * ry, a10 = sine * rx, a11 = cosine * ry;
        return Point(a00 * u + a01 * w, a10 * u + a11 * w);
    }
};

void enlargeRadiiToReach(const Point& p, const Point& e, UnitArc& arc) {
    float dx = (p.x - e.x) / 2;
    float dy = (p.y - e.y) / 2;
    float xp = arc.cosine * dx + arc.sine * dy;
    float yp = arc.cosine * dy - arc.sine * dx;
    float lambda = xp * xp / (arc.rx * arc.rx) + yp * yp / (arc.ry * arc.ry);
    if (lambda > 1) {
        arc.rx = static_cast<float>(arc.rx * sqrtOf(lambda));
        arc.ry = static_cast<float>(arc.ry * sqrtOf(lambda));
    }
}

Point toUnitSpace(const Point& q, const UnitArc& arc) {
    float u = (arc.cosine / arc.rx) * q.x + (arc.sine / arc.rx) * q.y;
    float w = (arc.cosine / arc.ry) * q.y - (arc.sine / arc.ry) * q.x;
    return Point(u, w);
}

float angleOf(const Point& unit, const UnitArc& arc) {
    double w = unit.y - arc.wc;
    double u = unit.x - arc.uc;
    return static_cast<float>(std::atan2(w, u));
}

// Fills `arc` for the arc from p to e. False when the numbers leave nothing
// to draw (an infinite coordinate or radius makes the centre undefined).
bool findUnitArc(const Point& p, const Point& e, float rx, float ry, float angle, float largeArc,
                 float sweep, UnitArc& arc) {
    double radians = angle * pi / 180;
    arc.sine = static_cast<float>(std::sin(radians));
    arc.cosine = static_cast<float>(std::cos(radians));
    arc.rx = rx;
    arc.ry = ry;
    enlargeRadiiToReach(p, e, arc);

    Point p0 = toUnitSpace(p, arc);
    Point p1 = toUnitSpace(e, arc);
    float du = p1.x - p0.x, dw = p1.y - p0.y;
    float d = du * du + dw * dw;
    float kSquared = 1 / d - 0.25f;
    if (kSquared < 0) kSquared = 0;
    float k = static_cast<float>(sqrtOf(kSquared));
    if (largeArc == sweep) k = -k;
    arc.uc = 0.5f * (p0.x + p1.x) - k * dw;
    arc.wc = 0.5f * (p0.y + p1.y) + k * du;

    arc.theta0 = angleOf(p0, arc);
    arc.delta = angleOf(p1, arc) - arc.theta0;
    if (arc.delta < 0 && sweep != 0) {
        arc.delta = static_cast<float>(arc.delta + twoPi);
    } else if (arc.delta > 0 && sweep == 0) {
        arc.delta = static_cast<float>(arc.delta - twoPi);
    }
    return std::isfinite(arc.uc) && std::isfinite(arc.wc) && std::isfinite(arc.delta);
}

// One cubic piece of the arc from angle alpha to angle beta, in user space.
PathSegment arcPiece(const Point& start, float alpha, float beta, const UnitArc& arc) {
    float h = (beta - alpha) / 2;
    float t = static_cast<float>(eightThirds * sinOf(h / 2) * sinOf(h / 2) / sinOf(h));
    float u1 = static_cast<float>(cosOf(alpha) + arc.uc - t * sinOf(alpha));
    float w1 = static_cast<float>(sinOf(alpha) + arc.wc + t * cosOf(alpha));
    float u3 = static_cast<float>(cosOf(beta) + arc.uc);
    float w3 = static_cast<float>(sinOf(beta) + arc.wc);
    float u2 = static_cast<float>(u3 + t * sinOf(beta));
    float w2 = static_cast<float>(w3 - t * cosOf(beta));

    PathSegment piece;
    piece.start = start;
    piece.control1 = arc.toUser(u1, w1);
    piece.control2 = arc.toUser(u2, w2);
    piece.end = arc.toUser(u3, w3);
    return piece;
}

// Reads path data in one pass, as SVG's grammar gives it: a move first, then
// commands, each with one or more groups of numbers; a group is drawn once it
// is complete, and the first thing that does not fit the grammar ends the
// reading with what was drawn before it.
class PathDataReader {
public:
    PathDataReader(std::string_view data, PathGeometry& out) : scanner(data), out(out) {}

    void read();

private:
    ValueScanner scanner;
    PathGeometry& out;
    std::size_t figureBegin = 0;  // where the current figure's segments start

    char command = 0;  // lowered letter; 0 before the first letter
    bool relative = false;
    float group[7];

    Point current{0, 0};
    Point figureStart{0, 0};
    char previous = 0;  // the command of the last group drawn
    Point previousControl{0, 0};

    bool beginCommand(char letter);
    bool readGroup();
    void executeGroup();
    Point argumentPoint(int index, const Point& base) const;
    Point reflectedControl(char command1, char command2) const;

    void endFigure(bool closed);
    void moveTo(const Point& at);
    void closeFigure();
    void append(const PathSegment& segment);
    void lineTo(const Point& end);
    void curveTo(const Point& control1, const Point& control2, const Point& end);
    void quadraticTo(const Point& control, const Point& end);
    void arcTo(float rx, float ry, float angle, float largeArc, float sweep, const Point& end);
};

void PathDataReader::read() {
    out.clear();
    scanner.skipSpace();
    while (!scanner.atEnd()) {
        const char next = scanner.next();
        // Numbers behind a command's groups repeat the command (z takes none).
        const bool repeated = startsNumber(next) && groupSize(command) > 0;
        if (!repeated && !beginCommand(next)) break;
        if (command == 'z') {
            scanner.skipSpace();
            continue;
        }
        if (!readGroup()) break;
        executeGroup();
        scanner.skipCommaAndSpace();
    }
    endFigure(false);
}

// Takes the command letter; false when it is none, or not a move where the
// data must start with one.
bool PathDataReader::beginCommand(char letter) {
    const char lowered = loweredCharacter(letter);
    if (!isCommand(lowered) || (command == 0 && lowered != 'm')) return false;
    scanner.character(letter);
    command = lowered;
    relative = lowered == letter;
    if (command == 'z') {
        closeFigure();
    } else {
        scanner.skipSpace();
    }
    return true;
}

// Arc flags are single digits, which may be written against the next number
// ("0110" is 0, 1, 10).
bool PathDataReader::readGroup() {
    const int size = groupSize(command);
    for (int i = 0; i < size; ++i) {
        if (i > 0) scanner.skipCommaAndSpace();
        if (command == 'a' && (i == 3 || i == 4)) {
            bool flag;
            if (!scanner.flag(flag)) return false;
            group[i] = flag ? 1.0f : 0.0f;
        } else if (!scanner.number(group[i])) {
            return false;
        }
    }
    return true;
}

Point PathDataReader::argumentPoint(int index, const Point& base) const {
    return base + Point(group[index], group[index + 1]);
}

// The previous control point mirrored about the current point, when the
// previous group was drawn by one of the two commands; else the current point.
Point PathDataReader::reflectedControl(char command1, char command2) const {
    if (previous != command1 && previous != command2) return current;
    return current + Point(current.x - previousControl.x, current.y - previousControl.y);
}

void PathDataReader::executeGroup() {
    Point base = relative ? current : Point(0, 0);
    char drawn = command;
    switch (command) {
        case 'm':
            moveTo(argumentPoint(0, base));
            command = 'l';  // further pairs of a move draw lines
            break;
        case 'l':
            lineTo(argumentPoint(0, base));
            break;
        case 'h':
            lineTo(Point(base.x + group[0], current.y));
            break;
        case 'v':
            lineTo(Point(current.x, base.y + group[0]));
            break;
        case 'c':
            curveTo(argumentPoint(0, base), argumentPoint(2, base), argumentPoint(4, base));
            break;
        case 's':
            curveTo(reflectedControl('c', 's'), argumentPoint(0, base), argumentPoint(2, base));
            break;
        case 'q':
            quadraticTo(argumentPoint(0, base), argumentPoint(2, base));
            break;
        case 't':
            quadraticTo(reflectedControl('q', 't'), argumentPoint(0, base));
            break;
        case 'a':
            arcTo(group[0], group[1], group[2], group[3], group[4], argumentPoint(5, base));
            break;
    }
    previous = drawn;
}

// A figure without segments is dropped; what draws after z starts the next
// figure where z left off.
void PathDataReader::endFigure(bool closed) {
    if (out.segments.size() > figureBegin) out.figures.push_back({out.segments.size(), closed});
    figureBegin = out.segments.size();
}

void PathDataReader::moveTo(const Point& at) {
    endFigure(false);
    current = at;
    figureStart = at;
}

void PathDataReader::closeFigure() {
    endFigure(true);
    current = figureStart;
    previous = 'z';
}

void PathDataReader::append(const PathSegment& segment) {
    out.segments.push_back(segment);
    current = segment.end;
}

void PathDataReader::lineTo(const Point& end) { append(PathSegment(current, end, true)); }

void PathDataReader::curveTo(const Point& control1, const Point& control2, const Point& end) {
    PathSegment curve(current, end, false);
    curve.control1 = control1;
    curve.control2 = control2;
    append(curve);
    previousControl = control2;
}

void PathDataReader::quadraticTo(const Point& control, const Point& end) {
    curveTo(twoThirdsToward(current, control), twoThirdsToward(end, control), end);
    previousControl = control;
}

void PathDataReader::arcTo(float rx, float ry, float angle, float largeArc, float sweep,
                           const Point& end) {
    if (samePoint(current, end)) return;  // an arc back to its start draws nothing
    rx = std::fabs(rx);
    ry = std::fabs(ry);
    if (rx == 0 || ry == 0) {
        lineTo(end);
        return;
    }
    UnitArc arc;
    if (findUnitArc(current, end, rx, ry, angle, largeArc, sweep, arc)) {
        int pieces = static_cast<int>(std::ceil(std::fabs(arc.delta / quarterTurnAndMargin)));
        for (int i = 0; i < pieces; ++i) {
            float alpha = arc.theta0 + i * arc.delta / pieces;
            float beta = arc.theta0 + (i + 1) * arc.delta / pieces;
            append(arcPiece(current, alpha, beta, arc));
        }
    }
    // The pieces end near the end point; the next segment starts exactly on it.
    current = end;
}

}  // namespace

void readPathData(std::string_view data, PathGeometry& out) { PathDataReader(data, out).read(); }

}  // namespace Pictavo
