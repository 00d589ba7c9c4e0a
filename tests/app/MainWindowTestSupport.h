#pragma once
// Shared by the main-window tests: the real window started through Main in a temporary
// program folder, with the messages recorded, typed keys, clicks and shell drops; the
// pickers are driven by WindowScript's driver.
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <dlgs.h>
#include <ole2.h>
#include <shellapi.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "WindowScript.h"
#include "app/frmMain.h"
#include "app/modMain.h"
#include "platform/Platform.h"
#include "platform/WinText.h"
#include "resources/resource.h"

namespace kwtest {

namespace fs = std::filesystem;
using namespace kw::forms;

using kwscript::PickerDriver;
using kwscript::PickerScript;
using kwscript::RecordingPrompt;
using kwscript::ShownMessage;

// A shell file list of UTF-8 paths, or (hasFiles false) a drag of something else.
class FileData : public kwscript::FileDropData {
public:
    explicit FileData(const std::vector<std::string>& files, bool hasFiles = true) : FileDropData(Wide(files), hasFiles)
    {
    }

private:
    static std::vector<std::wstring> Wide(const std::vector<std::string>& files)
    {
        std::vector<std::wstring> wide;
        for (const auto& f : files)
            wide.push_back(kw::Widen(f));
        return wide;
    }
};

inline std::wstring DisplayName(const std::string& path)
{
    SHFILEINFOW info{};
    SHGetFileInfoW(kw::Widen(path).c_str(), 0, &info, sizeof(info), SHGFI_DISPLAYNAME);
    return info.szDisplayName;
}

inline std::string ReadAll(const std::string& path)
{
    std::ifstream in(fs::path(kw::Widen(path)), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The real main window, started as the program starts it, in a program folder of its own.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        fs::path base = fs::temp_directory_path() /
                        (std::string("kwmain-") + info->name() + "-" + std::to_string(std::random_device{}() % 100000));
        fs::remove_all(base);
        fs::create_directories(base);
        root = kw::Narrow(base.wstring());
        programFolder = root + "\\prog";
        plugins = root + "\\plugins\\";
        systemFolder = root + "\\win\\system32";
        fs::create_directories(fs::path(kw::Widen(programFolder)));
        fs::create_directories(fs::path(kw::Widen(plugins)));
        fs::create_directories(fs::path(kw::Widen(systemFolder)));
        kw::platform::SetProgramFolderForTesting(programFolder);
        kw::platform::SetSpecialFolderForTesting(kw::platform::kCsidlWindows, root + "\\win");
        kw::platform::SetSpecialFolderForTesting(kw::platform::kCsidlSystem, systemFolder);
        kw::platform::SetShellOpenHookForTesting(
            [this](kw::NativeHandle, std::string_view verb, std::string_view file, std::string_view) {
                opened.push_back(std::string(verb) + " " + std::string(file));
            });
        previousPrompt = kw::platform::SetPrompt(&prompt);

        current_ = this;
        kw::RegisterMainForm();
        kw::Main();
        ASSERT_NE(kw::MainForm(), nullptr);
        f = static_cast<kw::frmMain*>(kw::MainForm());
        DoEvents();
        SetForegroundWindow(f->hWnd());
        DoEvents();
        f->oKW().PluginLocation(plugins);
    }

    void TearDown() override
    {
        kw::UnloadAllForms();
        DoEvents();
        kw::platform::SetPrompt(previousPrompt);
        kw::platform::SetShellOpenHookForTesting({});
        kw::platform::SetProgramFolderForTesting({});
        kw::platform::SetSpecialFolderForTesting(kw::platform::kCsidlWindows, {});
        kw::platform::SetSpecialFolderForTesting(kw::platform::kCsidlSystem, {});
        std::error_code ec;
        for (auto& entry : fs::recursive_directory_iterator(fs::path(kw::Widen(root)), ec))
            SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
        fs::remove_all(fs::path(kw::Widen(root)), ec);
    }

    // A small file under the test's folder, its folders made as needed.
    std::string MakeFile(const std::string& relative, const std::string& content = "x")
    {
        std::string path = root + "\\" + relative;
        fs::path p(kw::Widen(path));
        fs::create_directories(p.parent_path());
        std::ofstream(p, std::ios::binary) << content;
        return path;
    }

    void ShowTab(int tab)
    {
        // As a click does: the selection changes and the strip notifies its parent.
        HWND strip = f->oTabs()->hWnd();
        RECT r{};
        SendMessageW(strip, TCM_GETITEMRECT, static_cast<WPARAM>(tab - 1), reinterpret_cast<LPARAM>(&r));
        LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        SendMessageW(strip, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(strip, WM_LBUTTONUP, 0, at);
        DoEvents();
    }

    // A user reaches a control on its page: the tabs are clicked in turn until it shows
    // (a page is made when its tab is first shown).
    void ShowPageOf(Control& c)
    {
        for (int tab = 1; tab <= 4; ++tab) {
            if (c.hWnd() && IsWindowVisible(c.hWnd()))
                return;
            ShowTab(tab);
        }
    }

    // Every page made, as after a user looked at each; the first page shown again.
    void ShowEveryPage()
    {
        for (int tab = 4; tab >= 1; --tab)
            ShowTab(tab);
    }

    void Type(Control& c, const std::string& chars)
    {
        ShowPageOf(c);
        c.SetFocus();
        DoEvents();
        HWND focus = GetFocus();
        ASSERT_NE(focus, nullptr);
        for (unsigned char ch : chars)
            PostMessageW(focus, WM_CHAR, ch, 1);
        DoEvents();
    }
    void Key(UINT vk)
    {
        HWND focus = GetFocus();
        ASSERT_NE(focus, nullptr);
        PostMessageW(focus, WM_KEYDOWN, vk, 1);
        PostMessageW(focus, WM_KEYUP, vk, 0xC0000001);
        DoEvents();
    }
    // The key with Ctrl (and Shift) held, as the thread's key state shows them.
    void CtrlKey(UINT vk, bool shift = false)
    {
        BYTE keys[256]{};
        GetKeyboardState(keys);
        keys[VK_CONTROL] = 0x80;
        keys[VK_SHIFT] = shift ? 0x80 : 0;
        SetKeyboardState(keys);
        Key(vk);
        keys[VK_CONTROL] = keys[VK_SHIFT] = 0;
        SetKeyboardState(keys);
    }
    void Click(Control& c)
    {
        ShowPageOf(c);
        ASSERT_TRUE(IsWindowEnabled(c.hWnd())) << c.Id();
        SendMessageW(c.hWnd(), BM_CLICK, 0, 0);
        DoEvents();
    }
    void Menu(int id)
    {
        SendMessageW(f->hWnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
        DoEvents();
    }
    // Drags the files over the control and drops them, as the shell does; returns the
    // effect the drop ended with.
    DWORD Drop(Control& c, FileData& data)
    {
        ShowPageOf(c);
        IDropTarget* target = c.RegisteredDropTarget();
        EXPECT_NE(target, nullptr);
        if (!target)
            return DROPEFFECT_NONE;
        POINTL pt{5, 5};
        DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
        target->DragEnter(&data, MK_LBUTTON, pt, &effect);
        effect = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
        target->DragOver(MK_LBUTTON, pt, &effect);
        effect = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
        target->Drop(&data, 0, pt, &effect);
        DoEvents();
        return effect;
    }
    static std::vector<std::string> Items(const ListBox& list)
    {
        std::vector<std::string> out;
        for (int i = 0; i < list.ListCount(); ++i)
            out.push_back(list.List(i));
        return out;
    }
    // Runs script inside the modal loop of the form that action opens; the script closes it.
    void WhileModal(const std::function<void()>& action, const std::function<void(HWND dialog)>& script)
    {
        modalScript_ = &script;
        modalRan_ = false;
        UINT_PTR timer = SetTimer(nullptr, 0, 10, ModalTick);
        action();
        if (!modalRan_)
            KillTimer(nullptr, timer);
        EXPECT_TRUE(modalRan_) << "no modal form ran";
        EXPECT_EQ(Form::Forms().size(), 1u);
    }
    static void ClickIn(HWND dialog, int id)
    {
        SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
        DoEvents();
    }
    int DefaultId() const { return LOWORD(SendMessageW(f->hWnd(), DM_GETDEFID, 0, 0)); }
    // Enter presses nothing: the dialog manager has no default id, or one that names no
    // control (IDOK before any was set), and no command button looks like the default.
    bool NoDefaultButton() const
    {
        const LRESULT id = SendMessageW(f->hWnd(), DM_GETDEFID, 0, 0);
        auto looksDefault = [](const Control& c) {
            return (GetWindowLongW(c.hWnd(), GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
        };
        return (HIWORD(id) != DC_HASDEFID || !GetDlgItem(f->hWnd(), LOWORD(id))) && !looksDefault(f->cmdCreatePlugin) &&
               !looksDefault(f->cmdReset) && !looksDefault(f->cmdExit);
    }

    kw::frmMain* f = nullptr;
    bool mainDisabledWhileModal = false;
    RecordingPrompt prompt;
    kw::platform::iPrompt* previousPrompt = nullptr;
    std::vector<std::string> opened;
    std::string root, programFolder, plugins, systemFolder;

private:
    static void CALLBACK ModalTick(HWND, UINT, UINT_PTR id, DWORD)
    {
        KillTimer(nullptr, id);
        modalRan_ = true;
        auto forms = Form::Forms();
        if (forms.size() < 2) {
            ADD_FAILURE() << "no modal form is open";
            return;
        }
        current_->mainDisabledWhileModal = !IsWindowEnabled(forms.front()->hWnd());
        (*modalScript_)(forms.back()->hWnd());
        for (size_t i = 1; i < Form::Forms().size(); ++i) {
            ADD_FAILURE() << "the script left the form open";
            PostMessageW(Form::Forms()[i]->hWnd(), WM_CLOSE, 0, 0);
        }
    }
    static inline const std::function<void(HWND)>* modalScript_ = nullptr;
    static inline bool modalRan_ = false;

protected:
    static inline MainWindowTest* current_ = nullptr;
};

}  // namespace kwtest
