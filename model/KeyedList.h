#pragma once
#include <string>
#include <unordered_set>
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
    // A position outside the list raises the invalid-argument error.
    bool Add(const std::string& value, const std::string& key);
    bool AddBefore(const std::string& value, const std::string& key, int position);
    bool AddAfter(const std::string& value, const std::string& key, int position);
    void Remove(int position);
    // Removes every entry whose mark (by position from 0) is set, in one pass; the others
    // keep their order.
    void Remove(const std::vector<bool>& marked);
    const std::vector<Entry>& Entries() const { return entries_; }

private:
    bool Insert(std::size_t at, const std::string& value, const std::string& key);
    void CheckPosition(int position) const;

    std::vector<Entry> entries_;
    std::unordered_set<std::string> folded_;  // upper-cased keys, for the lookups
};

}  // namespace kw
