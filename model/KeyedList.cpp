#include "KeyedList.h"

#include "platform/Platform.h"
#include "platform/RuntimeError.h"

namespace kw {

void KeyedList::CheckPosition(int position) const
{
    if (position < 1 || position > Count())
        throw RuntimeError(kErrInvalidArgument);
}

const std::string& KeyedList::Item(int position) const
{
    CheckPosition(position);
    return entries_[position - 1].value;
}

bool KeyedList::Contains(const std::string& key) const { return folded_.count(platform::UpperCase(key)) != 0; }

bool KeyedList::Insert(std::size_t at, const std::string& value, const std::string& key)
{
    if (!folded_.insert(platform::UpperCase(key)).second)
        return false;
    entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(at), Entry{key, value});
    return true;
}

bool KeyedList::Add(const std::string& value, const std::string& key) { return Insert(entries_.size(), value, key); }

bool KeyedList::AddBefore(const std::string& value, const std::string& key, int position)
{
    CheckPosition(position);
    return Insert(static_cast<std::size_t>(position - 1), value, key);
}

bool KeyedList::AddAfter(const std::string& value, const std::string& key, int position)
{
    CheckPosition(position);
    return Insert(static_cast<std::size_t>(position), value, key);
}

void KeyedList::Remove(int position)
{
    CheckPosition(position);
    auto it = entries_.begin() + (position - 1);
    folded_.erase(platform::UpperCase(it->key));
    entries_.erase(it);
}

void KeyedList::Remove(const std::vector<bool>& marked)
{
    std::size_t kept = 0;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (i < marked.size() && marked[i]) {
            folded_.erase(platform::UpperCase(entries_[i].key));
            continue;
        }
        if (kept != i)
            entries_[kept] = std::move(entries_[i]);
        ++kept;
    }
    entries_.resize(kept);
}

}  // namespace kw
