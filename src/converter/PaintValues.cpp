#include "converter/PaintValues.h"

#include <algorithm>

#include "converter/ValueScanner.h"

namespace Pictavo {

namespace {

// url(#id), url("#id") or url('#id'), white space allowed inside the
// parentheses. `id` is what follows '#', empty when the reference is not a
// fragment of this document.
bool readUrl(ValueScanner& scanner, std::string_view& id) {
    if (!scanner.keyword("url") || !scanner.character('(')) return false;
    scanner.skipSpace();
    std::string_view reference;
    const char quote = scanner.next();
    if (quote == '"' || quote == '\'') {
        scanner.character(quote);
        if (!scanner.upTo(quote, reference)) return false;
        scanner.character(quote);
    } else {
        if (!scanner.upTo(')', reference)) return false;
        while (!reference.empty() && isSpaceCharacter(reference.back())) reference.remove_suffix(1);
    }
    // Only a fragment of this document is read; another document's element
    // is never loaded.
    id = !reference.empty() && reference.front() == '#' ? reference.substr(1) : std::string_view();
    scanner.skipSpace();
    return scanner.character(')');
}

}  // namespace

std::optional<Paint> readPaint(std::string_view text) {
    ValueScanner scanner(text);
    Paint paint;
    scanner.skipSpace();
    if (scanner.keyword("none")) {
        scanner.skipSpace();
        return scanner.atEnd() ? std::optional<Paint>(paint) : std::nullopt;
    }
    if (!readUrl(scanner, paint.id)) {
        const std::optional<ColorValue> color = readColor(text);
        if (!color) return std::nullopt;
        paint.type = Paint::Color;
        paint.color = *color;
        return paint;
    }
    paint.type = Paint::Server;
    scanner.skipSpace();
    if (scanner.atEnd()) return paint;
    paint.hasFallback = true;
    if (scanner.keyword("none")) {
        paint.fallbackNone = true;
        scanner.skipSpace();
        return scanner.atEnd() ? std::optional<Paint>(paint) : std::nullopt;
    }
    const std::optional<ColorValue> fallback = readColor(scanner.rest());
    if (!fallback) return std::nullopt;
    paint.fallback = *fallback;
    return paint;
}

std::vector<float> readDashArray(std::string_view text, Axis axis, const LengthContext& context) {
    ValueScanner scanner(text);
    std::vector<float> dashes;
    scanner.skipSpace();
    float total = 0;
    while (!scanner.atEnd()) {
        Length length;
        if (!scanner.length(length) || isAngle(length.unit)) return {};
        const float dash = userUnits(length, axis, context);
        if (!(dash >= 0)) return {};
        dashes.push_back(dash);
        total += dash;
        scanner.skipCommaAndSpace();
    }
    if (!(total > 0)) return {};
    const std::size_t count = dashes.size();
    if (count % 2 == 1) {
        dashes.reserve(2 * count);
        for (std::size_t i = 0; i < count; ++i) dashes.push_back(dashes[i]);
    }
    return dashes;
}

std::optional<float> readOpacity(std::string_view text) {
    ValueScanner scanner(text);
    Length value;
    scanner.skipSpace();
    if (!scanner.length(value)) return std::nullopt;
    scanner.skipSpace();
    if (!scanner.atEnd() || (value.unit != Unit::None && value.unit != Unit::Percent))
        return std::nullopt;
    const float fraction = value.unit == Unit::Percent ? value.value / 100 : value.value;
    return std::clamp(fraction, 0.0f, 1.0f);
}

}  // namespace Pictavo
