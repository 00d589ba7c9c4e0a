// The program's resources as linked into an exe: strings, icons, version block, manifest.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "resources/resource.h"
#include "winsupport/Dpi.h"

namespace {

std::wstring LoadText(UINT id)
{
    const wchar_t* text = nullptr;
    int length = LoadStringW(GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 ? std::wstring(text, static_cast<size_t>(length)) : std::wstring();
}

TEST(Resources, HintStringsAreExact)
{
    EXPECT_EQ(LoadText(IDS_HINT_INFORMATION),
              L"Enter information that names and describes the plugin. All optional except Plugin Name.");
    EXPECT_EQ(LoadText(IDS_HINT_PROGRAM_FILES),
              L"Select the files that the program needs. Use Copy Folders if the program has sub-folders.");
    EXPECT_EQ(LoadText(IDS_HINT_SYSTEM_FILES),
              L"Select any system files the plugin needs. These files will be copied directly from source.");
    EXPECT_EQ(LoadText(IDS_HINT_EXECUTABLES),
              L"Select up to 10 main executable files for the plugin. Controls marked * must be set for each "
              L"executable.");
    EXPECT_EQ(LoadText(IDS_HINT_SHORTCUTS), L"Choose a Start-Menu group and a name for the shortcut.");
    EXPECT_EQ(LoadText(5), L"");
}

#pragma pack(push, 2)
struct GroupEntry {
    BYTE width, height, colours, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
struct GroupHeader {
    WORD reserved, type, count;
};
#pragma pack(pop)

std::vector<GroupEntry> GroupOf(const wchar_t* name)
{
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC res = FindResourceW(module, name, MAKEINTRESOURCEW(14));  // RT_GROUP_ICON
    if (!res)
        return {};
    auto* header = static_cast<const GroupHeader*>(LockResource(LoadResource(module, res)));
    auto* entries = reinterpret_cast<const GroupEntry*>(header + 1);
    return std::vector<GroupEntry>(entries, entries + header->count);
}

TEST(Resources, ProgramIconHasSeveralSizesAndDepths)
{
    std::vector<GroupEntry> group = GroupOf(L"A1");
    ASSERT_GE(group.size(), 7u);
    auto has = [&](int size, int bits) {
        for (const auto& e : group)
            if ((e.width ? e.width : 256) == size && e.bitCount == bits)
                return true;
        return false;
    };
    for (int size : {16, 24, 32, 48, 256})
        EXPECT_TRUE(has(size, 32)) << size;
    EXPECT_TRUE(has(16, 8) || has(16, 4));
    EXPECT_TRUE(has(32, 8) || has(32, 4));

    for (int size : {16, 32, 48}) {
        auto icon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), L"A1", IMAGE_ICON, size, size, 0));
        ASSERT_NE(icon, nullptr) << size;
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP bm{};
        GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(bm), &bm);
        EXPECT_EQ(bm.bmWidth, size);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(icon);
    }
}

TEST(Resources, PageAndAboutIconsHaveAFrameForEachCommonDpi)
{
    // 32 px at 96 dpi, 48 at 144 and 64 at 192: none of them stretched from another.
    auto sizes = [](const wchar_t* name) {
        std::vector<int> out;
        for (const auto& e : GroupOf(name))
            if (e.bitCount == 32)
                out.push_back(e.width ? e.width : 256);
        return out;
    };
    for (int id = IDI_PAGE_INFORMATION; id <= IDI_ABOUT; ++id) {
        std::vector<int> have = sizes(MAKEINTRESOURCEW(id));
        for (int size : {32, 48, 64})
            EXPECT_NE(std::find(have.begin(), have.end(), size), have.end()) << "icon " << id << " lacks " << size;
    }
    std::vector<int> program = sizes(L"A1");
    EXPECT_NE(std::find(program.begin(), program.end(), 64), program.end());
    EXPECT_EQ(GroupOf(MAKEINTRESOURCEW(8)).size(), 0u);
}

TEST(Resources, TheFrameThatFitsABoxIsTheLargestNotLargerThanIt)
{
    HMODULE module = GetModuleHandleW(nullptr);
    const LPCWSTR page = MAKEINTRESOURCEW(IDI_PAGE_INFORMATION);
    EXPECT_EQ(kw::FittingIconFrame(module, page, 36), 32);
    EXPECT_EQ(kw::FittingIconFrame(module, page, 32), 32);
    EXPECT_EQ(kw::FittingIconFrame(module, page, 47), 32);
    EXPECT_EQ(kw::FittingIconFrame(module, page, 54), 48);
    EXPECT_EQ(kw::FittingIconFrame(module, page, 72), 64);
    EXPECT_EQ(kw::FittingIconFrame(module, page, 500), 64);
    EXPECT_EQ(kw::FittingIconFrame(module, page, 10), 16);  // nothing fits: the smallest
    EXPECT_EQ(kw::FittingIconFrame(module, MAKEINTRESOURCEW(IDI_ABOUT), 20), 32);
    EXPECT_EQ(kw::FittingIconFrame(module, L"A1", 300), 256);
    EXPECT_EQ(kw::FittingIconFrame(module, MAKEINTRESOURCEW(8), 32), 0);
}

std::wstring VersionString(const std::vector<BYTE>& block, const wchar_t* name)
{
    wchar_t* value = nullptr;
    UINT length = 0;
    std::wstring path = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
    if (!VerQueryValueW(block.data(), path.c_str(), reinterpret_cast<void**>(&value), &length) || !length)
        return {};
    return std::wstring(value, wcsnlen(value, length));
}

TEST(Resources, VersionBlockReads4_1_0_2)
{
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeW(exe, &handle);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> block(size);
    ASSERT_TRUE(GetFileVersionInfoW(exe, 0, size, block.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(HIWORD(fixed->dwFileVersionMS), 4);
    EXPECT_EQ(LOWORD(fixed->dwFileVersionMS), 1);
    EXPECT_EQ(HIWORD(fixed->dwFileVersionLS), 0);
    EXPECT_EQ(LOWORD(fixed->dwFileVersionLS), 2);
    EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
    EXPECT_EQ(fixed->dwProductVersionLS, fixed->dwFileVersionLS);
    EXPECT_EQ(VersionString(block, L"ProductName"), L"Kitwright");
    EXPECT_EQ(VersionString(block, L"FileVersion"), L"4.01.0002");
    std::wstring copyright = VersionString(block, L"LegalCopyright");
    ASSERT_FALSE(copyright.empty());
    EXPECT_EQ(copyright[0], L'\u00A9');  // the UTF-8 source text arrived as one character
}

TEST(Resources, ManifestBringsThemedControlsAndDpiAwareness)
{
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC res = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));  // RT_MANIFEST
    ASSERT_NE(res, nullptr);
    std::string text(static_cast<const char*>(LockResource(LoadResource(module, res))), SizeofResource(module, res));
    EXPECT_NE(text.find("Microsoft.Windows.Common-Controls"), std::string::npos);
    EXPECT_NE(text.find("<dpiAware"), std::string::npos);
    // Per monitor: the windows handle WM_DPICHANGED themselves.
    EXPECT_NE(text.find(">PerMonitorV2, PerMonitor</dpiAwareness>"), std::string::npos);
    EXPECT_NE(text.find(">true/pm</dpiAware>"), std::string::npos);

    // The library that actually loaded for this exe: the side-by-side version 6 assembly
    // (its DllGetVersion and file version say 5.81 under Wine, so the assembly decides).
    HMODULE comctl = LoadLibraryW(L"comctl32.dll");
    ASSERT_NE(comctl, nullptr);
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(comctl, path, MAX_PATH);
    std::wstring lower(path);
    CharLowerW(lower.data());
    EXPECT_NE(lower.find(L"microsoft.windows.common-controls_6595b64144ccf1df_6."), std::wstring::npos) << path;
}

}  // namespace
