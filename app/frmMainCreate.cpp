// The commands below the tab strip: create the plugin, reset the description, exit.
#include "app/frmMain.h"

#include <set>
#include <utility>

#include <commctrl.h>

#include "app/modMain.h"
#include "document/PluginBuilder.h"
#include "document/PluginReader.h"
#include "writers/WriteError.h"
#include "writers/modHtm.h"
#include "writers/modInf.h"
#include "writers/modRam.h"
#include "writers/modRun.h"
#include "writers/modXml.h"

namespace kw {

namespace {

// Set while a plugin is being made, whichever way the handler leaves.
class CreatingFlag {
public:
    explicit CreatingFlag(bool& flag) : flag_(flag) { flag_ = true; }
    ~CreatingFlag() { flag_ = false; }
    CreatingFlag(const CreatingFlag&) = delete;
    CreatingFlag& operator=(const CreatingFlag&) = delete;

private:
    bool& flag_;
};

std::string JoinLines(const std::vector<std::string>& names)
{
    std::string text;
    for (const std::string& name : names)
        text += "\r\n" + name;
    return text;
}

}  // namespace

void frmMain::cmdCreatePlugin_Click()
{
    if (creating_)
        return;
    // A folder holding a plugin INF may be replaced, whole, once the user says so; a plugin
    // opened from a folder is made again in that folder's parent.
    const std::string folder = PluginsFolder();
    const std::string name = oKW().PluginName();
    if (clsKitwright::IsValidFileName(name) && HoldsPlugin(AddBackslash(folder) + name)) {
        if (AskReplace(AddBackslash(folder) + name))
            CreateThroughBuilder(folder, true);
        else
            ShowWhatMustChange(kErrorAlreadyExists);
        return;
    }
    if (!documentPluginsFolder_.empty()) {
        CreateThroughBuilder(folder, false);
        return;
    }
    const CreatingFlag creating(creating_);
    focusBeforeCreate_ = GetFocus();
    const int code = oKW().CreatePlugin();
    if (code == 0) {
        EnableControls(false);
        forms::Screen::MousePointer(forms::kPointerHourglass);
        std::string failure;
        try {
            modInf::WriteInfFile(oKW());
            modHtm::WriteHelpFile(oKW());
            modRam::WriteRamdiskScripts(oKW());
            modRun::WriteAutorunScripts(oKW());
            modXml::WriteMenuXmlFile(oKW());
            const bool anythingToCopy = oKW().ProgramFileCount() != 0 || oKW().IsExecutables() ||
                                        (oKW().CopyOption() == coFolderTree && !oKW().ProgramFolder().empty());
            if (!oKW().CopyFiles() && anythingToCopy)
                failure = "The program files could not be copied to " + oKW().PluginLocation() + oKW().PluginName() +
                          "\\files\\:\r\n" + platform::CopyErrorText(oKW().LastCopyError());
        } catch (const WriteError& e) {
            failure = "The file " + e.Path() + " could not be written:\r\n" + e.SystemText();
        } catch (const std::exception& e) {
            failure = std::string("The plugin could not be completed:\r\n") + e.what();
        }
        forms::Screen::MousePointer(forms::kPointerDefault);
        if (!failure.empty()) {
            // Files written so far stay; the window comes back as it was.
            ResetAfterCreate();
            UpdateControlStates();
            Warn(hWnd(), failure);
            return;
        }
        if (oKW().IncPopupDone() != 0) {
            int answer = platform::ShowMessage(reinterpret_cast<NativeHandle>(hWnd()),
                                               "Plugin has been created.\r\nExplore the Plugin Folder?", kAppTitle,
                                               platform::kMbOkCancel | platform::kMbIconInformation);
            if (answer == platform::kIdOk)
                oKW().OpenPlugin(reinterpret_cast<NativeHandle>(hWnd()));
        }
        ResetAfterCreate();
        UpdateControlStates();
    } else if (code == kErrorAlreadyExists) {
        Warn(hWnd(), "The chosen plugin folder already exists");
        ShowWhatMustChange(code);
    } else {
        ReportCreateRefusal(code);
        ShowWhatMustChange(code);
    }
}

bool frmMain::AskReplace(const std::string& pluginFolder)
{
    const int answer = platform::ShowMessage(
        reinterpret_cast<NativeHandle>(hWnd()),
        "The chosen plugin folder already exists:\r\n" + pluginFolder +
            "\r\n\r\nReplace the plugin in it with this one? The old plugin is removed only once the new one is "
            "complete.",
        kAppTitle, platform::kMbYesNo | platform::kMbIconWarning | MB_DEFBUTTON2);
    return answer == platform::kIdYes;
}

void frmMain::CreateThroughBuilder(const std::string& folder, bool replace)
{
    const CreatingFlag creating(creating_);
    focusBeforeCreate_ = GetFocus();
    EnableControls(false);
    forms::Screen::MousePointer(forms::kPointerHourglass);
    BuildResult result;
    try {
        result = replace ? ReplacePlugin(oKW(), folder) : CreatePluginIn(oKW(), folder);
    } catch (const std::exception& e) {
        result.status = BuildResult::Status::Failed;
        result.message = std::string("The plugin could not be completed:\r\n") + e.what();
    }
    forms::Screen::MousePointer(forms::kPointerDefault);
    ResetAfterCreate();
    UpdateControlStates();
    switch (result.status) {
    case BuildResult::Status::Made:
        if (!result.message.empty())
            Warn(hWnd(), result.message);
        if (oKW().IncPopupDone() != 0) {
            const int answer = platform::ShowMessage(reinterpret_cast<NativeHandle>(hWnd()),
                                                     "Plugin has been created.\r\nExplore the Plugin Folder?",
                                                     kAppTitle, platform::kMbOkCancel | platform::kMbIconInformation);
            if (answer == platform::kIdOk)
                platform::ShellOpen(reinterpret_cast<NativeHandle>(hWnd()), "explore",
                                    AddBackslash(folder) + oKW().PluginName(), "");
        }
        return;
    case BuildResult::Status::Exists:
    case BuildResult::Status::Refused:
        Warn(hWnd(), result.message);
        ShowWhatMustChange(static_cast<int>(result.code));
        return;
    case BuildResult::Status::NotPlugin:
    case BuildResult::Status::Failed: Warn(hWnd(), result.message); return;
    }
}

void frmMain::ReportCreateRefusal(int code)
{
    const std::vector<std::string> problems = oKW().LastCreateProblems();
    std::string why;
    switch (code) {
    case kErrorInvalidName:
        why =
            "The plugin name and the shortcut names of executables with ramdisk or autorun scripts must be "
            "valid, distinct file names.";
        if (!problems.empty())
            why += "\r\nNot usable:" + JoinLines(problems);
        break;
    case kErrorNoUnicodeTranslation:
        why = "These names cannot be written in the system's code page:" + JoinLines(problems);
        break;
    case kErrorFilenameTooLong: why = "This path is too long:" + JoinLines(problems); break;
    default:
        why = platform::ErrorText(static_cast<unsigned long>(code));
        if (why.empty())
            why = "Error " + std::to_string(code) + ".";
        break;
    }
    Warn(hWnd(), "The plugin folder could not be created.\r\n" + why);
}

void frmMain::ResetAfterCreate()
{
    EnableControls(true);
    RefreshControls();
    // Disabling the controls took the focus away: it goes back where it was, on any page.
    const HWND before = std::exchange(focusBeforeCreate_, nullptr);
    if (before && IsWindow(before) && IsChild(hWnd(), before) && IsWindowVisible(before) && IsWindowEnabled(before))
        SendMessageW(hWnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(before), TRUE);
    else if (oTabs_ && oTabs_->CurrentTab() == 1)
        txtPluginName.SetFocus();
}

void frmMain::FocusForChange(int tab, int slot, forms::Control& control)
{
    if (slot >= 0 && slot != oKW().CurrentExecutable())
        SelectSlot(slot);  // as the arrows do: the box shows the number, and its handler the slot
    if (oTabs_ && oTabs_->CurrentTab() != tab) {
        oTabs_->CurrentTab(tab);
        KeepPageAfterTabStrip();
    }
    if (!control.hWnd() || !IsWindowEnabled(control.hWnd()))
        return;
    SendMessageW(hWnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control.hWnd()), TRUE);
    if (control.Kind() == forms::ControlKind::TextBox)
        SelectAllText(static_cast<forms::TextBox&>(control));
}

// A line of a file list, selected alone, with the focus on the list.
bool frmMain::FocusListLine(int tab, forms::ListBox& list, const std::string& line)
{
    for (int i = 0; i < list.ListCount(); ++i) {
        if (platform::CompareText(list.List(i), line) != 0)
            continue;
        for (int j = 0; j < list.ListCount(); ++j)
            list.Selected(j, j == i);
        list.ListIndex(i);
        FocusForChange(tab, -1, list);
        return true;
    }
    return false;
}

void frmMain::ShowWhatMustChange(int code)
{
    clsKitwright& kw = oKW();
    const std::vector<std::string> problems = kw.LastCreateProblems();
    const std::string plugin = kw.PluginName();
    constexpr int kInformation = 1, kProgramFiles = 2, kSystemFiles = 3, kExecutables = 4;

    // The slot's shortcut box, or its executable box when the shortcut name cannot be
    // edited in this slot.
    auto focusSlot = [&](int slot, bool shortcut) {
        FocusForChange(kExecutables, slot, shortcut ? static_cast<forms::Control&>(txtShortcutName) : txtExecutable);
        if (shortcut && GetFocus() != txtShortcutName.hWnd())
            FocusForChange(kExecutables, slot, txtExecutable);
    };
    auto scripts = [&](int slot) { return kw.IsRamdisk(slot) || kw.IncAutorun(slot) != 0; };

    switch (code) {
    case kErrorAlreadyExists: FocusForChange(kInformation, -1, txtPluginName); return;
    case kErrorInvalidName: {
        if (!clsKitwright::IsValidFileName(plugin)) {
            FocusForChange(kInformation, -1, txtPluginName);
            return;
        }
        // The first script name that is not a file name or repeats an earlier one.
        std::set<std::string> ramdisk, autorun;
        for (int i = 0; i <= kw.MaxExecutables(); ++i) {
            if (kw.Executable(i).empty())
                continue;
            const std::string name = kw.ShortcutName(i), folded = platform::UpperCase(name);
            bool bad = false;
            if (kw.IsRamdisk(i))
                bad |= name.empty() || !clsKitwright::IsValidFileName("ramdisk_" + name + ".cmd") ||
                       !ramdisk.insert(folded).second;
            if (kw.IncAutorun(i) != 0)
                bad |= name.empty() || !clsKitwright::IsValidFileName("autorun_" + name + ".cmd") ||
                       !autorun.insert(folded).second;
            if (bad) {
                focusSlot(i, true);
                return;
            }
        }
        return;
    }
    case kErrorNoUnicodeTranslation: {
        if (!clsKitwright::FitsAnsi(plugin)) {
            FocusForChange(kInformation, -1, txtPluginName);
            return;
        }
        for (int i = 1; i <= kw.ProgramFileCount(); ++i)
            if (!clsKitwright::FitsAnsi(kw.ProgramFileName(i)) &&
                FocusListLine(kProgramFiles, lstProgramFiles, kw.ProgramFileName(i)))
                return;
        for (int i = 1; i <= kw.SystemFileCount(); ++i)
            if (!clsKitwright::FitsAnsi(kw.SystemFileName(i)) &&
                FocusListLine(kSystemFiles, lstSystemFiles, kw.SystemFileName(i)))
                return;
        for (int i = 0; i <= kw.MaxExecutables(); ++i) {
            if (kw.Executable(i).empty())
                continue;
            if (!clsKitwright::FitsAnsi(kw.ExecutableName(i))) {
                focusSlot(i, false);
                return;
            }
            if (scripts(i) && !clsKitwright::FitsAnsi(kw.ShortcutName(i))) {
                focusSlot(i, true);
                return;
            }
        }
        return;
    }
    case kErrorFilenameTooLong: {
        const std::string path = problems.empty() ? std::string() : problems.front();
        const std::string name = path.substr(path.rfind('\\') == std::string::npos ? 0 : path.rfind('\\') + 1);
        // Scripts and executables are named by their slot; the plugin's own files and
        // folders by the plugin name.
        for (int i = 0; i <= kw.MaxExecutables(); ++i) {
            if (kw.Executable(i).empty())
                continue;
            const std::string shortcut = kw.ShortcutName(i);
            if (scripts(i) && (name == "ramdisk_" + shortcut + ".cmd" || name == "autorun_" + shortcut + ".cmd")) {
                focusSlot(i, true);
                return;
            }
        }
        const bool pluginsOwn = name == "files" || name == plugin + ".inf" || name == plugin + ".htm" ||
                                name == plugin + ".xml" || name == plugin + "_zelmenu.xml";
        if (!pluginsOwn) {
            for (int i = 0; i <= kw.MaxExecutables(); ++i) {
                if (!kw.Executable(i).empty() && platform::CompareText(kw.ExecutableName(i), name) == 0) {
                    focusSlot(i, false);
                    return;
                }
            }
            if (FocusListLine(kProgramFiles, lstProgramFiles, name))
                return;
        }
        FocusForChange(kInformation, -1, txtPluginName);
        return;
    }
    default: return;
    }
}

void frmMain::cmdReset_Click()
{
    if (creating_ || !ConfirmDiscard())
        return;
    ClearPages();
    CloseDocument();
}

void frmMain::ClearPages()
{
    cmdResetInformation_Click();
    cmdResetProgramFiles_Click();
    cmdResetSystemFiles_Click();
    cmdResetExecutable_Click(1);
    oKW().ClearProgramFiles();
    oKW().ClearSystemFiles();
    oKW().ClearExecutables();
    EnableControls(true);
    RefreshControls();
    UpdateControlStates();
}

void frmMain::cmdExit_Click()
{
    if (!ConfirmDiscard())
        return;
    UnloadAllForms();
}

}  // namespace kw
