// The main window's frame: building it, the messages it hooks, activation and closing,
// the menus, and the window-wide routines the pages share.
#include "app/frmMain.h"

#include <commctrl.h>

#include "app/modMain.h"
#include "dialogs/frmAbout.h"
#include "dialogs/frmAuthor.h"
#include "dialogs/frmMenu.h"
#include "dialogs/frmOptions.h"
#include "platform/RuntimeError.h"
#include "platform/WinText.h"
#include "winsupport/Dpi.h"
#include "winsupport/VersionInfo.h"
#include "winsupport/clsBrowse.h"

namespace kw {

namespace {

constexpr const char* kFontName = "MS Shell Dlg";
constexpr int kFontSize = 8;

constexpr const char* kTabCaptions[] = {"Information", "Program Files", "System Files", "Executables"};
constexpr const char* kGroupCaptions[] = {"Plugin and Program Information", "Program Files", "System Files",
                                          "Main Executables", "Shortcuts"};
// The page each group box lies on.
constexpr int kGroupPage[] = {0, 1, 2, 3, 3};

// Steps that may fail without stopping the routine they belong to.
template <typename F>
void IgnoringErrors(F&& step)
{
    try {
        step();
    } catch (...) {
    }
}

std::string LoadResourceString(UINT id)
{
    const wchar_t* text = nullptr;
    int length = LoadStringW(GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || !text)
        throw RuntimeError(kErrInvalidArgument, "The string resource is missing", "LoadResString");
    return Narrow(std::wstring_view(text, static_cast<size_t>(length)));
}

}  // namespace

frmMain::frmMain() : Form(IDD_MAIN)
{
    for (auto& icon : imgIcon)
        icon.Tag("notheme");
    cmdCreatePlugin.Tag("notheme");
    cmdReset.Tag("notheme");
    cmdExit.Tag("notheme");
    mnuSettingsSeparator.Tag("nodisable");
    mnuHelp_Separator.Tag("nodisable");
    // Files dragged from the shell onto the two lists and the executable box.
    lstProgramFiles.OLEDropMode(forms::kOleDropManual);
    lstSystemFiles.OLEDropMode(forms::kOleDropManual);
    txtExecutable.OLEDropMode(forms::kOleDropManual);
    // The first page is made with the window; the others when first shown.
    for (size_t i = 1; i < picTabBox.size(); ++i)
        picTabBox[i].LoadOnDemand(true);
    for (size_t i = 0; i < picTabBox.size(); ++i)
        picTabBox[i].PageLoad = [this, i] { SetUpPage(static_cast<int>(i)); };
    Wire();
    WireFile();
}

frmMain::~frmMain() = default;

clsKitwright& frmMain::oKW()
{
    if (!oKW_)
        throw RuntimeError(91, "Object variable not set", "frmMain.oKW");
    return *oKW_;
}

void frmMain::oKW(std::unique_ptr<clsKitwright> model) { oKW_ = std::move(model); }

void frmMain::Wire()
{
    mnuSettings_Menu.Click = [this] { mnuSettings_Menu_Click(); };
    mnuSettings_Author.Click = [this] { mnuSettings_Author_Click(); };
    mnuSettingsOptions.Click = [this] { mnuSettingsOptions_Click(); };
    mnuSettings_Location.Click = [this] { mnuSettings_Location_Click(); };
    mnuHelp_Readme.Click = [this] { mnuHelp_Readme_Click(); };
    mnu_Help_About.Click = [this] { mnu_Help_About_Click(); };

    for (forms::TextBox* box :
         {&txtPluginName, &txtProgramName, &txtProgramWebsite, &txtDescription, &txtExecutable, &txtShortcutName})
        box->GotFocus = [box] { SelectAllText(*box); };
    txtPluginName.Change = [this] { txtPluginName_Change(); };
    txtPluginName.KeyPress = [this](int& key) { txtPluginName_KeyPress(key); };
    txtProgramName.Change = [this] { txtProgramName_Change(); };
    txtProgramName.KeyPress = [this](int& key) { txtProgramName_KeyPress(key); };
    txtProgramWebsite.Change = [this] { txtProgramWebsite_Change(); };
    txtProgramWebsite.KeyPress = [this](int& key) { txtProgramWebsite_KeyPress(key); };
    txtDescription.Change = [this] { txtDescription_Change(); };
    chkIncAuthor.Click = [this] { chkIncAuthor_Click(); };
    cmdResetInformation.Click = [this] { cmdResetInformation_Click(); };

    optCopyOption[0].Click = [this] { optCopyOption_Click(0); };
    optCopyOption[1].Click = [this] { optCopyOption_Click(1); };
    cmdGetProgramFiles.Click = [this] { cmdGetProgramFiles_Click(); };
    cmdRemoveProgramFile.Click = [this] { cmdRemoveProgramFile_Click(); };
    cmdResetProgramFiles.Click = [this] { cmdResetProgramFiles_Click(); };
    cboProgramFilesDestination.Click = [this] { cboProgramFilesDestination_Click(); };
    lstProgramFiles.OLEDragOver = [this](const std::vector<std::string>* f, int& e) {
        lstProgramFiles_OLEDragOver(f, e);
    };
    lstProgramFiles.OLEDragDrop = [this](const std::vector<std::string>& f, int& e) {
        lstProgramFiles_OLEDragDrop(f, e);
    };
    cmdGetSystemFiles.Click = [this] { cmdGetSystemFiles_Click(); };
    cmdRemoveSystemFile.Click = [this] { cmdRemoveSystemFile_Click(); };
    cmdResetSystemFiles.Click = [this] { cmdResetSystemFiles_Click(); };
    cboSystemFilesDestination.Click = [this] { cboSystemFilesDestination_Click(); };
    lstSystemFiles.OLEDragOver = [this](const std::vector<std::string>* f, int& e) {
        lstSystemFiles_OLEDragOver(f, e);
    };
    lstSystemFiles.OLEDragDrop = [this](const std::vector<std::string>& f, int& e) {
        lstSystemFiles_OLEDragDrop(f, e);
    };

    txtExecutableGroup.Change = [this] { txtExecutableGroup_Change(); };
    cmdGetExecutable.Click = [this] { cmdGetExecutable_Click(); };
    txtExecutable.Change = [this] { txtExecutable_Change(); };
    txtExecutable.OLEDragOver = [this](const std::vector<std::string>* f, int& e) { txtExecutable_OLEDragOver(f, e); };
    txtExecutable.OLEDragDrop = [this](const std::vector<std::string>& f, int& e) { txtExecutable_OLEDragDrop(f, e); };
    chkIncRamdisk.Click = [this] { chkIncRamdisk_Click(); };
    chkIncAutorun.Click = [this] { chkIncAutorun_Click(); };
    chkIncZel.Click = [this] { chkIncZel_Click(); };
    chkIncJuxMenu.Click = [this] { chkIncJuxMenu_Click(); };
    chkIncJuxDesktop.Click = [this] { chkIncJuxDesktop_Click(); };
    chkIncJuxQlaunch.Click = [this] { chkIncJuxQlaunch_Click(); };
    txtShortcutName.Change = [this] { txtShortcutName_Change(); };
    txtShortcutName.KeyPress = [this](int& key) { txtShortcutName_KeyPress(key); };
    cboMenuGroup.Change = [this] { cboMenuGroup_Change(); };
    cboMenuGroup.Click = [this] { cboMenuGroup_Click(); };
    cboMenuGroup.KeyPress = [this](int& key) { cboMenuGroup_KeyPress(key); };
    chkAppendMenuGroup.Click = [this] { chkAppendMenuGroup_Click(); };
    cmdResetExecutable[0].Click = [this] { cmdResetExecutable_Click(0); };
    cmdResetExecutable[1].Click = [this] { cmdResetExecutable_Click(1); };

    cmdCreatePlugin.Click = [this] { cmdCreatePlugin_Click(); };
    cmdReset.Click = [this] { cmdReset_Click(); };
    cmdExit.Click = [this] { cmdExit_Click(); };
}

// ---- Load, activation, closing ---------------------------------------------------------

void frmMain::Form_Load()
{
    try {
        oKW_ = std::make_unique<clsKitwright>();
        clsAppIcon& appIcon = NewAppIcon();
        oUpDown_ = std::make_unique<clsUpDown>();
        oSubclass_ = std::make_unique<clsSubclass>();

        Caption(AppTitleWithVersion());

        ScaleMode(forms::kScalePixels);
        SetFormFont(*this, kFontName, kFontSize);

        oKW_->ParentWnd(reinterpret_cast<NativeHandle>(hWnd()));
        oKW_->MaxExecutables(9);

        ApplyThemeBackColors();
        appIcon.SetAppIcon(hWnd(), IDI_APP_NAME, Dpi());

        // Individual files are chosen from the start: a design-time state, not a change.
        switchingCopyOption_ = true;
        optCopyOption[0].Value(true);
        switchingCopyOption_ = false;

        CreateTabs();
        oGroupbox_ = std::make_unique<clsGroupbox>();
        for (size_t i = 0; i < picTabBox.size(); ++i)
            if (picTabBox[i].hWnd())
                SetUpPage(static_cast<int>(i));
        // The slot box shows the first slot from the start, its page made or not.
        SelectSlot(0);
        LoadListsAndHeaders();
        RefreshControls();
        UpdateControlStates();

        oSubclass_->AttachMessage(this, hWnd(), WM_THEMECHANGED);
        oSubclass_->AttachMessage(this, hWnd(), WM_NOTIFY);
        subclassed_ = true;

        LoadRecentFiles();
        MarkSaved();

        ReleaseAppIcon();
    } catch (const std::exception& e) {
        auto* rt = dynamic_cast<const RuntimeError*>(&e);
        std::string number = std::to_string(rt ? rt->Number() : 0);
        std::string description = rt ? rt->Description() : e.what();
        platform::ShowMessage(reinterpret_cast<NativeHandle>(hWnd()),
                              "Error " + number + " (" + description + ") in procedure Form_Load of Form frmMain",
                              kAppTitle, platform::kMbOk);
    }
}

void frmMain::Form_Activate() { RefreshControls(); }

void frmMain::Form_QueryUnload(bool& cancel)
{
    if (creating_) {
        // The plugin is made to the end; the user can close the window afterwards.
        cancel = true;
        MessageBeep(MB_ICONWARNING);
        return;
    }
    if (subclassed_ && oSubclass_) {
        oSubclass_->DetachMessage(this, hWnd(), WM_THEMECHANGED);
        oSubclass_->DetachMessage(this, hWnd(), WM_NOTIFY);
        subclassed_ = false;
    }
    oKW_.reset();
    oTabs_.reset();
    oUpDown_.reset();
    oGroupbox_.reset();
    oSubclass_.reset();
    UnloadAllForms();
}

void frmMain::Form_KeyDown(int& keyCode, int shift)
{
    if (FileMenuKey(keyCode, shift))
        return;
    // Delete in a file list removes the selected files, as the button below it does.
    if (keyCode == VK_DELETE && shift == 0) {
        const HWND focus = GetFocus();
        if (focus && focus == lstProgramFiles.hWnd() && IsWindowEnabled(cmdRemoveProgramFile.hWnd())) {
            keyCode = 0;
            cmdRemoveProgramFile.Click();
        } else if (focus && focus == lstSystemFiles.hWnd() && IsWindowEnabled(cmdRemoveSystemFile.hWnd())) {
            keyCode = 0;
            cmdRemoveSystemFile.Click();
        }
        return;
    }
    // Ctrl+Tab and Ctrl+Shift+Tab turn the pages, as in any tabbed window.
    if (keyCode != VK_TAB || (shift & (forms::kCtrlMask | forms::kAltMask)) != forms::kCtrlMask)
        return;
    if (!oTabs_ || !oTabs_->hWnd() || !IsWindowEnabled(oTabs_->hWnd()))
        return;
    keyCode = 0;
    const int count = static_cast<int>(picTabBox.size());
    const int current = oTabs_->CurrentTab();
    const int next = (shift & forms::kShiftMask) ? (current + count - 2) % count + 1 : current % count + 1;
    const HWND focus = GetFocus();
    oTabs_->CurrentTab(next);
    KeepPageAfterTabStrip();
    // The focus was on the page just hidden: it moves to the first stop of the new page.
    if (focus && focus != oTabs_->hWnd() && !IsWindowVisible(focus)) {
        HWND page = picTabBox[static_cast<size_t>(next - 1)].hWnd();
        HWND first = GetNextDlgTabItem(page, nullptr, FALSE);
        HWND target = first && IsChild(page, first) ? first : oTabs_->hWnd();
        SendMessageW(hWnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(target), TRUE);
    }
}

LRESULT frmMain::WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_THEMECHANGED: ApplyThemeBackColors(); break;
    case WM_NOTIFY:
        if (oTabs_) {
            oTabs_->Notify(hWnd, uMsg, wParam, lParam);
            KeepPageAfterTabStrip();
        }
        break;
    }
    return 0;
}

void frmMain::ApplyThemeBackColors() { kw::ApplyThemeBackColors(); }

void frmMain::Form_DpiChanged()
{
    FitNativeControlsToDpi();
    NewAppIcon().SetAppIcon(hWnd(), IDI_APP_NAME, Dpi());
    ReleaseAppIcon();
    // The box is wider or narrower now: the plugins folder shortened to fit it again.
    IgnoringErrors([&] { txtPluginLocation.Text(CompactPath(PluginsFolder(), txtPluginLocation, *this)); });
}

// What the native controls do not take from the DPI by themselves: the room around the tab
// captions and the width of the up-down arrows (as wide as a scroll bar at this DPI).
void frmMain::FitNativeControlsToDpi()
{
    const UINT dpi = Dpi();
    if (oTabs_) {
        oTabs_->Padding(ScaleToDpi(6, dpi), ScaleToDpi(3, dpi));
        KeepPageAfterTabStrip();
    }
    if (oUpDown_)
        oUpDown_->Width(SystemMetricForDpi(SM_CXVSCROLL, dpi));
}

// ---- Builders ---------------------------------------------------------------------------

void frmMain::CreateTabs()
{
    oTabs_ = std::make_unique<clsTabs>();
    oTabs_->CreateControl(hWnd(), GetDlgItem(hWnd(), IDC_SHP_TAB_CONTROL));
    HWND strip = oTabs_->hWnd();
    SetWindowLongPtrW(strip, GWL_STYLE, GetWindowLongPtrW(strip, GWL_STYLE) | WS_TABSTOP);
    // The room and the font before the first tab: the tabs are measured once.
    FitNativeControlsToDpi();
    // A page not made yet is made when its tab is first shown.
    oTabs_->ContentNeeded = [this](int tab) {
        forms::PictureBox& page = picTabBox[static_cast<size_t>(tab - 1)];
        IgnoringErrors([&] { page.Load(); });
        return page.hWnd();
    };
    if (clsFont* font = AppFont())
        font->SetApiFontFor(oTabs_->hWnd(), kFontName, kFontSize);
    for (int i = 0; i < 4; ++i)
        oTabs_->InsertTab(picTabBox[static_cast<size_t>(i)].hWnd(), kTabCaptions[i]);
    oTabs_->CurrentTab(1);
    // The strip comes first in the Tab order, then the shown page, then the buttons; the
    // arrow keys on it change the page, so the keyboard reaches every page. Raised over
    // the page just laid on top, it has the page right after it.
    SetWindowPos(strip, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    KeepPageAfterTabStrip();
}

void frmMain::KeepPageAfterTabStrip()
{
    if (!oTabs_ || !oTabs_->hWnd())
        return;
    int current = oTabs_->CurrentTab();
    if (current < 1 || current > 4)
        return;
    HWND page = picTabBox[static_cast<size_t>(current - 1)].hWnd();
    if (page && GetWindow(oTabs_->hWnd(), GW_HWNDNEXT) != page)
        SetWindowPos(page, oTabs_->hWnd(), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void frmMain::SetUpPage(int index)
{
    if (!oGroupbox_)
        return;  // made before Form_Load got this far: Form_Load sets it up
    HWND page = picTabBox[static_cast<size_t>(index)].hWnd();
    for (int i = 0; i < 5; ++i) {
        if (kGroupPage[i] != index)
            continue;
        oGroupbox_->CreateGroupBoxControl(i, page, GetDlgItem(page, IDC_SHP_GROUP_BOX + i), kGroupCaptions[i]);
        HWND box = oGroupbox_->hWnd(i);
        // Behind the page's controls, which it frames (where a new window usually lands).
        if (GetWindow(box, GW_HWNDNEXT))
            SetWindowPos(box, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        if (HFONT font = GroupBoxFont())
            SendMessageW(box, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
    }
    if (index == 3) {
        CreateExecutableUpDown();
        FitNativeControlsToDpi();
    }
}

// The program's font for the group boxes, at the window's DPI (a page made after the DPI
// changed gets the size the others were scaled to).
HFONT frmMain::GroupBoxFont()
{
    clsFont* appFont = AppFont();
    if (!appFont)
        return nullptr;
    if (!appFont->FontHandle())
        appFont->SetApiFontFor(nullptr, kFontName, kFontSize);
    HFONT font = appFont->FontHandle();
    LOGFONTW lf{};
    if (!font || !GetObjectW(font, sizeof(lf), &lf))
        return font;
    const LONG height = clsFont::HeightFor(kFontSize, static_cast<int>(Dpi()));
    if (lf.lfHeight == height)
        return font;
    LOGFONTW have{};
    if (!groupFont_ || !GetObjectW(groupFont_.get(), sizeof(have), &have) || have.lfHeight != height) {
        lf.lfHeight = height;
        groupFont_ = forms::Font(CreateFontIndirectW(&lf));
    }
    return groupFont_.get();
}

void frmMain::CreateExecutableUpDown()
{
    oUpDown_->CreateUpDownControl(picTabBox[3].hWnd(), txtExecutableGroup.hWnd(), 0, 9, oKW().CurrentExecutable());
    oUpDown_->Enabled(txtExecutableGroup.Enabled());
}

void frmMain::SelectSlot(int slot)
{
    if (oUpDown_ && oUpDown_->UpDownHandle())
        SendMessageW(oUpDown_->UpDownHandle(), UDM_SETPOS32, 0, slot);
    else
        txtExecutableGroup.Text(std::to_string(slot));  // its handler takes the slot, as with the arrows
}

void frmMain::LoadListsAndHeaders()
{
    IgnoringErrors([&] {
        oKW().LoadProgramFilesDestinationsTo(cboProgramFilesDestination);
        oKW().LoadSystemFilesDestinationsTo(cboSystemFilesDestination);
    });
    for (int i = 0; i < 5; ++i)
        IgnoringErrors([&] { lblHeader[static_cast<size_t>(i)].Caption(LoadResourceString(static_cast<UINT>(i))); });
    for (int i = 0; i < 5; ++i)
        IgnoringErrors([&] { imgIcon[static_cast<size_t>(i)].LoadPicture(i + 2); });
}

// ---- Menus -----------------------------------------------------------------------------

void frmMain::mnuSettings_Menu_Click() { ShowMenuDialog(oKW(), hWnd()); }

void frmMain::mnuSettings_Author_Click() { ShowAuthorDialog(oKW(), hWnd()); }

void frmMain::mnuSettingsOptions_Click() { ShowOptionsDialog(oKW(), hWnd()); }

void frmMain::mnu_Help_About_Click() { ShowAboutBox(); }

void frmMain::mnuSettings_Location_Click()
{
    auto oBrowse = std::make_unique<clsBrowse>();
    oBrowse->DialogTitle("Select a folder to save plugins to");
    oBrowse->InitDir(0);
    oBrowse->NewStyle(true);
    oBrowse->StartFolder(PluginsFolder());
    oBrowse->Parent(hWnd());
    if (oBrowse->BrowseForFolder()) {
        // The folder chosen is where this document's plugin goes too.
        oKW().PluginLocation(oBrowse->SelectedPath());
        documentPluginsFolder_.clear();
        RefreshControls();
    }
}

void frmMain::mnuHelp_Readme_Click() { oKW().ShowHelp(reinterpret_cast<NativeHandle>(hWnd())); }

// ---- Window-wide routines ---------------------------------------------------------------

void frmMain::EnableControls(bool enable)
{
    for (forms::Control* c : Controls()) {
        if (c->Tag().find("nodisable") == std::string::npos)
            c->Enabled(enable);
    }
    if (oUpDown_)
        oUpDown_->Enabled(enable);
    if (oTabs_ && oTabs_->hWnd())
        EnableWindow(oTabs_->hWnd(), enable ? TRUE : FALSE);
}

void frmMain::RefreshControls()
{
    IgnoringErrors([&] { LoadMenuGroups(); });
    IgnoringErrors([&] { txtPluginLocation.Text(CompactPath(PluginsFolder(), txtPluginLocation, *this)); });
    IgnoringErrors([&] { chkIncAuthor.Value(oKW().IncAuthor()); });
    IgnoringErrors([&] { chkIncZel.Value(oKW().IncZelMenu()); });
    IgnoringErrors([&] { chkIncJuxMenu.Value(oKW().IncJuxMenu()); });
    IgnoringErrors([&] { txtExecutable.Text(oKW().ExecutableName(oKW().CurrentExecutable())); });
    IgnoringErrors([&] { txtShortcutName.Text(oKW().ShortcutName(oKW().CurrentExecutable())); });
    IgnoringErrors([&] { chkIncRamdisk.Value(oKW().IncRamdisk(oKW().CurrentExecutable())); });
    IgnoringErrors([&] { chkIncAutorun.Value(oKW().IncAutorun(oKW().CurrentExecutable())); });
    IgnoringErrors([&] { chkIncJuxDesktop.Value(oKW().IncJuxDesktop(oKW().CurrentExecutable())); });
    IgnoringErrors([&] { chkIncJuxQlaunch.Value(oKW().IncJuxQlaunch(oKW().CurrentExecutable())); });
    IgnoringErrors([&] { cboMenuGroup.Text(oKW().MenuGroup()); });
}

// The model's own list, read into memory first; the drop-down is refilled only when it
// differs from what it shows.
void frmMain::LoadMenuGroups()
{
    class Names final : public StringList {
    public:
        void Clear() override { items.clear(); }
        void AddItem(const std::string& text) override { items.push_back(text); }
        int ListCount() const override { return static_cast<int>(items.size()); }
        std::string List(int index) const override { return items.at(static_cast<size_t>(index)); }
        void ListIndex(int) override {}
        std::vector<std::string> items;
    } names;
    // Every activation asks: a preferences file unchanged since the last reading (same size,
    // same time of its last write) holds the same groups, and reading a big one costs.
    WIN32_FILE_ATTRIBUTE_DATA stamp{};
    std::string ini = platform::ProgramFolder();
    if (!ini.empty() && ini.back() != '\\')
        ini += '\\';
    ini += "Kitwright.ini";
    const bool stamped = GetFileAttributesExW(Widen(ini).c_str(), GetFileExInfoStandard, &stamp) != FALSE;
    const auto same = [](const WIN32_FILE_ATTRIBUTE_DATA& a, const WIN32_FILE_ATTRIBUTE_DATA& b) {
        return a.nFileSizeLow == b.nFileSizeLow && a.nFileSizeHigh == b.nFileSizeHigh &&
               CompareFileTime(&a.ftLastWriteTime, &b.ftLastWriteTime) == 0;
    };
    if (menuGroupsFilled_ && stamped && menuGroupsStamped_ && menuGroupsModel_ == oKW_.get() &&
        same(stamp, menuGroupsStamp_))
        return;
    menuGroupsStamped_ = false;
    oKW().LoadMenuGroupItemsTo(names);
    if (menuGroupsFilled_ && names.items == menuGroupsShown_ && cboMenuGroup.ListCount() == names.ListCount()) {
        menuGroupsStamp_ = stamp;
        menuGroupsStamped_ = stamped;
        menuGroupsModel_ = oKW_.get();
        return;
    }
    menuGroupsFilled_ = false;
    forms::ComboBox::Updating updating(cboMenuGroup);
    cboMenuGroup.Clear();
    for (const std::string& name : names.items)
        cboMenuGroup.AddItem(name);
    menuGroupsShown_ = std::move(names.items);
    menuGroupsFilled_ = true;
    menuGroupsStamp_ = stamp;
    menuGroupsStamped_ = stamped;
    menuGroupsModel_ = oKW_.get();
}

void frmMain::UpdateControlStates()
{
    clsKitwright& kw = oKW();
    const int cur = kw.CurrentExecutable();
    const bool hasExecutable = !kw.Executable(cur).empty();
    const bool showsInMenu = hasExecutable && (kw.IncZelMenu() != 0 || kw.IncJuxMenu() != 0);

    lblProgramFilesDestination.Enabled(kw.CopyOption() == coIndividualFiles);
    cboProgramFilesDestination.Enabled(lblProgramFilesDestination.Enabled());
    chkIncAutorun.Enabled(hasExecutable);
    chkIncRamdisk.Enabled(hasExecutable && kw.ProgramFilesDest() == dstPrograms);
    chkIncZel.Enabled(hasExecutable);
    chkIncJuxMenu.Enabled(hasExecutable);
    chkIncJuxDesktop.Enabled(hasExecutable);
    chkIncJuxQlaunch.Enabled(hasExecutable);
    const bool shortcut = showsInMenu || kw.IncJuxDesktop(cur) != 0;
    lblShortcutName.Enabled(shortcut);
    txtShortcutName.Enabled(shortcut);
    lblMenuGroup.Enabled(showsInMenu);
    cboMenuGroup.Enabled(showsInMenu);
    chkAppendMenuGroup.Enabled(showsInMenu && !cboMenuGroup.Text().empty());
    cmdCreatePlugin.Enabled(!kw.PluginName().empty());

    // Enter makes the plugin once there is a name; until then it does nothing, so a stray
    // Enter never ends the program with everything entered.
    cmdCreatePlugin.Default(cmdCreatePlugin.Enabled());
}

void RegisterMainForm()
{
    SetMainFormFactory([] { return std::make_unique<frmMain>(); });
}

}  // namespace kw
