#pragma once
#include <windows.h>

#include <utility>

namespace kw::forms {

// Owns one GDI object (a font or a brush); a stock or system object can be held unowned.
template <typename H>
class GdiHandle {
public:
    GdiHandle() = default;
    explicit GdiHandle(H h, bool owned = true) : h_(h), owned_(owned) {}
    ~GdiHandle() { Release(); }
    GdiHandle(const GdiHandle&) = delete;
    GdiHandle& operator=(const GdiHandle&) = delete;
    GdiHandle(GdiHandle&& o) noexcept : h_(std::exchange(o.h_, nullptr)), owned_(o.owned_) {}
    GdiHandle& operator=(GdiHandle&& o) noexcept
    {
        if (this != &o) {
            Release();
            h_ = std::exchange(o.h_, nullptr);
            owned_ = o.owned_;
        }
        return *this;
    }
    H get() const { return h_; }
    explicit operator bool() const { return h_ != nullptr; }

private:
    void Release()
    {
        if (h_ && owned_)
            DeleteObject(h_);
        h_ = nullptr;
    }
    H h_ = nullptr;
    bool owned_ = true;
};

using Font = GdiHandle<HFONT>;
using Brush = GdiHandle<HBRUSH>;

}  // namespace kw::forms
