#pragma once

#include <cstdio>
#include <initializer_list>
#include <string_view>

namespace Orvane {

// The single place where values reach the document as text.
class Format {
public:
    // Writes `value` widened to double as printf's "%f" would: fixed point,
    // six decimals, a full stop.
    static void number(FILE* file, float value);

    // Whether `number` can write every one of the values: "nan" and "inf"
    // never reach the document, so drawables holding them are left out.
    static bool writable(std::initializer_list<float> values);

    // Writes the values with `number`, separated by single spaces.
    static void numbers(FILE* file, std::initializer_list<float> values);

    // Writes `value` as printf's "%d" would.
    static void integer(FILE* file, int value);

    // Writes text from the input as an attribute value: &, <, > and " escaped.
    static void attribute(FILE* file, std::string_view text);

    // Writes text as one or more CDATA sections, so that any "]]>" inside it
    // survives unchanged.
    static void characterData(FILE* file, std::string_view text);
};

}  // namespace Orvane
