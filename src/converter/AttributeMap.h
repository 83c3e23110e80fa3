#pragma once

#include <algorithm>
#include <cstddef>
#include <string_view>
#include <utility>
#include <vector>

namespace Pictavo {

// Attribute name (lowered) to value text. Neither names nor values are owned:
// they belong to the parsed document, to the converter's store of lowered
// names or to a Declarations object, all of which outlive the maps that
// point into them.
//
// Every element builds one and most are read a dozen times and then dropped,
// so the entries sit in one vector, sorted for binary search: a map is one
// allocation, and a copy one memcpy. Names are ordered by length first, which
// settles most comparisons without looking at a character; nothing depends on
// the order of the entries.
class AttributeMap {
public:
    using value_type = std::pair<std::string_view, const char*>;
    using const_iterator = std::vector<value_type>::const_iterator;

    const_iterator end() const { return entries.end(); }
    std::size_t size() const { return entries.size(); }
    void clear() { entries.clear(); }

    const_iterator find(std::string_view name) const {
        auto found = lowerBound(entries, name);
        return found != entries.end() && found->first == name ? found : entries.end();
    }

    std::size_t count(std::string_view name) const { return find(name) != end() ? 1 : 0; }

    void set(std::string_view name, const char* value) {
        auto found = lowerBound(entries, name);
        if (found != entries.end() && found->first == name)
            found->second = value;
        else
            entries.insert(found, value_type(name, value));
    }

    // Sets entries given in document order: where names repeat, the last one
    // given wins. A few are set one by one; many are sorted all at once, as
    // setting them one by one would cost the square of their number.
    void assign(const std::vector<value_type>& given) {
        const std::size_t fewEntries = 64;
        if (given.size() <= fewEntries) {
            entries.reserve(entries.size() + given.size());
            for (const value_type& entry : given) set(entry.first, entry.second);
            return;
        }
        std::vector<value_type> merged = std::move(entries);
        merged.insert(merged.end(), given.begin(), given.end());
        std::stable_sort(merged.begin(), merged.end(), [](const value_type& a, const value_type& b) {
            return isBefore(a.first, b.first);
        });
        entries.clear();
        for (std::size_t i = 0; i < merged.size(); ++i) {
            const bool replaced = i + 1 < merged.size() && merged[i + 1].first == merged[i].first;
            if (!replaced) entries.push_back(merged[i]);
        }
    }

    // The entries of `base`, then the given ones set over them as assign
    // sets them, in one allocation.
    void assign(const AttributeMap& base, const std::vector<value_type>& given) {
        entries.reserve(base.size() + given.size());
        entries.assign(base.entries.begin(), base.entries.end());
        assign(given);
    }

private:
    std::vector<value_type> entries;  // unique names, sorted by isBefore

    static bool isBefore(std::string_view a, std::string_view b) {
        return a.size() != b.size() ? a.size() < b.size() : a < b;
    }

    // The first entry not before `name`, in the map's own vector or a const one.
    template <typename Entries>
    static auto lowerBound(Entries& entries, std::string_view name) -> decltype(entries.begin()) {
        return std::lower_bound(entries.begin(), entries.end(), name,
                                [](const value_type& entry, std::string_view key) {
                                    return isBefore(entry.first, key);
                                });
    }
};

}  // namespace Pictavo
