#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace Pictavo {

// What a conversion could not carry into the slide, or carried only
// approximately, counted by kind, so that the user learns of it without
// opening the slide.
class Report {
public:
    // A kind of content, named as the report's lines name it: "1 filter",
    // "3 clip paths".
    struct Kind {
        const char* singular;
        const char* plural;
    };

    struct Entry {
        Kind kind;
        std::size_t count;
    };

    void notCarried(const Kind& kind, std::size_t count = 1) { countIn(dropped, kind, count); }
    void approximated(const Kind& kind, std::size_t count = 1) { countIn(approximations, kind, count); }

    // The kinds in the order they were first met.
    const std::vector<Entry>& notCarriedEntries() const { return dropped; }
    const std::vector<Entry>& approximatedEntries() const { return approximations; }

    // "2 images, 1 filter", or "" when the list is empty.
    static std::string text(const std::vector<Entry>& entries) {
        std::string line;
        for (const Entry& entry : entries) {
            if (!line.empty()) line += ", ";
            line += std::to_string(entry.count) + " ";
            line += entry.count == 1 ? entry.kind.singular : entry.kind.plural;
        }
        return line;
    }

private:
    std::vector<Entry> dropped;
    std::vector<Entry> approximations;

    static void countIn(std::vector<Entry>& entries, const Kind& kind, std::size_t count) {
        for (Entry& entry : entries) {
            if (std::string_view(entry.kind.singular) == kind.singular) {
                entry.count += count;
                return;
            }
        }
        entries.push_back(Entry{kind, count});
    }
};

}  // namespace Pictavo
