#pragma once
#include <string>
#include <vector>

namespace kw {

// An ordered list of texts, each with a unique key (compared case-insensitively).
// Positions count from 1.
class KeyedList {
public:
    struct Entry {
        std::string key;
        std::string value;
    };

    int Count() const { return static_cast<int>(entries_.size()); }
    // The entry at a position from 1 to Count(); raises the invalid-argument error otherwise.
    const std::string& Item(int position) const;
    bool Contains(const std::string& key) const;
    // Adds at the end, or before/after a position (1..Count()); false when the key exists.
    bool Add(const std::string& value, const std::string& key);
    bool AddBefore(const std::string& value, const std::string& key, int position);
    bool AddAfter(const std::string& value, const std::string& key, int position);
    void Remove(int position);
    const std::vector<Entry>& Entries() const { return entries_; }

private:
    std::vector<Entry> entries_;
};

}  // namespace kw
