#include "presentation/Format.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace Orvane {

namespace {

// The longest "%f" text of a float: the sign, the 39 digits of FLT_MAX, the
// full stop and six decimals.
constexpr std::size_t numberCapacity = 64;

// An int in decimal: sign and ten digits.
constexpr std::size_t integerCapacity = 16;

void writeText(FILE* file, std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), file);
}

std::string_view escapeOf(char c) {
    switch (c) {
        case '&': return "&amp;";
        case '<': return "&lt;";
        case '>': return "&gt;";
        case '"': return "&quot;";
        default: return {};
    }
}

}  // namespace

void Format::number(FILE* file, float value) {
    char buffer[numberCapacity];
    // Fixed notation with precision 6 gives the digits of printf's "%f",
    // correctly rounded from the exact binary value, without printf's cost.
    std::to_chars_result result = std::to_chars(
        buffer, buffer + numberCapacity, static_cast<double>(value), std::chars_format::fixed, 6);
    if (result.ec == std::errc()) std::fwrite(buffer, 1, result.ptr - buffer, file);
}

bool Format::writable(std::initializer_list<float> values) {
    return std::all_of(values.begin(), values.end(), [](float v) { return std::isfinite(v); });
}

void Format::numbers(FILE* file, std::initializer_list<float> values) {
    bool first = true;
    for (float value : values) {
        if (!first) std::fputc(' ', file);
        number(file, value);
        first = false;
    }
}

void Format::integer(FILE* file, int value) {
    char buffer[integerCapacity];
    std::to_chars_result result = std::to_chars(buffer, buffer + integerCapacity, value);
    if (result.ec == std::errc()) std::fwrite(buffer, 1, result.ptr - buffer, file);
}

void Format::attribute(FILE* file, std::string_view text) {
    std::size_t runStart = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::string_view escape = escapeOf(text[i]);
        if (escape.empty()) continue;
        writeText(file, text.substr(runStart, i - runStart));
        writeText(file, escape);
        runStart = i + 1;
    }
    writeText(file, text.substr(runStart));
}

void Format::characterData(FILE* file, std::string_view text) {
    // A section cannot hold its own terminator: each "]]>" is cut after "]]",
    // so the ">" opens the next section and a reader joins the text again.
    static constexpr std::string_view terminator = "]]>";
    writeText(file, "<![CDATA[");
    std::size_t found;
    while ((found = text.find(terminator)) != std::string_view::npos) {
        writeText(file, text.substr(0, found + 2));
        writeText(file, "]]><![CDATA[");
        text.remove_prefix(found + 2);
    }
    writeText(file, text);
    writeText(file, terminator);
}

}  // namespace Orvane
