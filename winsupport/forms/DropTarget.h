#pragma once
// The OLE drop target behind a control's OLEDragOver/OLEDragDrop (files as CF_HDROP).
#include <windows.h>
#include <ole2.h>

#include <string>
#include <vector>

namespace kw::forms {

class Control;

class DropTarget final : public IDropTarget {
public:
    explicit DropTarget(Control* control) : control_(control) {}
    // The control is going: later calls from OLE see no control and refuse the drop.
    void Detach() { control_ = nullptr; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL pt, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL pt, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL pt, DWORD* effect) override;

    // The file list of a data object; false when it holds none.
    static bool ReadFiles(IDataObject* data, std::vector<std::string>& files);

private:
    DWORD Decide(DWORD allowed);

    LONG refs_ = 1;
    Control* control_;
    bool hasFiles_ = false;
    std::vector<std::string> files_;
};

// OLE on the user-interface thread, started once before the first drop target.
bool EnsureOle();

}  // namespace kw::forms
