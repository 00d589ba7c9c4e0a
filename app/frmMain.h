#pragma once
// The main window: four pages over a tab strip, the command buttons below it and the
// menus. Every edit goes into the model at once; the window keeps no plugin data.
#include <windows.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "model/clsKitwright.h"
#include "resources/resource.h"
#include "winsupport/clsGroupbox.h"
#include "winsupport/clsSubclass.h"
#include "winsupport/clsTabs.h"
#include "winsupport/clsUpDown.h"
#include "winsupport/forms/Forms.h"

namespace kw {

class clsGetOpenFile;
class clsBrowse;
struct PluginDocument;

class frmMain : public forms::Form, private iSubclass {
public:
    frmMain();
    ~frmMain() override;

    // The one plugin model of the program, from Form_Load until the window closes.
    clsKitwright& oKW();
    void oKW(std::unique_ptr<clsKitwright> model);

    // Controls, by page. Arrays follow the control arrays of the design.
    forms::CommandButton cmdCreatePlugin{*this, IDC_CMD_CREATE_PLUGIN};
    forms::CommandButton cmdReset{*this, IDC_CMD_RESET};
    forms::CommandButton cmdExit{*this, IDC_CMD_EXIT};
    std::array<forms::PictureBox, 4> picTabBox{{{*this, IDC_PIC_TAB_BOX + 0, IDD_PAGE_INFORMATION},
                                                {*this, IDC_PIC_TAB_BOX + 1, IDD_PAGE_PROGRAM_FILES},
                                                {*this, IDC_PIC_TAB_BOX + 2, IDD_PAGE_SYSTEM_FILES},
                                                {*this, IDC_PIC_TAB_BOX + 3, IDD_PAGE_EXECUTABLES}}};
    std::array<forms::Image, 5> imgIcon{{{*this, IDC_IMG_ICON + 0},
                                         {*this, IDC_IMG_ICON + 1},
                                         {*this, IDC_IMG_ICON + 2},
                                         {*this, IDC_IMG_ICON + 3},
                                         {*this, IDC_IMG_ICON + 4}}};
    std::array<forms::Label, 5> lblHeader{{{*this, IDC_LBL_HEADER + 0},
                                           {*this, IDC_LBL_HEADER + 1},
                                           {*this, IDC_LBL_HEADER + 2},
                                           {*this, IDC_LBL_HEADER + 3},
                                           {*this, IDC_LBL_HEADER + 4}}};

    forms::Label lblPluginName{*this, IDC_LBL_PLUGIN_NAME};
    forms::TextBox txtPluginName{*this, IDC_TXT_PLUGIN_NAME};
    forms::Label lblProgramName{*this, IDC_LBL_PROGRAM_NAME};
    forms::TextBox txtProgramName{*this, IDC_TXT_PROGRAM_NAME};
    forms::Label lblProgramWebsite{*this, IDC_LBL_PROGRAM_WEBSITE};
    forms::TextBox txtProgramWebsite{*this, IDC_TXT_PROGRAM_WEBSITE};
    forms::Label lblDescription{*this, IDC_LBL_DESCRIPTION};
    forms::TextBox txtDescription{*this, IDC_TXT_DESCRIPTION};
    forms::Label lblPluginLocation{*this, IDC_LBL_PLUGIN_LOCATION};
    forms::TextBox txtPluginLocation{*this, IDC_TXT_PLUGIN_LOCATION};
    forms::CheckBox chkIncAuthor{*this, IDC_CHK_INC_AUTHOR};
    forms::CommandButton cmdResetInformation{*this, IDC_CMD_RESET_INFORMATION};

    std::array<forms::OptionButton, 2> optCopyOption{
        {{*this, IDC_OPT_COPY_OPTION + 0}, {*this, IDC_OPT_COPY_OPTION + 1}}};
    forms::CommandButton cmdGetProgramFiles{*this, IDC_CMD_GET_PROGRAM_FILES};
    forms::ListBox lstProgramFiles{*this, IDC_LST_PROGRAM_FILES};
    forms::CommandButton cmdRemoveProgramFile{*this, IDC_CMD_REMOVE_PROGRAM_FILE};
    forms::CommandButton cmdResetProgramFiles{*this, IDC_CMD_RESET_PROGRAM_FILES};
    forms::Label lblProgramFilesDestination{*this, IDC_LBL_PROGRAM_FILES_DESTINATION};
    forms::ComboBox cboProgramFilesDestination{*this, IDC_CBO_PROGRAM_FILES_DESTINATION};

    forms::CommandButton cmdGetSystemFiles{*this, IDC_CMD_GET_SYSTEM_FILES};
    forms::ListBox lstSystemFiles{*this, IDC_LST_SYSTEM_FILES};
    forms::CommandButton cmdRemoveSystemFile{*this, IDC_CMD_REMOVE_SYSTEM_FILE};
    forms::CommandButton cmdResetSystemFiles{*this, IDC_CMD_RESET_SYSTEM_FILES};
    forms::Label lblSystemFilesDestination{*this, IDC_LBL_SYSTEM_FILES_DESTINATION};
    forms::ComboBox cboSystemFilesDestination{*this, IDC_CBO_SYSTEM_FILES_DESTINATION};

    forms::TextBox txtExecutableGroup{*this, IDC_TXT_EXECUTABLE_GROUP};
    forms::CommandButton cmdGetExecutable{*this, IDC_CMD_GET_EXECUTABLE};
    forms::TextBox txtExecutable{*this, IDC_TXT_EXECUTABLE};
    forms::CheckBox chkIncRamdisk{*this, IDC_CHK_INC_RAMDISK};
    forms::CheckBox chkIncAutorun{*this, IDC_CHK_INC_AUTORUN};
    std::array<forms::CommandButton, 2> cmdResetExecutable{
        {{*this, IDC_CMD_RESET_EXECUTABLE + 0}, {*this, IDC_CMD_RESET_EXECUTABLE + 1}}};
    forms::Label lblShortcutName{*this, IDC_LBL_SHORTCUT_NAME};
    forms::TextBox txtShortcutName{*this, IDC_TXT_SHORTCUT_NAME};
    forms::CheckBox chkIncZel{*this, IDC_CHK_INC_ZEL};
    forms::CheckBox chkIncJuxMenu{*this, IDC_CHK_INC_JUX_MENU};
    forms::CheckBox chkIncJuxDesktop{*this, IDC_CHK_INC_JUX_DESKTOP};
    forms::CheckBox chkIncJuxQlaunch{*this, IDC_CHK_INC_JUX_QLAUNCH};
    forms::Label lblMenuGroup{*this, IDC_LBL_MENU_GROUP};
    forms::ComboBox cboMenuGroup{*this, IDC_CBO_MENU_GROUP};
    forms::CheckBox chkAppendMenuGroup{*this, IDC_CHK_APPEND_MENU_GROUP};

    forms::MenuItem mnuFile{*this, IDM_FILE};
    forms::MenuItem mnuFile_New{*this, IDM_FILE_NEW};
    forms::MenuItem mnuFile_Open{*this, IDM_FILE_OPEN};
    forms::MenuItem mnuFile_Save{*this, IDM_FILE_SAVE};
    forms::MenuItem mnuFile_SaveAs{*this, IDM_FILE_SAVE_AS};
    forms::MenuItem mnuFileSeparator{*this, IDM_FILE_SEPARATOR};
    forms::MenuItem mnuFile_Exit{*this, IDM_FILE_EXIT};
    forms::MenuItem mnuSettings{*this, IDM_SETTINGS};
    forms::MenuItem mnuSettings_Menu{*this, IDM_SETTINGS_MENU};
    forms::MenuItem mnuSettings_Author{*this, IDM_SETTINGS_AUTHOR};
    forms::MenuItem mnuSettingsOptions{*this, IDM_SETTINGS_OPTIONS};
    forms::MenuItem mnuSettingsSeparator{*this, IDM_SETTINGS_SEPARATOR};
    forms::MenuItem mnuSettings_Location{*this, IDM_SETTINGS_LOCATION};
    forms::MenuItem mnuHelp{*this, IDM_HELP};
    forms::MenuItem mnuHelp_Readme{*this, IDM_HELP_README};
    forms::MenuItem mnuHelp_Separator{*this, IDM_HELP_SEPARATOR};
    forms::MenuItem mnu_Help_About{*this, IDM_HELP_ABOUT};

    // The native helpers (null before Form_Load and after the window closed).
    clsTabs* oTabs() const { return oTabs_.get(); }
    clsUpDown* oUpDown() const { return oUpDown_.get(); }

    // The open document: a description file, or the INF of the plugin folder it was read
    // from; empty when there is none.
    const std::string& DocumentPath() const { return documentPath_; }
    // Where Create puts this document's plugin: the folder a plugin was opened from lies
    // there; else the plugins-folder preference.
    std::string PluginsFolder();
    // True when what Save would write differs from what was last opened or saved.
    bool Unsaved();
    // Opens a description file, a plugin folder or its INF (asking first about unsaved
    // changes); false when nothing was opened.
    bool OpenDocument(const std::string& path);
    // The recent files, newest first, as the File menu lists them.
    std::vector<std::string> RecentFiles() const;
    clsGroupbox* oGroupbox() const { return oGroupbox_.get(); }

protected:
    void Form_Load() override;
    void Form_Activate() override;
    void Form_QueryUnload(bool& cancel) override;
    void Form_KeyDown(int& keyCode, int shift) override;
    void Form_DpiChanged() override;
    bool WindowMessage(UINT msg, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

private:
    // iSubclass: the theme change and the tab strip's notifications.
    LONG_PTR MsgResponse() override { return DefaultThenHandle; }
    void MsgResponse(LONG_PTR) override {}
    LRESULT WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) override;

    void Wire();
    void CreateTabs();
    // What a page needs beyond its template (group boxes, the up-down), when it is made.
    void SetUpPage(int index);
    void CreateExecutableUpDown();
    // Shows the executable slot as the up-down's arrows do, whether or not its page is made.
    void SelectSlot(int slot);
    HFONT GroupBoxFont();
    void LoadListsAndHeaders();
    void KeepPageAfterTabStrip();
    void FitNativeControlsToDpi();
    void ApplyThemeBackColors();

    void EnableControls(bool enable);
    void RefreshControls();
    void LoadMenuGroups();
    void UpdateControlStates();

    // File menu and documents.
    static constexpr int kRecentFiles = 8;
    void WireFile();
    // Ctrl+N, Ctrl+O, Ctrl+S; true (the key swallowed) when it was one of them.
    bool FileMenuKey(int& keyCode, int shift);
    void mnuFile_New_Click();
    void mnuFile_Open_Click();
    void mnuFile_Save_Click();
    void mnuFile_SaveAs_Click();
    void mnuFile_Exit_Click();
    void mnuFile_Recent_Click(int index);
    // Asks whether to save unsaved changes; false when the user cancelled (or saving failed).
    bool ConfirmDiscard();
    bool SaveDocument(bool askForName);
    bool LoadDocument(const std::string& path);
    // Shows the document on the pages and puts it into the model as their handlers do.
    std::vector<std::string> ShowDocument(const PluginDocument& doc);
    // Empties the pages and closes the document.
    void CloseDocument();
    void ClearPages();
    std::string DocumentBytes();
    void MarkSaved();
    void UpdateCaption();
    void NoteChange();
    void LoadRecentFiles();
    void AddRecentFile(const std::string& path);
    void SaveRecentFiles();
    void FillRecentMenu();
    // The document's file or folder name, or its whole path; "Untitled" when there is none.
    std::string DocumentName(bool whole) const;
    // Asks whether to replace the plugin in the folder; true for Yes.
    bool AskReplace(const std::string& pluginFolder);
    // The plugin made elsewhere than the plugins-folder preference, by the document library.
    void CreateThroughBuilder(const std::string& folder, bool replace);

    void mnuSettings_Menu_Click();
    void mnuSettings_Author_Click();
    void mnuSettingsOptions_Click();
    void mnuSettings_Location_Click();
    void mnuHelp_Readme_Click();
    void mnu_Help_About_Click();

    // Information page.
    void txtPluginName_Change();
    void txtPluginName_KeyPress(int& key);
    void txtProgramName_Change();
    void txtProgramName_KeyPress(int& key);
    void txtProgramWebsite_Change();
    void txtProgramWebsite_KeyPress(int& key);
    void txtDescription_Change();
    void chkIncAuthor_Click();
    void cmdResetInformation_Click();

    // Program Files and System Files pages.
    void optCopyOption_Click(int index);
    void cmdGetProgramFiles_Click();
    void SelectProgramFiles();
    void SelectProgramFolder();
    void cmdRemoveProgramFile_Click();
    void cmdResetProgramFiles_Click();
    void cboProgramFilesDestination_Click();
    void lstProgramFiles_OLEDragOver(const std::vector<std::string>* files, int& effect);
    void lstProgramFiles_OLEDragDrop(const std::vector<std::string>& files, int& effect);
    void cmdGetSystemFiles_Click();
    void cmdRemoveSystemFile_Click();
    void cmdResetSystemFiles_Click();
    void cboSystemFilesDestination_Click();
    void lstSystemFiles_OLEDragOver(const std::vector<std::string>* files, int& effect);
    void lstSystemFiles_OLEDragDrop(const std::vector<std::string>& files, int& effect);
    void FillProgramFileList();
    void FillSystemFileList();
    void RemoveSelected(forms::ListBox& list, FileCollection collection);
    // The full paths of a multiple choice in the open dialog: none after a cancel, or after
    // one warning (with the advice) when the choice did not fit the dialog's buffer.
    std::vector<std::string> PickFiles(clsGetOpenFile& dialog, const std::string& tooManyAdvice);
    // True, after one warning naming them, when any of the paths is a folder.
    bool RefuseFolders(const std::vector<std::string>& paths, const std::string& advice);
    // True, after one warning naming them, when any file lies outside the folder of the
    // chosen system destination.
    bool RefuseMisplacedSystemFiles(const std::vector<std::string>& paths);

    // Executables page.
    void txtExecutableGroup_Change();
    void cmdGetExecutable_Click();
    void txtExecutable_Change();
    void txtExecutable_OLEDragOver(const std::vector<std::string>* files, int& effect);
    void txtExecutable_OLEDragDrop(const std::vector<std::string>& files, int& effect);
    void chkIncRamdisk_Click();
    void chkIncAutorun_Click();
    void chkIncZel_Click();
    void chkIncJuxMenu_Click();
    void chkIncJuxDesktop_Click();
    void chkIncJuxQlaunch_Click();
    void txtShortcutName_Change();
    void txtShortcutName_KeyPress(int& key);
    void cboMenuGroup_Change();
    void cboMenuGroup_Click();
    void cboMenuGroup_KeyPress(int& key);
    void chkAppendMenuGroup_Click();
    void cmdResetExecutable_Click(int index);

    // Create, reset, exit.
    void cmdCreatePlugin_Click();
    void cmdReset_Click();
    void cmdExit_Click();
    void ResetAfterCreate();
    // The generated files and the copy; false after a failure the user was told about.
    bool WriteAndCopy();
    void ReportCreateRefusal(int code);
    // After a refusal: the page (and slot) with the first thing the user must change shown,
    // the focus on it and its text selected.
    void ShowWhatMustChange(int code);
    void FocusForChange(int tab, int slot, forms::Control& control);
    bool FocusListLine(int tab, forms::ListBox& list, const std::string& line);

    std::string documentPath_;
    bool documentIsPlugin_ = false;
    std::string documentPluginsFolder_;
    // The menu groups the drop-down was last filled with: every activation reads them, and
    // refilling thousands of unchanged lines would cost seconds.
    std::vector<std::string> menuGroupsShown_;
    bool menuGroupsFilled_ = false;
    // The preferences file as it was when they were read, and the model that read it.
    WIN32_FILE_ATTRIBUTE_DATA menuGroupsStamp_{};
    bool menuGroupsStamped_ = false;
    const clsKitwright* menuGroupsModel_ = nullptr;
    std::string savedBytes_;
    std::vector<std::string> recentFiles_;
    bool changeCheckPending_ = false;
    bool shownUnsaved_ = false;
    bool switchingCopyOption_ = false;
    std::string handedOver_;  // a path a second start or the command line handed over

    std::unique_ptr<clsKitwright> oKW_;
    std::unique_ptr<clsTabs> oTabs_;
    std::unique_ptr<clsGroupbox> oGroupbox_;
    forms::Font groupFont_;  // the group boxes' font at a DPI other than the system's
    std::unique_ptr<clsUpDown> oUpDown_;
    std::unique_ptr<clsSubclass> oSubclass_;
    bool subclassed_ = false;
    // While Create runs: the shell's copy and the messages pump the queue, and a close
    // then would free the model under the running handler.
    bool creating_ = false;
    HWND focusBeforeCreate_ = nullptr;
};

// Makes frmMain the window that Main shows.
void RegisterMainForm();

}  // namespace kw
