#pragma once
// A program folder of its own with a Kitwright.ini for each test, and a way to drive a
// modal dialog from inside its own message loop with real keys, characters and clicks.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <random>
#include <string>

#include "model/clsKitwright.h"
#include "platform/Platform.h"
#include "platform/WinText.h"
#include "resources/resource.h"
#include "winsupport/forms/Forms.h"

namespace dlgtest {

namespace fs = std::filesystem;
using kw::forms::DoEvents;

class NoPrompt : public kw::platform::iPrompt {
public:
    int Show(kw::NativeHandle, std::string_view text, std::string_view, unsigned) override
    {
        ADD_FAILURE() << "unexpected message: " << text;
        return kw::platform::kIdOk;
    }
};

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder_ = fs::temp_directory_path() / ("kwdlg-" + std::to_string(std::random_device{}()));
        fs::create_directories(folder_);
        kw::platform::SetProgramFolderForTesting(folder_.string());
        previous_ = kw::platform::SetPrompt(&prompt_);
    }
    void TearDown() override
    {
        model_.reset();
        kw::platform::SetPrompt(previous_);
        kw::platform::SetProgramFolderForTesting({});
        fs::remove_all(folder_);
    }

    // The settings file as the model will find it when first asked for.
    void WriteIni(const std::string& bytes) { std::ofstream(folder_ / "Kitwright.ini", std::ios::binary) << bytes; }
    std::string Ini() const
    {
        std::ifstream in(folder_ / "Kitwright.ini", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    kw::clsKitwright& Model()
    {
        if (!model_)
            model_ = std::make_unique<kw::clsKitwright>();
        return *model_;
    }

    // Calls show (an entry point); once its dialog is up (dlg), script runs inside the
    // dialog's own modal loop and closes it.
    void Drive(const std::function<void()>& show, const std::function<void()>& script)
    {
        pending_ = &script;
        ran_ = false;
        UINT_PTR timer = SetTimer(nullptr, 0, 10, Tick);
        show();
        if (!ran_)
            KillTimer(nullptr, timer);
        EXPECT_TRUE(ran_) << "the dialog never ran its loop";
        EXPECT_TRUE(kw::forms::Form::Forms().empty());
    }

    HWND Item(int id) const { return GetDlgItem(dlg, id); }
    std::string Text(int id) const
    {
        wchar_t buf[512]{};
        GetWindowTextW(Item(id), buf, 512);
        return kw::Narrow(buf);
    }
    bool Enabled(int id) const { return IsWindowEnabled(Item(id)) != FALSE; }
    // The button Enter presses, 0 for none.
    int DefaultId() const
    {
        LRESULT r = SendMessageW(dlg, DM_GETDEFID, 0, 0);
        return HIWORD(r) == DC_HASDEFID ? LOWORD(r) : 0;
    }
    void Focus(int id)
    {
        SetFocus(Item(id));
        DoEvents();
    }
    void Type(const std::string& utf8)
    {
        for (wchar_t ch : kw::Widen(utf8))
            PostMessageW(GetFocus(), WM_CHAR, ch, 1);
        DoEvents();
    }
    // Through the dialog manager, as the user's key would go.
    void Key(UINT vk)
    {
        HWND target = GetFocus() ? GetFocus() : dlg;
        PostMessageW(target, WM_KEYDOWN, vk, 1);
        PostMessageW(target, WM_KEYUP, vk, 0xC0000001);
        DoEvents();
    }
    void Click(int id)
    {
        SendMessageW(Item(id), BM_CLICK, 0, 0);
        DoEvents();
    }
    void CloseBox()
    {
        PostMessageW(dlg, WM_SYSCOMMAND, SC_CLOSE, 0);
        DoEvents();
    }

    static inline HWND dlg = nullptr;

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD)
    {
        KillTimer(nullptr, id);
        ran_ = true;
        auto forms = kw::forms::Form::Forms();
        dlg = forms.empty() ? nullptr : forms.back()->hWnd();
        (*pending_)();
        // A script that failed half-way must not leave the test waiting for ever.
        for (kw::forms::Form* open : kw::forms::Form::Forms()) {
            ADD_FAILURE() << "the script left the dialog open";
            PostMessageW(open->hWnd(), WM_CLOSE, 0, 0);
        }
    }
    static inline const std::function<void()>* pending_ = nullptr;
    static inline bool ran_ = false;

    fs::path folder_;
    NoPrompt prompt_;
    kw::platform::iPrompt* previous_ = nullptr;
    std::unique_ptr<kw::clsKitwright> model_;
};

}  // namespace dlgtest
