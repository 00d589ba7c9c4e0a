#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "TestWindows.h"
#include "platform/Platform.h"
#include "platform/RuntimeError.h"
#include "winsupport/clsSubclass.h"

namespace {

constexpr UINT kMsgA = WM_APP + 1;
constexpr UINT kMsgB = WM_APP + 2;
constexpr LRESULT kOwnResult = 111;

std::vector<std::string> g_log;
LONG_PTR g_procAtDestroy = 0;  // the window's procedure while its own WM_DESTROY ran

std::wstring Key(HWND h, const std::wstring& rest = {})
{
    return std::to_wstring(reinterpret_cast<LONG_PTR>(h)) + rest;
}

std::wstring MsgKey(HWND h, UINT msg, const std::wstring& rest) { return Key(h, L"#" + std::to_wstring(msg) + rest); }

LONG_PTR Prop(HWND h, const std::wstring& key) { return reinterpret_cast<LONG_PTR>(GetPropW(h, key.c_str())); }

LRESULT CALLBACK OwnProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case kMsgA:
    case kMsgB: g_log.push_back("own"); return kOwnResult;
    case WM_DESTROY: g_procAtDestroy = GetWindowLongPtrW(hwnd, GWLP_WNDPROC); return 0;
    default: return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

struct Handler : kw::iSubclass {
    Handler(std::string n, LONG_PTR m, LRESULT r) : name(std::move(n)), mode(m), result(r) {}
    LONG_PTR MsgResponse() override
    {
        ++responseReads;
        return mode;
    }
    void MsgResponse(LONG_PTR v) override { mode = v; }
    LRESULT WindowProc(HWND, UINT, WPARAM, LPARAM) override
    {
        g_log.push_back(name);
        if (onCall)
            onCall();
        return result;
    }
    LONG_PTR Ptr() { return reinterpret_cast<LONG_PTR>(static_cast<kw::iSubclass*>(this)); }

    std::string name;
    LONG_PTR mode;
    LRESULT result;
    int responseReads = 0;
    std::function<void()> onCall;
};

using Log = std::vector<std::string>;

BOOL CALLBACK CountBookkeeping(HWND hwnd, LPWSTR key, HANDLE, ULONG_PTR count)
{
    if (!IS_INTRESOURCE(key) && std::wstring(key).rfind(Key(hwnd), 0) == 0)
        ++*reinterpret_cast<int*>(count);
    return TRUE;
}

int BookkeepingCount(HWND hwnd)
{
    int n = 0;
    EnumPropsExW(hwnd, CountBookkeeping, reinterpret_cast<LPARAM>(&n));
    return n;
}

// Runs f and checks it raises the subclasser's error code.
template <typename F>
void ExpectSubclassError(F f, long code, const char* description)
{
    try {
        f();
        ADD_FAILURE() << "no error " << code;
    } catch (const kw::RuntimeError& e) {
        EXPECT_EQ(e.Number(), static_cast<std::int32_t>(0x80040000u + static_cast<std::uint32_t>(code)));
        EXPECT_EQ(e.Description(), description);
        EXPECT_EQ(e.Source(), "winsupport_subclass_test.WindowProc");
    }
}

class SubclassTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        kwtest::RegisterClassOnce(L"KwSubclassTarget", OwnProc);
        hwnd = NewTarget();
        ASSERT_NE(hwnd, nullptr);
        original = GetWindowLongPtrW(hwnd, GWLP_WNDPROC);
        g_log.clear();
    }
    void TearDown() override
    {
        if (IsWindow(hwnd))
            DestroyWindow(hwnd);
    }
    static HWND NewTarget()
    {
        return CreateWindowExW(0, L"KwSubclassTarget", L"target", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    }
    LRESULT Send(UINT msg)
    {
        g_log.clear();
        return SendMessageW(hwnd, msg, 0, 0);
    }

    HWND hwnd = nullptr;
    LONG_PTR original = 0;
    kw::clsSubclass sub;
};

TEST_F(SubclassTest, ResponseModesDecideWhoRunsAndWhatTheSenderGets)
{
    struct Case {
        LONG_PTR mode;
        Log order;
        LRESULT result;
    } const cases[] = {
        {kw::HandleOnly, {"A"}, 222},
        {kw::HandleThenDefault, {"A", "own"}, kOwnResult},
        {kw::DefaultThenHandle, {"own", "A"}, 222},
    };
    for (const Case& c : cases) {
        Handler a("A", c.mode, 222);
        UINT current = 0;
        a.onCall = [&] { current = sub.CurrentMessage(); };
        sub.AttachMessage(&a, hwnd, kMsgA);
        EXPECT_EQ(Send(kMsgA), c.result) << "mode " << c.mode;
        EXPECT_EQ(g_log, c.order) << "mode " << c.mode;
        EXPECT_EQ(current, kMsgA);
        // Messages nobody attached to go straight to the window.
        EXPECT_EQ(Send(kMsgB), kOwnResult);
        EXPECT_EQ(g_log, Log{"own"});
        sub.DetachMessage(&a, hwnd, kMsgA);
    }
}

TEST_F(SubclassTest, FirstHandlerDecidesBeforeAndLastDecidesAfter)
{
    Handler a("A", kw::DefaultThenHandle, 1), b("B", kw::HandleThenDefault, 2), c("C", kw::HandleThenDefault, 3);
    for (Handler* h : {&a, &b, &c})
        sub.AttachMessage(h, hwnd, kMsgA);
    // The window already ran first, so it does not run again after the handlers.
    EXPECT_EQ(Send(kMsgA), 3);
    EXPECT_EQ(g_log, (Log{"own", "A", "B", "C"}));

    a.mode = kw::HandleOnly;
    b.mode = kw::DefaultThenHandle;
    EXPECT_EQ(Send(kMsgA), kOwnResult);
    EXPECT_EQ(g_log, (Log{"A", "B", "C", "own"}));
    EXPECT_EQ(b.responseReads, 0);
    for (Handler* h : {&a, &b, &c})
        sub.DetachMessage(h, hwnd, kMsgA);
}

TEST_F(SubclassTest, BookkeepingLivesInThePropertyListAndGoesAtTheLastDetach)
{
    Handler a("A", kw::HandleOnly, 5);
    sub.AttachMessage(&a, hwnd, kMsgA);
    const LONG_PTR hooked = GetWindowLongPtrW(hwnd, GWLP_WNDPROC);
    EXPECT_NE(hooked, original);
    EXPECT_EQ(Prop(hwnd, Key(hwnd)), original);
    EXPECT_EQ(Prop(hwnd, Key(hwnd, L"C")), 1);
    EXPECT_EQ(Prop(hwnd, MsgKey(hwnd, kMsgA, L"C")), 1);
    EXPECT_EQ(Prop(hwnd, MsgKey(hwnd, kMsgA, L"#1")), a.Ptr());

    // A second message shares the hook: the procedure is not replaced again.
    sub.AttachMessage(&a, hwnd, kMsgB);
    EXPECT_EQ(GetWindowLongPtrW(hwnd, GWLP_WNDPROC), hooked);
    EXPECT_EQ(Prop(hwnd, Key(hwnd)), original);
    EXPECT_EQ(Prop(hwnd, Key(hwnd, L"C")), 2);

    sub.DetachMessage(&a, hwnd, kMsgA);
    EXPECT_EQ(GetWindowLongPtrW(hwnd, GWLP_WNDPROC), hooked);
    EXPECT_EQ(Prop(hwnd, MsgKey(hwnd, kMsgA, L"C")), 0);
    EXPECT_EQ(Send(kMsgA), kOwnResult);

    sub.DetachMessage(&a, hwnd, kMsgB);
    EXPECT_EQ(GetWindowLongPtrW(hwnd, GWLP_WNDPROC), original);
    EXPECT_EQ(BookkeepingCount(hwnd), 0);
    EXPECT_EQ(Send(kMsgB), kOwnResult);
    EXPECT_EQ(g_log, Log{"own"});
}

TEST_F(SubclassTest, DetachingTheMiddleOfThreeClosesTheGapInOrder)
{
    Handler a("A", kw::HandleOnly, 1), b("B", kw::HandleOnly, 2), c("C", kw::HandleOnly, 3);
    for (Handler* h : {&a, &b, &c})
        sub.AttachMessage(h, hwnd, kMsgA);
    sub.DetachMessage(&b, hwnd, kMsgA);

    EXPECT_EQ(Prop(hwnd, MsgKey(hwnd, kMsgA, L"C")), 2);
    EXPECT_EQ(Prop(hwnd, MsgKey(hwnd, kMsgA, L"#1")), a.Ptr());
    EXPECT_EQ(Prop(hwnd, MsgKey(hwnd, kMsgA, L"#2")), c.Ptr());
    EXPECT_EQ(Prop(hwnd, MsgKey(hwnd, kMsgA, L"#3")), 0);
    EXPECT_EQ(Prop(hwnd, Key(hwnd, L"C")), 2);
    EXPECT_EQ(Send(kMsgA), 3);
    EXPECT_EQ(g_log, (Log{"A", "C"}));
    sub.DetachMessage(&a, hwnd, kMsgA);
    sub.DetachMessage(&c, hwnd, kMsgA);
    EXPECT_EQ(GetWindowLongPtrW(hwnd, GWLP_WNDPROC), original);
}

TEST_F(SubclassTest, RefusalsChangeNothingAndDetachIsSilent)
{
    Handler a("A", kw::HandleOnly, 1);
    sub.AttachMessage(&a, hwnd, kMsgA);
    ExpectSubclassError([&] { sub.AttachMessage(&a, hwnd, kMsgA); }, 13082, "Message already handled by another class");
    EXPECT_EQ(Prop(hwnd, MsgKey(hwnd, kMsgA, L"C")), 1);
    EXPECT_EQ(Prop(hwnd, MsgKey(hwnd, kMsgA, L"#2")), 0);
    EXPECT_EQ(Prop(hwnd, Key(hwnd, L"C")), 1);
    EXPECT_NO_THROW(sub.AttachMessage(&a, hwnd, kMsgB));

    HWND gone = NewTarget();
    DestroyWindow(gone);
    ExpectSubclassError([&] { sub.AttachMessage(&a, gone, kMsgA); }, 13083, "Invalid window");
    EXPECT_NO_THROW(sub.DetachMessage(&a, gone, kMsgA));
    Handler stranger("S", kw::HandleOnly, 0);
    EXPECT_NO_THROW(sub.DetachMessage(&stranger, hwnd, kMsgA));
    EXPECT_EQ(Prop(hwnd, Key(hwnd, L"C")), 2);

    // Attached, then the window went away without a detach.
    HWND doomed = NewTarget();
    sub.AttachMessage(&a, doomed, kMsgA);
    DestroyWindow(doomed);
    EXPECT_NO_THROW(sub.DetachMessage(&a, doomed, kMsgA));
    sub.DetachMessage(&a, hwnd, kMsgA);
    sub.DetachMessage(&a, hwnd, kMsgB);
}

TEST_F(SubclassTest, WindowOfAnotherProcessIsRefused)
{
    wchar_t exe[MAX_PATH]{};
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring helper(exe);
    helper.erase(helper.find_last_of(L'\\') + 1);
    helper += L"kw_foreign_window.exe";
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    std::wstring cmd = L"\"" + helper + L"\"";
    ASSERT_TRUE(CreateProcessW(helper.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    HWND foreign = nullptr;
    for (int i = 0; i < 200 && !foreign; ++i) {
        foreign = FindWindowW(L"KwForeignWindow", L"kw foreign window");
        if (!foreign)
            Sleep(50);
    }
    EXPECT_NE(foreign, nullptr);
    if (foreign) {
        Handler a("A", kw::HandleOnly, 1);
        ExpectSubclassError([&] { sub.AttachMessage(&a, foreign, kMsgA); }, 13084, "Can't modify external window");
        EXPECT_EQ(BookkeepingCount(foreign), 0);
        EXPECT_NO_THROW(sub.DetachMessage(&a, foreign, kMsgA));
        PostMessageW(foreign, WM_CLOSE, 0, 0);
    }
    EXPECT_EQ(WaitForSingleObject(pi.hProcess, 10000), WAIT_OBJECT_0);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
}

TEST_F(SubclassTest, DestroyUnhooksUnlessAHandlerWantsIt)
{
    Handler a("A", kw::HandleOnly, 1);
    sub.AttachMessage(&a, hwnd, kMsgA);
    DestroyWindow(hwnd);
    // The window's own WM_DESTROY already ran with its own procedure back in place.
    EXPECT_EQ(g_procAtDestroy, original);

    hwnd = NewTarget();
    Handler d("D", kw::HandleThenDefault, 0);
    sub.AttachMessage(&d, hwnd, WM_DESTROY);
    const LONG_PTR hooked = GetWindowLongPtrW(hwnd, GWLP_WNDPROC);
    g_log.clear();
    DestroyWindow(hwnd);
    EXPECT_EQ(g_log, Log{"D"});
    EXPECT_EQ(g_procAtDestroy, hooked);
}

struct RecordingPrompt : kw::platform::iPrompt {
    int Show(kw::NativeHandle, std::string_view text, std::string_view, unsigned) override
    {
        texts.emplace_back(text);
        return kw::platform::kIdOk;
    }
    std::vector<std::string> texts;
};

TEST_F(SubclassTest, HandlerErrorsStopAtTheWindowProcedure)
{
    RecordingPrompt prompt;
    kw::platform::iPrompt* before = kw::platform::SetPrompt(&prompt);
    Handler a("A", kw::HandleOnly, 9);
    a.onCall = [] { throw kw::RuntimeError(kw::kErrSubscript); };
    sub.AttachMessage(&a, hwnd, kMsgA);
    EXPECT_EQ(Send(kMsgA), 0);
    ASSERT_EQ(prompt.texts.size(), 1u);
    EXPECT_NE(prompt.texts[0].find("Subscript out of range"), std::string::npos);
    sub.DetachMessage(&a, hwnd, kMsgA);
    kw::platform::SetPrompt(before);
}

struct ThrowingPrompt : kw::platform::iPrompt {
    int Show(kw::NativeHandle, std::string_view, std::string_view, unsigned) override
    {
        ++calls;
        throw std::runtime_error("no way to show a message");
    }
    int calls = 0;
};

TEST_F(SubclassTest, APromptThatFailsDoesNotLeaveTheWindowProcedure)
{
    ThrowingPrompt prompt;
    kw::platform::iPrompt* before = kw::platform::SetPrompt(&prompt);
    Handler a("A", kw::HandleOnly, 9);
    a.onCall = [] { throw kw::RuntimeError(kw::kErrSubscript); };
    sub.AttachMessage(&a, hwnd, kMsgA);
    LRESULT result = -1;
    EXPECT_NO_THROW(result = Send(kMsgA));
    EXPECT_EQ(result, 0);
    EXPECT_EQ(prompt.calls, 1);
    sub.DetachMessage(&a, hwnd, kMsgA);
    kw::platform::SetPrompt(before);
}

}  // namespace
