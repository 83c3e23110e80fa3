#include "presentation/Format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace Orvane {

namespace {

// The longest "%f" text of a float: the sign, the 39 digits of FLT_MAX, the
// full stop and six decimals.
constexpr std::size_t numberCapacity = 64;

// A float is mantissa * 2^shift with a mantissa below 2^24, so
// mantissa * 10^6 stays below 2^44 and, shifted left by at most this much,
// below 2^63: every value under 2^43 has its millionths exact in 64 bits.
constexpr int largestExactShift = 19;

// An int in decimal: sign and ten digits.
constexpr std::size_t integerCapacity = 16;

std::string_view escapeOf(char c) {
    switch (c) {
        case '&': return "&amp;";
        case '<': return "&lt;";
        case '>': return "&gt;";
        case '"': return "&quot;";
        default: return {};
    }
}

// The magnitude of `value` in millionths, rounded half to even from its exact
// binary value as printf rounds, when that fits in 64 bits.
bool roundedMillionths(float value, std::uint64_t& millionths) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    const int biasedExponent = (bits >> 23) & 0xFF;
    std::uint64_t mantissa = bits & 0x7FFFFF;
    int shift = -149;  // subnormal
    if (biasedExponent != 0) {
        mantissa |= 0x800000;
        shift = biasedExponent - 150;
    }
    if (shift > largestExactShift) return false;
    const std::uint64_t scaled = mantissa * 1000000;
    if (shift >= 0) {
        millionths = scaled << shift;
        return true;
    }
    // Below 2^44 and shifted right by more than 45, it is less than one
    // half and rounds to 0; the shifts below then stay inside 64 bits.
    if (-shift > 45) {
        millionths = 0;
        return true;
    }
    const std::uint64_t dropped = scaled & ((std::uint64_t{1} << -shift) - 1);
    const std::uint64_t half = std::uint64_t{1} << (-shift - 1);
    millionths = scaled >> -shift;
    // The dropped bits are as good as random: rounding without a branch
    // saves a misprediction on every other number.
    millionths += (dropped > half) | ((dropped == half) & millionths);
    return true;
}

// "00" to "99": the fraction is written two digits at a time.
constexpr char digitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

char* writeDigitPair(char* out, unsigned pair) {
    std::memcpy(out, digitPairs + 2 * pair, 2);
    return out + 2;
}

// Writes the digits of a whole part below 100 at `out`, which has room for
// two characters; returns the end. Path data lies in a box from 0 to 100, so
// this is the usual case: a pair from the table, from its second digit when
// the number has only one (the second character written is then overwritten).
char* writeSmallWhole(char* out, unsigned whole) {
    const bool twoDigits = whole >= 10;
    std::memcpy(out, digitPairs + 2 * whole + !twoDigits, 2);
    return out + 1 + twoDigits;
}

// Writes the millionths as "%f" text at `out`; returns the end. Below 2^63
// the text takes at most 21 characters, well inside numberCapacity.
char* formatMillionths(char* out, bool negative, std::uint64_t millionths) {
    // Signs vary from number to number too: no branch either.
    *out = '-';
    out += negative;
    std::uint64_t whole = millionths / 1000000;
    const auto fraction = static_cast<unsigned>(millionths % 1000000);
    if (whole < 100) {
        out = writeSmallWhole(out, static_cast<unsigned>(whole));
    } else {
        char wholeDigits[20];
        int count = 0;
        do {
            wholeDigits[count++] = static_cast<char>('0' + whole % 10);
            whole /= 10;
        } while (whole != 0);
        while (count > 0) *out++ = wholeDigits[--count];
    }
    *out++ = '.';
    out = writeDigitPair(out, fraction / 10000);
    out = writeDigitPair(out, fraction / 100 % 100);
    return writeDigitPair(out, fraction % 100);
}

// Writes the "%f" text of `value` at `out`, which has room for numberCapacity
// characters; returns the end.
char* formatNumber(char* out, float value) {
    std::uint64_t millionths;
    if (roundedMillionths(value, millionths)) {
        return formatMillionths(out, std::signbit(value), millionths);
    }
    // Fixed notation with precision 6 gives the digits of printf's "%f" for
    // the large values too, without printf's cost.
    std::to_chars_result result = std::to_chars(
        out, out + numberCapacity, static_cast<double>(value), std::chars_format::fixed, 6);
    return result.ec == std::errc() ? result.ptr : out;
}


}  // namespace

void Format::number(std::string& text, float value) {
    char buffer[numberCapacity];
    text.append(buffer, formatNumber(buffer, value) - buffer);
}

bool Format::writable(std::initializer_list<float> values) {
    return std::all_of(values.begin(), values.end(), [](float v) { return std::isfinite(v); });
}

void Format::numbers(std::string& text, std::initializer_list<float> values) {
    // One append for a whole list of coordinates: the lists are short, and
    // the appends, not the digits, would dominate.
    char line[8 * numberCapacity];
    char* const lineEnd = line + sizeof line;
    char* next = line;
    bool first = true;
    for (float value : values) {
        if (lineEnd - next < static_cast<std::ptrdiff_t>(numberCapacity) + 1) {
            text.append(line, next - line);
            next = line;
        }
        if (!first) *next++ = ' ';
        next = formatNumber(next, value);
        first = false;
    }
    text.append(line, next - line);
}

void Format::integer(std::string& text, int value) {
    char buffer[integerCapacity];
    std::to_chars_result result = std::to_chars(buffer, buffer + integerCapacity, value);
    if (result.ec == std::errc()) text.append(buffer, result.ptr - buffer);
}

void Format::attribute(std::string& text, std::string_view value) {
    std::size_t runStart = 0;
    for (std::size_t i = 0; i < value.size(); ++i) {
        std::string_view escape = escapeOf(value[i]);
        if (escape.empty()) continue;
        text.append(value, runStart, i - runStart);
        text.append(escape);
        runStart = i + 1;
    }
    text.append(value, runStart);
}

void Format::characterData(std::string& text, std::string_view data) {
    // A section cannot hold its own terminator: each "]]>" is cut after "]]",
    // so the ">" opens the next section and a reader joins the text again.
    static constexpr std::string_view terminator = "]]>";
    text.append("<![CDATA[");
    std::size_t found;
    while ((found = data.find(terminator)) != std::string_view::npos) {
        text.append(data, 0, found + 2);
        text.append("]]><![CDATA[");
        data.remove_prefix(found + 2);
    }
    text.append(data);
    text.append(terminator);
}

}  // namespace Orvane
