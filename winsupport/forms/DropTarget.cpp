#include "winsupport/forms/DropTarget.h"

#include <shellapi.h>
#include <shlobj.h>

#include "platform/WinText.h"
#include "winsupport/forms/Controls.h"
#include "winsupport/forms/Form.h"

namespace kw::forms {

bool EnsureOle()
{
    static bool started = false;
    if (!started)
        started = SUCCEEDED(OleInitialize(nullptr));
    return started;
}

HRESULT STDMETHODCALLTYPE DropTarget::QueryInterface(REFIID riid, void** object)
{
    if (!object)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDropTarget)) {
        *object = static_cast<IDropTarget*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE DropTarget::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }

ULONG STDMETHODCALLTYPE DropTarget::Release()
{
    LONG n = InterlockedDecrement(&refs_);
    if (n == 0)
        delete this;
    return static_cast<ULONG>(n);
}

// The names in one walk over the list: asking DragQueryFileW for the i-th name walks the
// list from its start each time, which makes a drop of thousands of files take seconds.
static bool ReadDropList(HGLOBAL global, std::vector<std::string>& files)
{
    const SIZE_T size = GlobalSize(global);
    const auto* bytes = static_cast<const BYTE*>(GlobalLock(global));
    if (!bytes)
        return false;
    bool ok = false;
    const auto* header = reinterpret_cast<const DROPFILES*>(bytes);
    if (size >= sizeof(DROPFILES) && header->pFiles >= sizeof(DROPFILES) && header->pFiles < size) {
        ok = true;
        if (header->fWide) {
            const auto* at = reinterpret_cast<const wchar_t*>(bytes + header->pFiles);
            const auto* end =
                reinterpret_cast<const wchar_t*>(bytes + header->pFiles + (size - header->pFiles) / 2 * 2);
            while (at < end && *at) {
                const wchar_t* start = at;
                while (at < end && *at)
                    ++at;
                files.push_back(Narrow(std::wstring_view(start, static_cast<size_t>(at - start))));
                ++at;
            }
        } else {
            const auto* at = reinterpret_cast<const char*>(bytes + header->pFiles);
            const auto* end = reinterpret_cast<const char*>(bytes + size);
            while (at < end && *at) {
                const char* start = at;
                while (at < end && *at)
                    ++at;
                const int n = static_cast<int>(at - start);
                std::wstring wide(static_cast<size_t>(MultiByteToWideChar(CP_ACP, 0, start, n, nullptr, 0)), L'\0');
                MultiByteToWideChar(CP_ACP, 0, start, n, wide.data(), static_cast<int>(wide.size()));
                files.push_back(Narrow(wide));
                ++at;
            }
        }
    }
    GlobalUnlock(global);
    return ok;
}

bool DropTarget::ReadFiles(IDataObject* data, std::vector<std::string>& files)
{
    files.clear();
    if (!data)
        return false;
    FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium{};
    if (FAILED(data->GetData(&format, &medium)))
        return false;
    const bool ok = medium.tymed == TYMED_HGLOBAL && medium.hGlobal && ReadDropList(medium.hGlobal, files);
    ReleaseStgMedium(&medium);
    return ok;
}

DWORD DropTarget::Decide(DWORD allowed)
{
    if (!control_)
        return DROPEFFECT_NONE;
    int effect = kDropEffectNone;
    if (control_->OLEDragOver)
        control_->OLEDragOver(hasFiles_ ? &files_ : nullptr, effect);
    else if (hasFiles_)
        effect = kDropEffectCopy;
    return static_cast<DWORD>(effect) & allowed;
}

// OLE calls come from the drag loop: nothing may escape back into it.
HRESULT STDMETHODCALLTYPE DropTarget::DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect)
{
    if (!effect)
        return E_INVALIDARG;
    try {
        hasFiles_ = ReadFiles(data, files_);
        *effect = Decide(*effect);
    } catch (const std::exception& e) {
        *effect = DROPEFFECT_NONE;
        ReportUnhandledError(&e);
    } catch (...) {
        *effect = DROPEFFECT_NONE;
        ReportUnhandledError(nullptr);
    }
    return S_OK;
}

HRESULT STDMETHODCALLTYPE DropTarget::DragOver(DWORD, POINTL, DWORD* effect)
{
    if (!effect)
        return E_INVALIDARG;
    try {
        *effect = Decide(*effect);
    } catch (const std::exception& e) {
        *effect = DROPEFFECT_NONE;
        ReportUnhandledError(&e);
    } catch (...) {
        *effect = DROPEFFECT_NONE;
        ReportUnhandledError(nullptr);
    }
    return S_OK;
}

HRESULT STDMETHODCALLTYPE DropTarget::DragLeave()
{
    hasFiles_ = false;
    files_.clear();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE DropTarget::Drop(IDataObject* data, DWORD, POINTL, DWORD* effect)
{
    if (!effect)
        return E_INVALIDARG;
    try {
        hasFiles_ = ReadFiles(data, files_);
        DWORD allowed = *effect;
        DWORD result = Decide(allowed);
        *effect = DROPEFFECT_NONE;  // until the handler has run without an error
        // Copies, so the handler may unload the form (and this target) safely.
        if (result != DROPEFFECT_NONE && hasFiles_ && control_ && control_->OLEDragDrop) {
            auto handler = control_->OLEDragDrop;
            std::vector<std::string> files = files_;
            int chosen = static_cast<int>(result);
            handler(files, chosen);
            result = static_cast<DWORD>(chosen) & allowed;
        }
        *effect = result;
    } catch (const std::exception& e) {
        *effect = DROPEFFECT_NONE;
        ReportUnhandledError(&e);
    } catch (...) {
        *effect = DROPEFFECT_NONE;
        ReportUnhandledError(nullptr);
    }
    hasFiles_ = false;
    files_.clear();
    return S_OK;
}

}  // namespace kw::forms
