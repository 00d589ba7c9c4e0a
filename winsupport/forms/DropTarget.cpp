#include "winsupport/forms/DropTarget.h"

#include <shellapi.h>

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

bool DropTarget::ReadFiles(IDataObject* data, std::vector<std::string>& files)
{
    files.clear();
    if (!data)
        return false;
    FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium{};
    if (FAILED(data->GetData(&format, &medium)))
        return false;
    bool ok = false;
    if (medium.tymed == TYMED_HGLOBAL && medium.hGlobal) {
        HDROP drop = static_cast<HDROP>(medium.hGlobal);
        UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
        for (UINT i = 0; i < count; ++i) {
            UINT length = DragQueryFileW(drop, i, nullptr, 0);
            std::wstring path(length + 1, L'\0');
            path.resize(DragQueryFileW(drop, i, path.data(), length + 1));
            files.push_back(Narrow(path));
        }
        ok = true;
    }
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
