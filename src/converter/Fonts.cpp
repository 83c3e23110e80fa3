#include "converter/Fonts.h"

#include "converter/Lengths.h"
#include "converter/ValueScanner.h"

namespace Pictavo {

namespace {

struct NamedSize {
    std::string_view keyword;
    float size;
};

// CSS's absolute size keywords in px, medium being the initial 16.
const NamedSize namedSizes[] = {
    {"xx-small", 9}, {"x-small", 10}, {"small", 13},    {"medium", 16},
    {"large", 18},   {"x-large", 24}, {"xx-large", 32}, {"xxx-large", 48},
};

// The step of CSS's relative size keywords.
const float sizeStep = 1.2f;

// Weights from 600 on are drawn with the bold face where a family has only
// a regular and a bold one.
const float boldestRegularWeight = 599;

struct GenericFamily {
    std::string_view generic;
    std::string_view presented;
};

const GenericFamily genericFamilies[] = {
    {"serif", "Times"}, {"sans-serif", "Helvetica"}, {"monospace", "Courier"}};

bool sizeKeyword(ValueScanner& scanner, float parentSize, float& size) {
    for (const NamedSize& named : namedSizes) {
        if (scanner.keyword(named.keyword)) {
            size = named.size;
            return true;
        }
    }
    if (scanner.keyword("larger")) {
        size = parentSize * sizeStep;
        return true;
    }
    if (scanner.keyword("smaller")) {
        size = parentSize / sizeStep;
        return true;
    }
    return false;
}

// A size keyword or a non-negative length; per cent of the parent's size.
bool fontSize(ValueScanner& scanner, float parentSize, float& size) {
    if (sizeKeyword(scanner, parentSize, size)) return true;
    Length length;
    ValueScanner ahead = scanner;
    if (!ahead.length(length) || length.value < 0 || isAngle(length.unit)) return false;
    LengthContext context;
    context.fontSize = parentSize;
    size = length.unit == Unit::Percent ? length.value / 100 * parentSize
                                        : userUnits(length, Axis::Vertical, context);
    scanner = ahead;
    return true;
}

// bolder and lighter step from the parent's weight, and with two faces that
// step always lands on bold and on regular.
bool fontWeight(ValueScanner& scanner, bool& bold) {
    float weight = 0;
    ValueScanner ahead = scanner;
    if (ahead.number(weight)) {
        if (weight < 1 || weight > 1000 || !(ahead.atEnd() || isSpaceCharacter(ahead.next())))
            return false;
        bold = weight > boldestRegularWeight;
    } else if (ahead.keyword("normal") || ahead.keyword("lighter")) {
        bold = false;
    } else if (ahead.keyword("bold") || ahead.keyword("bolder")) {
        bold = true;
    } else {
        return false;
    }
    scanner = ahead;
    return true;
}

bool fontStyle(ValueScanner& scanner, bool& italic) {
    if (scanner.keyword("normal")) {
        italic = false;
        return true;
    }
    if (scanner.keyword("italic") || scanner.keyword("oblique")) {
        italic = true;
        return true;
    }
    return false;
}

bool wholeValue(ValueScanner& scanner) {
    scanner.skipSpace();
    return scanner.atEnd();
}

// A property value that one of the shorthand's part readers reads whole.
template <typename Value, typename ReadPart>
std::optional<Value> wholePart(std::string_view text, ReadPart readPart) {
    ValueScanner scanner(text);
    scanner.skipSpace();
    Value value{};
    if (!readPart(scanner, value) || !wholeValue(scanner)) return std::nullopt;
    return value;
}

}  // namespace

std::string presentedFontFamily(std::string_view list) {
    ValueScanner scanner(list);
    scanner.skipSpace();
    std::string_view quoted;
    if (scanner.quoted(quoted)) return std::string(trimmed(quoted));
    std::string family;
    std::string_view word;
    while (scanner.identifier(word)) {
        if (!family.empty()) family += ' ';
        family += word;
        scanner.skipSpace();
    }
    // Anything but a comma after the names makes the list invalid.
    if (!scanner.atEnd() && scanner.next() != ',') return std::string();
    for (const GenericFamily& generic : genericFamilies) {
        if (equalsLowered(family, generic.generic)) return std::string(generic.presented);
    }
    return family;
}

std::optional<float> readFontSize(std::string_view text, float parentSize) {
    return wholePart<float>(text, [parentSize](ValueScanner& scanner, float& size) {
        return fontSize(scanner, parentSize, size);
    });
}

std::optional<bool> readFontWeightBold(std::string_view text) { return wholePart<bool>(text, fontWeight); }

std::optional<bool> readFontStyleItalic(std::string_view text) { return wholePart<bool>(text, fontStyle); }

std::optional<TextAnchor> readTextAnchor(std::string_view text) {
    ValueScanner scanner(text);
    scanner.skipSpace();
    std::optional<TextAnchor> anchor;
    if (scanner.keyword("start"))
        anchor = TextAnchor::Start;
    else if (scanner.keyword("middle"))
        anchor = TextAnchor::Middle;
    else if (scanner.keyword("end"))
        anchor = TextAnchor::End;
    if (!wholeValue(scanner)) return std::nullopt;
    return anchor;
}

std::optional<FontShorthand> readFontShorthand(std::string_view text, float parentSize) {
    static const std::string_view variantsAndStretches[] = {
        "small-caps",     "ultra-condensed", "extra-condensed", "condensed",      "semi-condensed",
        "semi-expanded", "expanded",         "extra-expanded",  "ultra-expanded",
    };
    ValueScanner scanner(text);
    FontShorthand font;
    scanner.skipSpace();
    // Up to four of style, variant, weight and stretch come before the size;
    // "normal" may stand for any of them.
    for (int part = 0; part < 4; ++part) {
        bool known = fontStyle(scanner, font.italic) || fontWeight(scanner, font.bold);
        for (std::string_view keyword : variantsAndStretches) known = known || scanner.keyword(keyword);
        if (!known) break;
        scanner.skipSpace();
    }
    if (!fontSize(scanner, parentSize, font.size)) return std::nullopt;
    scanner.skipSpace();
    if (scanner.character('/')) {
        scanner.skipSpace();
        Length lineHeight;
        if (!scanner.keyword("normal") && !scanner.length(lineHeight)) return std::nullopt;
        scanner.skipSpace();
    }
    font.family = trimmed(scanner.rest());
    if (font.family.empty()) return std::nullopt;
    return font;
}

}  // namespace Pictavo
