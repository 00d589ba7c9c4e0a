#pragma once
#include <string>

namespace kw {

// What the model needs of a list box or combo box it fills or reads. Items count from 0.
class StringList {
public:
    virtual ~StringList() = default;
    virtual void Clear() = 0;
    virtual void AddItem(const std::string& text) = 0;
    virtual int ListCount() const = 0;
    virtual std::string List(int index) const = 0;
    // Selects an item; raises the control's Click exactly as a user's choice would.
    virtual void ListIndex(int index) = 0;
};

}  // namespace kw
