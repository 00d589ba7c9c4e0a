// The File menu: documents (description files, and plugin folders read back), whether they
// hold unsaved changes, the caption that says so, and documents handed over by a second
// start or dropped on the window.
#include "app/frmMain.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>

#include <utility>

#include "app/modMain.h"
#include "document/DescriptionFile.h"
#include "document/PluginDocument.h"
#include "document/PluginReader.h"
#include "platform/WinText.h"
#include "winsupport/VersionInfo.h"
#include "winsupport/clsGetOpenFile.h"

namespace kw {

namespace {

constexpr const char* kUntitled = "Untitled";
// Posted after anything that may have changed the document: the caption is brought up to
// date once the handlers are done.
constexpr UINT kCheckChange = WM_APP + 17;
// Posted when a path was handed over: it is opened outside the sender's call.
constexpr UINT kOpenHandedOver = WM_APP + 18;

std::string WithoutBackslash(std::string path)
{
    while (path.size() > 3 && path.back() == '\\')
        path.pop_back();
    return path;
}

std::string NameOf(const std::string& path)
{
    const std::string whole = WithoutBackslash(path);
    const size_t slash = whole.rfind('\\');
    return slash == std::string::npos ? whole : whole.substr(slash + 1);
}

// The folder part with its "\", as description files take it.
std::string FolderPart(const std::string& path)
{
    const size_t slash = path.rfind('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool IsInfPath(const std::string& path)
{
    return path.size() >= 4 && platform::CompareText(path.substr(path.size() - 4), ".inf") == 0;
}

bool IsFolder(const std::string& path)
{
    const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::string FullPath(const std::string& path)
{
    const std::wstring wide = Widen(path);
    const DWORD needed = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (needed == 0)
        return path;
    std::wstring full(needed, L'\0');
    const DWORD got = GetFullPathNameW(wide.c_str(), needed, full.data(), nullptr);
    if (got == 0 || got >= needed)
        return path;
    full.resize(got);
    return Narrow(full);
}

std::string Lines(const std::vector<std::string>& items)
{
    std::string text;
    for (const std::string& item : items)
        text += "\r\n" + item;
    return text;
}

// The platform's save dialog; empty when the user cancelled.
std::string PickSaveFile(HWND owner, const std::string& folder, const std::string& name)
{
    std::wstring buffer = Widen(name);
    buffer.resize(std::max<size_t>(buffer.size() + 1, 32768), L'\0');
    const std::wstring initial = Widen(folder);
    const wchar_t filter[] = L"Kitwright Descriptions (*.kwp)\0*.kwp\0All Files (*.*)\0*.*\0";
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = static_cast<DWORD>(buffer.size());
    ofn.lpstrInitialDir = initial.empty() ? nullptr : initial.c_str();
    ofn.lpstrTitle = L"Save Description As";
    ofn.lpstrDefExt = L"kwp";
    ofn.Flags = OFN_EXPLORER | OFN_LONGNAMES | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY |
                OFN_NOREADONLYRETURN;
    if (!GetSaveFileNameW(&ofn))
        return {};
    return Narrow(buffer.c_str());
}

}  // namespace

// ---- Wiring -----------------------------------------------------------------------------

void frmMain::WireFile()
{
    mnuFileSeparator.Tag("nodisable");
    mnuFile_New.Click = [this] { mnuFile_New_Click(); };
    mnuFile_Open.Click = [this] { mnuFile_Open_Click(); };
    mnuFile_Save.Click = [this] { mnuFile_Save_Click(); };
    mnuFile_SaveAs.Click = [this] { mnuFile_SaveAs_Click(); };
    mnuFile_Exit.Click = [this] { mnuFile_Exit_Click(); };
    // Whatever a handler does may change the document, whether the user or the code raised
    // it: the caption is checked once the handlers are done.
    auto after = [this](std::function<void()>& handler) {
        if (handler)
            handler = [this, inner = std::move(handler)] {
                inner();
                NoteChange();
            };
    };
    for (forms::Control* c : Controls()) {
        switch (c->Kind()) {
        case forms::ControlKind::TextBox: after(static_cast<forms::TextBox*>(c)->Change); break;
        case forms::ControlKind::ComboBox:
            after(static_cast<forms::ComboBox*>(c)->Change);
            after(static_cast<forms::ComboBox*>(c)->Click);
            break;
        case forms::ControlKind::CheckBox: after(static_cast<forms::CheckBox*>(c)->Click); break;
        case forms::ControlKind::OptionButton: after(static_cast<forms::OptionButton*>(c)->Click); break;
        case forms::ControlKind::CommandButton: after(static_cast<forms::CommandButton*>(c)->Click); break;
        default: break;
        }
        if (c->OLEDragDrop)
            c->OLEDragDrop = [this, inner = std::move(c->OLEDragDrop)](const std::vector<std::string>& files,
                                                                       int& effect) {
                inner(files, effect);
                NoteChange();
            };
    }
}

bool frmMain::FileMenuKey(int& keyCode, int shift)
{
    if (shift != forms::kCtrlMask || !mnuFile.Enabled())
        return false;
    switch (keyCode) {
    case 'N':
        keyCode = 0;
        mnuFile_New_Click();
        return true;
    case 'O':
        keyCode = 0;
        mnuFile_Open_Click();
        return true;
    case 'S':
        keyCode = 0;
        mnuFile_Save_Click();
        return true;
    default: return false;
    }
}

bool frmMain::WindowMessage(UINT msg, WPARAM wParam, LPARAM lParam, INT_PTR& result)
{
    switch (msg) {
    case kCheckChange:
        changeCheckPending_ = false;
        if (oKW_)
            UpdateCaption();
        return true;
    case kOpenHandedOver: {
        const std::string path = std::exchange(handedOver_, {});
        if (!path.empty() && oKW_ && !creating_ && IsWindowEnabled(hWnd()))
            OpenDocument(path);
        return true;
    }
    case WM_COPYDATA: {
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        if (!data || data->dwData != kOpenDocumentData || !data->lpData)
            return false;
        handedOver_ =
            Narrow(std::wstring_view(static_cast<const wchar_t*>(data->lpData), data->cbData / sizeof(wchar_t)));
        while (!handedOver_.empty() && handedOver_.back() == '\0')
            handedOver_.pop_back();
        PostMessageW(hWnd(), kOpenHandedOver, 0, 0);
        SetWindowLongPtrW(hWnd(), DWLP_MSGRESULT, TRUE);
        result = TRUE;
        return true;
    }
    case WM_DROPFILES: {
        auto drop = reinterpret_cast<HDROP>(wParam);
        std::string path;
        if (DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0) > 0) {
            const UINT length = DragQueryFileW(drop, 0, nullptr, 0);
            std::wstring name(length + 1, L'\0');
            DragQueryFileW(drop, 0, name.data(), length + 1);
            name.resize(length);
            path = Narrow(name);
        }
        DragFinish(drop);
        if (!path.empty() && oKW_ && !creating_ && IsWindowEnabled(hWnd()))
            OpenDocument(path);
        result = 0;
        return true;
    }
    case WM_COMMAND:
        if (lParam == 0 && LOWORD(wParam) >= IDM_FILE_RECENT && LOWORD(wParam) < IDM_FILE_RECENT + kRecentFiles) {
            mnuFile_Recent_Click(LOWORD(wParam) - IDM_FILE_RECENT);
            return true;
        }
        NoteChange();
        return false;
    case WM_CLOSE:
        // The close box and Alt+F4; while Create runs, closing is refused further on.
        if (!creating_ && oKW_ && !ConfirmDiscard()) {
            result = TRUE;
            return true;
        }
        return false;
    case WM_QUERYENDSESSION:
        // Windows is shutting down or the user logs off: unsaved work is asked about first.
        if (oKW_ && (creating_ || !ConfirmDiscard())) {
            SetWindowLongPtrW(hWnd(), DWLP_MSGRESULT, FALSE);
            result = TRUE;
            return true;
        }
        return false;
    default: return false;
    }
}

// ---- Unsaved changes and the caption ------------------------------------------------------

std::string frmMain::PluginsFolder()
{
    return documentPluginsFolder_.empty() ? oKW().PluginLocation() : documentPluginsFolder_;
}

std::string frmMain::DocumentBytes()
{
    if (!oKW_)
        return savedBytes_;
    // A plugin read back has no description file yet: its paths stay whole.
    const std::string folder = documentPath_.empty() || documentIsPlugin_ ? std::string() : FolderPart(documentPath_);
    return FormatDescription(DocumentFromModel(*oKW_), folder);
}

bool frmMain::Unsaved() { return DocumentBytes() != savedBytes_; }

void frmMain::MarkSaved()
{
    savedBytes_ = DocumentBytes();
    UpdateCaption();
}

void frmMain::NoteChange()
{
    if (changeCheckPending_ || !hWnd())
        return;
    changeCheckPending_ = PostMessageW(hWnd(), kCheckChange, 0, 0) != FALSE;
}

std::string frmMain::DocumentName(bool whole) const
{
    if (documentPath_.empty())
        return kUntitled;
    return whole ? documentPath_ : NameOf(documentPath_);
}

// "Tool.kwp* - Kitwright v4.1.2"; without a document file or folder, the title alone (the
// unsaved changes are still asked about).
void frmMain::UpdateCaption()
{
    const std::string title = AppTitleWithVersion();
    const std::string caption =
        documentPath_.empty() ? title : DocumentName(false) + (Unsaved() ? "*" : "") + " - " + title;
    if (Caption() != caption)
        Caption(caption);
}

bool frmMain::ConfirmDiscard()
{
    if (!oKW_ || !Unsaved())
        return true;
    const int answer =
        platform::ShowMessage(reinterpret_cast<NativeHandle>(hWnd()), "Save changes to " + DocumentName(true) + "?",
                              kAppTitle, MB_YESNOCANCEL | platform::kMbIconWarning);
    if (answer == platform::kIdYes)
        return SaveDocument(false);
    return answer == platform::kIdNo;
}

// ---- Menu commands ----------------------------------------------------------------------

void frmMain::mnuFile_New_Click() { cmdReset_Click(); }

void frmMain::mnuFile_Open_Click()
{
    if (creating_ || !ConfirmDiscard())
        return;
    auto oGetOpenFile = std::make_unique<clsGetOpenFile>();
    oGetOpenFile->BufferSize(32768);
    oGetOpenFile->DialogTitle("Open Description or Plugin");
    oGetOpenFile->Filter(
        "Descriptions and Plugins (*.kwp;*.inf)|*.kwp;*.inf|Kitwright Descriptions (*.kwp)|*.kwp|"
        "Plugin INF Files (*.inf)|*.inf|All Files (*.*)|*.*");
    oGetOpenFile->FilterIndex(1);
    oGetOpenFile->HideReadOnly(true);
    oGetOpenFile->MultiSelect(false);
    oGetOpenFile->Parent(hWnd());
    if (!documentPath_.empty())
        oGetOpenFile->InitDir(documentIsPlugin_ ? documentPluginsFolder_ : FolderPart(documentPath_));
    if (!oGetOpenFile->ShowOpen())
        return;
    LoadDocument(oGetOpenFile->FileName());
}

bool frmMain::OpenDocument(const std::string& path)
{
    if (creating_ || !ConfirmDiscard())
        return false;
    return LoadDocument(path);
}

void frmMain::mnuFile_Save_Click() { SaveDocument(false); }

void frmMain::mnuFile_SaveAs_Click() { SaveDocument(true); }

void frmMain::mnuFile_Exit_Click() { cmdExit_Click(); }

// ---- Saving and opening -----------------------------------------------------------------

bool frmMain::SaveDocument(bool askForName)
{
    if (!oKW_)
        return false;
    std::string path = documentIsPlugin_ ? std::string() : documentPath_;
    if (askForName || path.empty()) {
        const std::string folder = documentPath_.empty() ? std::string()
                                   : documentIsPlugin_   ? documentPluginsFolder_
                                                         : FolderPart(documentPath_);
        std::string name = documentIsPlugin_ || documentPath_.empty() ? oKW().PluginName() : NameOf(documentPath_);
        if (name.empty())
            name = kUntitled;
        if (!name.ends_with(kDescriptionExtension))
            name += kDescriptionExtension;
        path = PickSaveFile(hWnd(), folder, clsKitwright::IsValidFileName(name) ? name : std::string());
        if (path.empty())
            return false;
    }
    const DescriptionSaving saved = SaveDescription(DocumentFromModel(oKW()), path);
    if (saved.code != 0) {
        Warn(hWnd(), saved.message);
        return false;
    }
    documentPath_ = path;
    documentIsPlugin_ = false;
    MarkSaved();
    AddRecentFile(path);
    return true;
}

bool frmMain::LoadDocument(const std::string& given)
{
    const std::string path = WithoutBackslash(FullPath(given));
    const bool plugin = IsInfPath(path) || IsFolder(path);
    PluginDocument doc;
    std::vector<std::string> notes;
    std::string pluginFolder, pluginsFolder;
    if (plugin) {
        PluginReading reading = ReadPlugin(path, oKW());
        if (!reading.found) {
            std::string text = "No plugin could be opened from " + path + ".";
            if (!reading.unread.empty())
                text += Lines(reading.unread);
            Warn(hWnd(), text);
            return false;
        }
        doc = std::move(reading.document);
        notes = std::move(reading.unread);
        pluginFolder = WithoutBackslash(reading.pluginFolder);
        pluginsFolder = reading.pluginsFolder;
    } else {
        DescriptionReading reading = LoadDescription(path);
        if (!reading.ok) {
            Warn(hWnd(), reading.message);
            return false;
        }
        doc = std::move(reading.document);
    }

    const std::vector<std::string> refused = ShowDocument(doc);
    notes.insert(notes.end(), refused.begin(), refused.end());
    documentPath_ = plugin ? pluginFolder : path;
    documentIsPlugin_ = plugin;
    documentPluginsFolder_ = pluginsFolder;
    RefreshControls();
    MarkSaved();
    AddRecentFile(documentPath_);
    if (!notes.empty())
        Warn(hWnd(), "Not everything in " + documentPath_ + " could be opened:" + Lines(notes));
    return true;
}

std::vector<std::string> frmMain::ShowDocument(const PluginDocument& doc)
{
    ClearPages();
    // The pages through their own handlers, as typing and clicking would set them...
    txtPluginName.Text(doc.PluginName);
    txtProgramName.Text(doc.ProgramName);
    txtProgramWebsite.Text(doc.ProgramWebsite);
    txtDescription.Text(doc.Description);
    chkIncAuthor.Value(doc.IncAuthor != 0 ? forms::kChecked : forms::kUnchecked);
    optCopyOption[doc.CopyOption == coFolderTree ? 1 : 0].Value(true);
    if (doc.CopyOption == coIndividualFiles)
        cboProgramFilesDestination.ListIndex(doc.ProgramFilesDest == dstSystem32 ? 1 : 0);
    cboSystemFilesDestination.ListIndex(doc.SystemFilesDest == dstWindows ? 0 : 1);
    chkIncZel.Value(doc.IncZelMenu != 0 ? forms::kChecked : forms::kUnchecked);
    chkIncJuxMenu.Value(doc.IncJuxMenu != 0 ? forms::kChecked : forms::kUnchecked);
    cboMenuGroup.Text(doc.MenuGroup);
    chkAppendMenuGroup.Value(doc.IncSubGroup ? forms::kChecked : forms::kUnchecked);
    // ...then the model takes the whole document: the lists and the slots, and whatever a
    // handler above set its own way.
    std::vector<std::string> refused = ApplyDocument(doc, oKW());
    SelectSlot(0);
    oKW().CurrentExecutable(0);
    if (doc.CopyOption == coFolderTree) {
        lstProgramFiles.Clear();
        if (!doc.ProgramFolder.empty())
            lstProgramFiles.AddItem(CompactPath(WithoutBackslash(doc.ProgramFolder), lstProgramFiles, *this));
        cmdGetProgramFiles.Caption("Select Program Folder... ");
    } else {
        FillProgramFileList();
        cmdGetProgramFiles.Caption("Select Program Files...");
    }
    FillSystemFileList();
    RefreshControls();
    UpdateControlStates();
    return refused;
}

void frmMain::CloseDocument()
{
    documentPath_.clear();
    documentIsPlugin_ = false;
    documentPluginsFolder_.clear();
    RefreshControls();
    MarkSaved();
}

}  // namespace kw
