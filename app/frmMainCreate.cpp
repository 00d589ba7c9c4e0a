// The commands below the tab strip: create the plugin, reset the description, exit.
#include "app/frmMain.h"

#include "app/modMain.h"
#include "writers/WriteError.h"
#include "writers/modHtm.h"
#include "writers/modInf.h"
#include "writers/modRam.h"
#include "writers/modRun.h"
#include "writers/modXml.h"

namespace kw {

namespace {

constexpr const char* kAppTitle = "Kitwright";
constexpr const char* kAttention = "Attention";
constexpr int kErrorAlreadyExists = 183;
constexpr int kErrorInvalidName = 123;
constexpr int kErrorFilenameTooLong = 206;
constexpr int kErrorNoUnicodeTranslation = 1113;

std::string JoinLines(const std::vector<std::string>& names)
{
    std::string text;
    for (const std::string& name : names)
        text += "\r\n" + name;
    return text;
}

void Warn(HWND owner, const std::string& text)
{
    platform::ShowMessage(reinterpret_cast<NativeHandle>(owner), text, kAttention,
                          platform::kMbOk | platform::kMbIconWarning);
}

}  // namespace

void frmMain::cmdCreatePlugin_Click()
{
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
    } else {
        ReportCreateRefusal(code);
    }
}

void frmMain::ReportCreateRefusal(int code)
{
    const std::vector<std::string> problems = oKW().LastCreateProblems();
    std::string why;
    switch (code) {
    case kErrorInvalidName:
        why = "The plugin name and the shortcut names of executables with ramdisk or autorun scripts must be "
              "valid, distinct file names.";
        if (!problems.empty())
            why += "\r\nNot usable:" + JoinLines(problems);
        break;
    case kErrorNoUnicodeTranslation:
        why = "These names cannot be written in the system's code page:" + JoinLines(problems);
        break;
    case kErrorFilenameTooLong:
        why = "This path is too long:" + JoinLines(problems);
        break;
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
    if (oTabs_ && oTabs_->CurrentTab() == 1)
        txtPluginName.SetFocus();
}

void frmMain::cmdReset_Click()
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
    UnloadAllForms();
}

}  // namespace kw
