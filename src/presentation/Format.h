#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace Orvane {

// The single place where values reach the document as text, appended to the
// document's text as each drawable is written.
class Format {
public:
    // Appends `value` widened to double as printf's "%f" would: fixed point,
    // six decimals, a full stop.
    static void number(std::string& text, float value);

    // Whether `number` can write every one of the values: "nan" and "inf"
    // never reach the document, so drawables holding them are left out.
    static bool writable(std::initializer_list<float> values);

    // Appends the values with `number`, separated by single spaces.
    static void numbers(std::string& text, std::initializer_list<float> values);

    // Appends `value` as printf's "%d" would.
    static void integer(std::string& text, int value);

    // Appends text from the input as an attribute value: &, <, > and " escaped.
    static void attribute(std::string& text, std::string_view value);

    // Appends text as one or more CDATA sections, so that any "]]>" inside it
    // survives unchanged.
    static void characterData(std::string& text, std::string_view data);
};

}  // namespace Orvane
