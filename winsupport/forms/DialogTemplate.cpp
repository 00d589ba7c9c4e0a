#include "winsupport/forms/DialogTemplate.h"

#include <cstdint>
#include <cstring>

namespace kw::forms {

namespace {

// Reads the template's words with bounds checks: a damaged resource yields false, not a crash.
class Reader {
public:
    Reader(const std::uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool ok() const { return ok_; }
    WORD Word()
    {
        WORD w = 0;
        Copy(&w, sizeof(w));
        return w;
    }
    DWORD Dword()
    {
        DWORD d = 0;
        Copy(&d, sizeof(d));
        return d;
    }
    void Skip(size_t n)
    {
        if (at_ + n > size_)
            ok_ = false;
        else
            at_ += n;
    }
    void AlignDword() { Skip((4 - at_ % 4) % 4); }
    // A string, or a resource number (0xFFFF then the number), or nothing (a single 0).
    std::wstring StringOrOrdinal()
    {
        WORD first = Word();
        if (first == 0xFFFF) {
            Word();
            return {};
        }
        std::wstring s;
        for (WORD w = first; ok_ && w; w = Word())
            s.push_back(static_cast<wchar_t>(w));
        return s;
    }

private:
    void Copy(void* to, size_t n)
    {
        if (!ok_ || at_ + n > size_) {
            ok_ = false;
            return;
        }
        std::memcpy(to, data_ + at_, n);
        at_ += n;
    }
    const std::uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
    bool ok_ = true;
};

}  // namespace

bool ReadDialogTemplate(HINSTANCE module, int templateId, DialogTemplate& out)
{
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(templateId), MAKEINTRESOURCEW(5));  // RT_DIALOG
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const auto* data = loaded ? static_cast<const std::uint8_t*>(LockResource(loaded)) : nullptr;
    if (!data)
        return false;
    Reader r(data, SizeofResource(module, found));
    if (r.Word() != 1 || r.Word() != 0xFFFF)
        return false;  // not DIALOGEX
    r.Dword();         // help id
    r.Dword();         // extended style
    out.style = r.Dword();
    const WORD count = r.Word();
    r.Skip(4 * sizeof(short));
    r.StringOrOrdinal();  // menu
    r.StringOrOrdinal();  // class
    r.StringOrOrdinal();  // caption
    out.fontFace.clear();
    if (out.style & (DS_SETFONT | DS_SHELLFONT)) {
        out.fontPoints = r.Word();
        out.fontWeight = r.Word();
        r.Skip(2);  // italic, character set
        out.fontFace = r.StringOrOrdinal();
    }
    out.items.clear();
    int group = 0;
    for (WORD i = 0; i < count && r.ok(); ++i) {
        r.AlignDword();
        TemplateItem item;
        r.Dword();  // help id
        item.exStyle = r.Dword();
        item.style = r.Dword();
        r.Skip(4 * sizeof(short));
        item.id = static_cast<int>(r.Dword());
        r.StringOrOrdinal();  // class
        item.text = r.StringOrOrdinal();
        r.Skip(r.Word());  // creation data
        if (i > 0 && (item.style & WS_GROUP))
            ++group;
        item.group = group;
        out.items.push_back(std::move(item));
    }
    return r.ok();
}

}  // namespace kw::forms
