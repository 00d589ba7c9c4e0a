#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
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

// What the window's own procedure saw of its hook while WM_DESTROY ran.
struct DestroySnapshot {
    bool seen = false;
    LONG_PTR proc = 0;
    HANDLE prevProp = nullptr;
    HANDLE useProp = nullptr;
};
DestroySnapshot g_destroy;

std::wstring Key(HWND h, const std::wstring& rest = {})
{
    return std::to_wstring(reinterpret_cast<LONG_PTR>(h)) + rest;
}

LONG_PTR Prop(HWND h, const std::wstring& key)
{
    return reinterpret_cast<LONG_PTR>(GetPropW(h, key.c_str()));
}

LRESULT CALLBACK OwnProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case kMsgA:
    case kMsgB:
        g_log.push_back("own");
        return kOwnResult;
    case WM_DESTROY:
        g_destroy.seen = true;
        g_destroy.proc = GetWindowLongPtrW(hwnd, GWLP_WNDPROC);
        g_destroy.prevProp = GetPropW(hwnd, Key(hwnd).c_str());
        g_destroy.useProp = GetPropW(hwnd, Key(hwnd, L"C").c_str());
        return 0;
    default:
        return DefWindowProcW(hwnd, msg, wParam, lParam);
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
    LRESULT WindowProc(HWND, UINT msg, WPARAM, LPARAM) override
    {
        g_log.push_back(name);
        seen = sub ? sub->CurrentMessage() : 0;
        if (onCall)
            onCall(msg);
        return result;
    }

    std::string name;
    LONG_PTR mode;
    LRESULT result;
    int responseReads = 0;
    kw::clsSubclass* sub = nullptr;
    UINT seen = 0;
    std::function<void(UINT)> onCall;
};

long ItfNumber(long code)
{
    return static_cast<std::int32_t>(0x80040000u + static_cast<std::uint32_t>(code));
}

struct PropCount {
    std::wstring prefix;
    int n = 0;
};

BOOL CALLBACK CountBookkeeping(HWND, LPWSTR key, HANDLE, ULONG_PTR param)
{
    auto* c = reinterpret_cast<PropCount*>(param);
    if (!IS_INTRESOURCE(key) && std::wstring(key).rfind(c->prefix, 0) == 0)
        ++c->n;
    return TRUE;
}

// Bookkeeping entries of hwnd still in its property list.
int BookkeepingCount(HWND hwnd)
{
    PropCount c{Key(hwnd), 0};
    EnumPropsExW(hwnd, CountBookkeeping, reinterpret_cast<LPARAM>(&c));
    return c.n;
}

class SubclassTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        kwtest::RegisterClassOnce(L"KwSubclassTarget", OwnProc);
        hwnd = CreateWindowExW(0, L"KwSubclassTarget", L"target", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                               nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(hwnd, nullptr);
        original = GetWindowLongPtrW(hwnd, GWLP_WNDPROC);
        g_log.clear();
        g_destroy = {};
    }
    void TearDown() override
    {
        if (IsWindow(hwnd))
            DestroyWindow(hwnd);
    }

    HWND hwnd = nullptr;
    LONG_PTR original = 0;
    kw::clsSubclass sub;
};

TEST_F(SubclassTest, ResponseModesDecideWhoRunsAndWhatTheSenderGets)
{
    struct Case {
        LONG_PTR mode;
        std::vector<std::string> order;
        LRESULT result;
    };
    const Case cases[] = {
        {kw::HandleOnly, {"A"}, 222},
        {kw::HandleThenDefault, {"A", "own"}, kOwnResult},
        {kw::DefaultThenHandle, {"own", "A"}, 222},
    };
    for (const Case& c : cases) {
        Handler a("A", c.mode, 222);
        sub.AttachMessage(&a, hwnd, kMsgA);
        g_log.clear();
        EXPECT_EQ(SendMessageW(hwnd, kMsgA, 0, 0), c.result) << "mode " << c.mode;
        EXPECT_EQ(g_log, c.order) << "mode " << c.mode;
        // Messages nobody attached to go straight to the window.
        g_log.clear();
        EXPECT_EQ(SendMessageW(hwnd, kMsgB, 0, 0), kOwnResult);
        EXPECT_EQ(g_log, std::vector<std::string>{"own"});
        sub.DetachMessage(&a, hwnd, kMsgA);
    }
}

TEST_F(SubclassTest, FirstHandlerDecidesBeforeLastDecidesAfter)
{
    {
        Handler a("A", kw::DefaultThenHandle, 1), b("B", kw::HandleThenDefault, 2), c("C", kw::HandleThenDefault, 3);
        for (Handler* h : {&a, &b, &c})
            sub.AttachMessage(h, hwnd, kMsgA);
        // The window already ran first: it is not called again after the handlers.
        EXPECT_EQ(SendMessageW(hwnd, kMsgA, 0, 0), 3);
        EXPECT_EQ(g_log, (std::vector<std::string>{"own", "A", "B", "C"}));
        EXPECT_EQ(b.responseReads, 0);
        for (Handler* h : {&a, &b, &c})
            sub.DetachMessage(h, hwnd, kMsgA);
    }
    g_log.clear();
    {
        Handler a("A", kw::HandleOnly, 1), b("B", kw::DefaultThenHandle, 2), c("C", kw::HandleThenDefault, 3);
        for (Handler* h : {&a, &b, &c})
            sub.AttachMessage(h, hwnd, kMsgA);
        EXPECT_EQ(SendMessageW(hwnd, kMsgA, 0, 0), kOwnResult);
        EXPECT_EQ(g_log, (std::vector<std::string>{"A", "B", "C", "own"}));
        EXPECT_EQ(b.responseReads, 0);
        for (Handler* h : {&a, &b, &c})
            sub.DetachMessage(h, hwnd, kMsgA);
    }
    g_log.clear();
    {
        Handler a("A", kw::HandleThenDefault, 1), b("B", kw::HandleOnly, 2);
        sub.AttachMessage(&a, hwnd, kMsgA);
        sub.AttachMessage(&b, hwnd, kMsgA);
        EXPECT_EQ(SendMessageW(hwnd, kMsgA, 0, 0), 2);
        EXPECT_EQ(g_log, (std::vector<std::string>{"A", "B"}));
        sub.DetachMessage(&a, hwnd, kMsgA);
        sub.DetachMessage(&b, hwnd, kMsgA);
    }
}

TEST_F(SubclassTest, BookkeepingLivesInThePropertyListAndGoesAtTheLastDetach)
{
    Handler a("A", kw::HandleOnly, 5);
    sub.AttachMessage(&a, hwnd, kMsgA);
    const LONG_PTR hooked = GetWindowLongPtrW(hwnd, GWLP_WNDPROC);
    EXPECT_NE(hooked, original);
    EXPECT_EQ(Prop(hwnd, Key(hwnd)), original);
    EXPECT_EQ(Prop(hwnd, Key(hwnd, L"C")), 1);
    const std::wstring msgKey = Key(hwnd, L"#" + std::to_wstring(kMsgA));
    EXPECT_EQ(Prop(hwnd, msgKey + L"C"), 1);
    EXPECT_EQ(Prop(hwnd, msgKey + L"#1"), reinterpret_cast<LONG_PTR>(static_cast<kw::iSubclass*>(&a)));

    // A second message shares the hook: the procedure is not replaced again.
    sub.AttachMessage(&a, hwnd, kMsgB);
    EXPECT_EQ(GetWindowLongPtrW(hwnd, GWLP_WNDPROC), hooked);
    EXPECT_EQ(Prop(hwnd, Key(hwnd)), original);
    EXPECT_EQ(Prop(hwnd, Key(hwnd, L"C")), 2);
    EXPECT_EQ(SendMessageW(hwnd, kMsgB, 0, 0), 5);

    sub.DetachMessage(&a, hwnd, kMsgA);
    EXPECT_EQ(GetWindowLongPtrW(hwnd, GWLP_WNDPROC), hooked);
    EXPECT_EQ(Prop(hwnd, msgKey + L"C"), 0);
    EXPECT_EQ(Prop(hwnd, Key(hwnd, L"C")), 1);
    g_log.clear();
    EXPECT_EQ(SendMessageW(hwnd, kMsgA, 0, 0), kOwnResult);

    sub.DetachMessage(&a, hwnd, kMsgB);
    EXPECT_EQ(GetWindowLongPtrW(hwnd, GWLP_WNDPROC), original);
    EXPECT_EQ(BookkeepingCount(hwnd), 0);
    g_log.clear();
    EXPECT_EQ(SendMessageW(hwnd, kMsgB, 0, 0), kOwnResult);
    EXPECT_EQ(g_log, std::vector<std::string>{"own"});
}

TEST_F(SubclassTest, DetachingTheMiddleOfThreeClosesTheGapInOrder)
{
    Handler a("A", kw::HandleOnly, 1), b("B", kw::HandleOnly, 2), c("C", kw::HandleOnly, 3);
    for (Handler* h : {&a, &b, &c})
        sub.AttachMessage(h, hwnd, kMsgA);
    sub.DetachMessage(&b, hwnd, kMsgA);

    const std::wstring msgKey = Key(hwnd, L"#" + std::to_wstring(kMsgA));
    EXPECT_EQ(Prop(hwnd, msgKey + L"C"), 2);
    EXPECT_EQ(Prop(hwnd, msgKey + L"#1"), reinterpret_cast<LONG_PTR>(static_cast<kw::iSubclass*>(&a)));
    EXPECT_EQ(Prop(hwnd, msgKey + L"#2"), reinterpret_cast<LONG_PTR>(static_cast<kw::iSubclass*>(&c)));
    EXPECT_EQ(Prop(hwnd, msgKey + L"#3"), 0);
    EXPECT_EQ(Prop(hwnd, Key(hwnd, L"C")), 2);
    EXPECT_EQ(SendMessageW(hwnd, kMsgA, 0, 0), 3);
    EXPECT_EQ(g_log, (std::vector<std::string>{"A", "C"}));

    // B may come back; it lands at the end.
    sub.AttachMessage(&b, hwnd, kMsgA);
    g_log.clear();
    SendMessageW(hwnd, kMsgA, 0, 0);
    EXPECT_EQ(g_log, (std::vector<std::string>{"A", "C", "B"}));
    for (Handler* h : {&a, &b, &c})
        sub.DetachMessage(h, hwnd, kMsgA);
    EXPECT_EQ(GetWindowLongPtrW(hwnd, GWLP_WNDPROC), original);
    EXPECT_EQ(BookkeepingCount(hwnd), 0);
}

TEST_F(SubclassTest, SameHandlerTwiceIsRefusedAndChangesNothing)
{
    Handler a("A", kw::HandleOnly, 1);
    sub.AttachMessage(&a, hwnd, kMsgA);
    try {
        sub.AttachMessage(&a, hwnd, kMsgA);
        FAIL() << "no error";
    } catch (const kw::RuntimeError& e) {
        EXPECT_EQ(e.Number(), ItfNumber(13082));
        EXPECT_EQ(e.Description(), "Message already handled by another class");
        EXPECT_EQ(e.Source(), "winsupport_subclass_test.WindowProc");
    }
    const std::wstring msgKey = Key(hwnd, L"#" + std::to_wstring(kMsgA));
    EXPECT_EQ(Prop(hwnd, msgKey + L"C"), 1);
    EXPECT_EQ(Prop(hwnd, msgKey + L"#2"), 0);
    EXPECT_EQ(Prop(hwnd, Key(hwnd, L"C")), 1);
    EXPECT_EQ(SendMessageW(hwnd, kMsgA, 0, 0), 1);
    EXPECT_EQ(g_log, std::vector<std::string>{"A"});

    // The same handler on another message is fine.
    EXPECT_NO_THROW(sub.AttachMessage(&a, hwnd, kMsgB));
    sub.DetachMessage(&a, hwnd, kMsgA);
    sub.DetachMessage(&a, hwnd, kMsgB);
    EXPECT_EQ(GetWindowLongPtrW(hwnd, GWLP_WNDPROC), original);
}

TEST_F(SubclassTest, InvalidWindowsAreRefusedOnAttachAndIgnoredOnDetach)
{
    Handler a("A", kw::HandleOnly, 1);
    HWND gone = CreateWindowExW(0, L"KwSubclassTarget", L"gone", 0, 0, 0, 10, 10, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(gone, nullptr);
    DestroyWindow(gone);
    try {
        sub.AttachMessage(&a, gone, kMsgA);
        FAIL() << "no error";
    } catch (const kw::RuntimeError& e) {
        EXPECT_EQ(e.Number(), ItfNumber(13083));
        EXPECT_EQ(e.Description(), "Invalid window");
        EXPECT_EQ(e.Source(), "winsupport_subclass_test.WindowProc");
    }
    EXPECT_NO_THROW(sub.DetachMessage(&a, gone, kMsgA));
    EXPECT_NO_THROW(sub.DetachMessage(&a, nullptr, kMsgA));
    // Not attached: nothing happens, the window stays unhooked.
    EXPECT_NO_THROW(sub.DetachMessage(&a, hwnd, kMsgA));
    EXPECT_EQ(GetWindowLongPtrW(hwnd, GWLP_WNDPROC), original);
    EXPECT_EQ(BookkeepingCount(hwnd), 0);

    // Attached elsewhere, detached on a window that has been destroyed meanwhile.
    HWND doomed = CreateWindowExW(0, L"KwSubclassTarget", L"doomed", 0, 0, 0, 10, 10, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    sub.AttachMessage(&a, doomed, kMsgA);
    DestroyWindow(doomed);
    EXPECT_NO_THROW(sub.DetachMessage(&a, doomed, kMsgA));
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
    ASSERT_TRUE(CreateProcessW(helper.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        << "cannot start " << std::string(helper.begin(), helper.end());
    HWND foreign = nullptr;
    for (int i = 0; i < 200 && !foreign; ++i) {
        foreign = FindWindowW(L"KwForeignWindow", L"kw foreign window");
        if (!foreign)
            Sleep(50);
    }
    ASSERT_NE(foreign, nullptr);

    Handler a("A", kw::HandleOnly, 1);
    try {
        sub.AttachMessage(&a, foreign, kMsgA);
        ADD_FAILURE() << "no error";
    } catch (const kw::RuntimeError& e) {
        EXPECT_EQ(e.Number(), ItfNumber(13084));
        EXPECT_EQ(e.Description(), "Can't modify external window");
        EXPECT_EQ(e.Source(), "winsupport_subclass_test.WindowProc");
    }
    EXPECT_EQ(BookkeepingCount(foreign), 0);
    EXPECT_NO_THROW(sub.DetachMessage(&a, foreign, kMsgA));

    PostMessageW(foreign, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForSingleObject(pi.hProcess, 10000), WAIT_OBJECT_0);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
}

TEST_F(SubclassTest, DestroyUnhooksBeforeTheWindowsOwnHandling)
{
    Handler a("A", kw::HandleOnly, 1);
    sub.AttachMessage(&a, hwnd, kMsgA);
    DestroyWindow(hwnd);
    ASSERT_TRUE(g_destroy.seen);
    EXPECT_EQ(g_destroy.proc, original);
    EXPECT_EQ(g_destroy.prevProp, nullptr);
    EXPECT_EQ(g_destroy.useProp, nullptr);
    EXPECT_NO_THROW(sub.DetachMessage(&a, hwnd, kMsgA));
}

TEST_F(SubclassTest, HandlerOnDestroyKeepsTheHookAndSeesTheMessage)
{
    Handler a("A", kw::HandleThenDefault, 0);
    sub.AttachMessage(&a, hwnd, WM_DESTROY);
    const LONG_PTR hooked = GetWindowLongPtrW(hwnd, GWLP_WNDPROC);
    DestroyWindow(hwnd);
    EXPECT_EQ(g_log, std::vector<std::string>{"A"});
    ASSERT_TRUE(g_destroy.seen);
    EXPECT_EQ(g_destroy.proc, hooked);
}

TEST_F(SubclassTest, CurrentMessageFollowsNestedDispatch)
{
    Handler outer("outer", kw::HandleOnly, 1), inner("inner", kw::HandleOnly, 2);
    outer.sub = &sub;
    inner.sub = &sub;
    UINT afterNested = 0;
    outer.onCall = [&](UINT) {
        SendMessageW(hwnd, kMsgB, 0, 0);
        afterNested = sub.CurrentMessage();
    };
    sub.AttachMessage(&outer, hwnd, kMsgA);
    sub.AttachMessage(&inner, hwnd, kMsgB);
    EXPECT_EQ(SendMessageW(hwnd, kMsgA, 0, 0), 1);
    EXPECT_EQ(outer.seen, kMsgA);
    EXPECT_EQ(inner.seen, kMsgB);
    EXPECT_EQ(afterNested, kMsgB);
    EXPECT_FALSE(sub.InIDE());
    sub.DetachMessage(&outer, hwnd, kMsgA);
    sub.DetachMessage(&inner, hwnd, kMsgB);
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
    a.onCall = [](UINT) { throw kw::RuntimeError(kw::kErrSubscript); };
    sub.AttachMessage(&a, hwnd, kMsgA);
    EXPECT_EQ(SendMessageW(hwnd, kMsgA, 0, 0), 0);
    ASSERT_EQ(prompt.texts.size(), 1u);
    EXPECT_NE(prompt.texts[0].find("Subscript out of range"), std::string::npos);
    sub.DetachMessage(&a, hwnd, kMsgA);
    kw::platform::SetPrompt(before);
}

}  // namespace
