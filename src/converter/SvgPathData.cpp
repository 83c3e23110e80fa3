#include <cctype>
#include <cmath>
#include <cstring>

#include "converter/ElementValues.h"
#include "converter/Svg.h"

namespace Pictavo {

namespace {

using Orvane::Path;
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

// How many numbers one group of a command takes; 0 for z and unknown letters,
// whose numbers are dropped.
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

bool isCommand(char letter) { return letter == 'z' || groupSize(letter) > 0; }

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

// Reads path data in one pass. Each command's numbers are gathered group by
// group, and a group is drawn as soon as it is complete, so a command with a
// trailing incomplete group still draws its complete ones.
class PathDataReader {
public:
    PathDataReader(const SVG& svg, Matrix& ctm, std::vector<PathSegment>& pending)
        : svg(svg), ctm(ctm), pending(pending), result(new Path()), receiving(result) {}

    Path* read(const char* data);

private:
    const SVG& svg;
    Matrix& ctm;
    std::vector<PathSegment>& pending;  // the current figure's segments, mapped
    Path* result;
    Path* receiving;  // the path of the current figure
    int moves = 0;

    char command = 0;  // lowered letter; 0 before the first letter
    bool relative = false;
    float group[7];
    int count = 0;
    bool negate = false;  // the last sign read was a lone minus

    Point current{0, 0};
    Point figureStart{0, 0};
    bool closedFigure = false;  // z ended the figure and no move followed
    char previous = 0;          // the command of the last group drawn
    Point previousControl{0, 0};

    const char* readNumber(const char* position, const char* token, const char* next);
    void beginCommand(char letter);
    void addArgument(float value);
    bool nextArgumentIsArcFlag() const;
    void executeGroup();
    Point argumentPoint(int index, const Point& base) const;
    Point reflectedControl(char command1, char command2) const;

    void startFigure(const Point& at);
    void closeFigure();
    void append(const PathSegment& segment);
    void lineTo(const Point& end);
    void curveTo(const Point& control1, const Point& control2, const Point& end);
    void quadraticTo(const Point& control, const Point& end);
    void arcTo(float rx, float ry, float angle, float largeArc, float sweep, const Point& end);
    Path* finish();
};

Path* PathDataReader::read(const char* data) {
    char token[1024];
    SVG::TokenType type;
    const char* position = data;
    const char* next = data;
    while (SVG::tokenParser(position, token, &next, type) > 0) {
        switch (type) {
            case SVG::TokenType::Word:
                for (const char* letter = token; *letter != '\0'; ++letter) beginCommand(*letter);
                break;
            case SVG::TokenType::Number:
                next = readNumber(position, token, next);
                break;
            case SVG::TokenType::Sign:
                negate = std::strcmp(token, "-") == 0;
                break;
            default:
                break;
        }
        position = next;
    }
    return finish();
}

// Stores the number and returns where scanning goes on. An arc flag is a single
// digit that may be written against the next number ("0110" is 0, 1, 10).
const char* PathDataReader::readNumber(const char* position, const char* token, const char* next) {
    bool flag = nextArgumentIsArcFlag() && (token[0] == '0' || token[0] == '1');
    double value = flag ? token[0] - '0' : numberValue(token);
    addArgument(static_cast<float>(negate ? -value : value));
    negate = false;
    return flag ? position + 1 : next;
}

bool PathDataReader::nextArgumentIsArcFlag() const {
    return command == 'a' && (count == 3 || count == 4);
}

void PathDataReader::beginCommand(char letter) {
    char lowered = static_cast<char>(std::tolower(static_cast<unsigned char>(letter)));
    command = isCommand(lowered) ? lowered : '?';
    relative = lowered == letter;
    count = 0;
    if (command == 'z') closeFigure();
}

void PathDataReader::addArgument(float value) {
    int size = groupSize(command);
    if (size == 0) return;
    group[count++] = value;
    if (count == size) {
        executeGroup();
        count = 0;
    }
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
    // A drawing command right after z starts the next figure where z left off.
    if (command != 'm' && closedFigure) startFigure(current);
    char drawn = command;
    switch (command) {
        case 'm':
            startFigure(argumentPoint(0, base));
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

// The first figure goes into the result path itself; each later one gets a
// path of its own, handed to the result when the figure after it begins.
void PathDataReader::startFigure(const Point& at) {
    ++moves;
    addPendingSegments(*receiving, pending);
    if (moves > 2) result->addSubpath(receiving);
    if (moves >= 2) receiving = new Path();
    current = at;
    figureStart = at;
    closedFigure = false;
}

void PathDataReader::closeFigure() {
    receiving->closed = true;
    current = figureStart;
    closedFigure = true;
    previous = 'z';
}

void PathDataReader::append(const PathSegment& segment) {
    pending.push_back(svg.transformedSegment(segment, ctm));
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

Path* PathDataReader::finish() {
    addPendingSegments(*receiving, pending);
    if (moves >= 2) {
        if (receiving->segments.empty()) {
            delete receiving;
        } else {
            result->addSubpath(receiving);
        }
    }
    return result;
}

}  // namespace

Orvane::Path* SVG::convertPath(const char* data, Matrix& ctm) {
    return PathDataReader(*this, ctm, pendingSegments).read(data == nullptr ? "" : data);
}

}  // namespace Pictavo
