#include "converter/DashOffset.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numeric>

namespace Pictavo {

namespace {

// Offsets and lengths are read from text; an entry boundary matches when it
// lies within this fraction of the pattern's length.
const double boundaryTolerance = 1e-5;

// The index of the entry that starts at `position` (0 <= position < length),
// or the entry count when none does.
std::size_t entryStartingAt(const std::vector<float>& dashes, double position, double length) {
    double start = 0;
    for (std::size_t index = 0; index < dashes.size(); ++index) {
        if (std::fabs(start - position) <= boundaryTolerance * length) return index;
        start += dashes[index];
    }
    return std::fabs(start - position) <= boundaryTolerance * length ? 0 : dashes.size();
}

}  // namespace

std::vector<float> dashesFromOffset(std::vector<float> dashes, float offset) {
    const double length = std::accumulate(dashes.begin(), dashes.end(), 0.0);
    if (offset == 0 || dashes.empty() || !(length > 0) || !std::isfinite(offset)) return dashes;
    double position = std::fmod(double(offset), length);
    if (position < 0) position += length;
    const std::size_t first = entryStartingAt(dashes, position, length);
    if (first == dashes.size()) return dashes;
    std::rotate(dashes.begin(), dashes.begin() + first, dashes.end());
    if (first % 2 == 1) {
        dashes.insert(dashes.begin(), 0);
        dashes.push_back(0);
    }
    return dashes;
}

}  // namespace Pictavo
