// The recent files on the File menu, newest first, kept in Kitwright.ini. The INI is in the
// ANSI code page, so a path it cannot hold is stored escaped: "*" (never part of a path)
// and the path's UTF-8 with every byte past ASCII, and "%", written as %XX.
#include "app/frmMain.h"

#include <shlwapi.h>

#include <algorithm>

#include "app/modMain.h"
#include "platform/WinText.h"

namespace kw {

namespace {

constexpr const char* kSection = "Recent Files";

std::string IniPath()
{
    std::string folder = platform::ProgramFolder();
    if (!folder.empty() && folder.back() != '\\')
        folder += '\\';
    return folder + "Kitwright.ini";
}

std::string KeyOf(int index) { return "File" + std::to_string(index + 1); }

std::string Encode(const std::string& path)
{
    if (clsKitwright::FitsAnsi(path) && !path.starts_with('*'))
        return path;
    static const char digits[] = "0123456789ABCDEF";
    std::string out = "*";
    for (const unsigned char c : path) {
        if (c >= 0x80 || c == '%' || c < 0x20) {
            out += '%';
            out += digits[c >> 4];
            out += digits[c & 15];
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// Empty for a value that is no path this program wrote.
std::string Decode(const std::string& value)
{
    if (!value.starts_with('*'))
        return value;
    std::string out;
    for (size_t i = 1; i < value.size(); ++i) {
        if (value[i] != '%') {
            out += value[i];
            continue;
        }
        if (i + 2 >= value.size())
            return {};
        const int high = HexValue(value[i + 1]), low = HexValue(value[i + 2]);
        if (high < 0 || low < 0)
            return {};
        out += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return out;
}

// "&1 C:\Plugins\Tool.kwp": the path shortened to a menu's width, its ampersands shown.
std::wstring MenuText(int index, const std::string& path)
{
    std::wstring wide = Widen(path);
    wchar_t shortened[MAX_PATH]{};
    if (wide.size() < MAX_PATH && PathCompactPathExW(shortened, wide.c_str(), 60, 0))
        wide = shortened;
    std::wstring text = L"&" + std::to_wstring(index + 1) + L" ";
    for (const wchar_t c : wide) {
        if (c == L'&')
            text += L'&';
        text += c;
    }
    return text;
}

}  // namespace

std::vector<std::string> frmMain::RecentFiles() const { return recentFiles_; }

void frmMain::LoadRecentFiles()
{
    recentFiles_.clear();
    std::string bytes;
    if (platform::ReadFileBytes(IniPath(), bytes)) {
        const ini::Document prefs = ini::Document::Parse(bytes);
        for (int i = 0; i < kRecentFiles; ++i) {
            std::string value;
            if (!prefs.Get(kSection, KeyOf(i), value))
                continue;
            const std::string path = Decode(value);
            const bool listed = std::any_of(recentFiles_.begin(), recentFiles_.end(),
                                            [&](const std::string& p) { return platform::CompareText(p, path) == 0; });
            if (!path.empty() && !listed)
                recentFiles_.push_back(path);
        }
    }
    FillRecentMenu();
}

void frmMain::AddRecentFile(const std::string& path)
{
    std::erase_if(recentFiles_, [&](const std::string& p) { return platform::CompareText(p, path) == 0; });
    recentFiles_.insert(recentFiles_.begin(), path);
    if (recentFiles_.size() > static_cast<size_t>(kRecentFiles))
        recentFiles_.resize(kRecentFiles);
    SaveRecentFiles();
    FillRecentMenu();
}

void frmMain::SaveRecentFiles()
{
    const std::string ini = IniPath();
    // A preference like the others: a failed write costs the list, never the document.
    for (int i = 0; i < kRecentFiles; ++i) {
        const bool used = i < static_cast<int>(recentFiles_.size());
        const std::string value = used ? Encode(recentFiles_[static_cast<size_t>(i)]) : std::string();
        ini::Write(ini, kSection, KeyOf(i).c_str(), used ? value.c_str() : nullptr);
    }
}

void frmMain::FillRecentMenu()
{
    HMENU bar = hWnd() ? GetMenu(hWnd()) : nullptr;
    HMENU file = bar ? GetSubMenu(bar, 0) : nullptr;
    if (!file)
        return;
    for (int i = 0; i < kRecentFiles; ++i)
        DeleteMenu(file, IDM_FILE_RECENT + i, MF_BYCOMMAND);
    DeleteMenu(file, IDM_FILE_RECENT_SEPARATOR, MF_BYCOMMAND);
    if (recentFiles_.empty())
        return;
    // Each goes in before Exit, so they keep their order; then the line that ends them.
    for (size_t i = 0; i < recentFiles_.size(); ++i) {
        std::wstring text = MenuText(static_cast<int>(i), recentFiles_[i]);
        MENUITEMINFOW item{};
        item.cbSize = sizeof(item);
        item.fMask = MIIM_ID | MIIM_STRING | MIIM_FTYPE;
        item.fType = MFT_STRING;
        item.wID = IDM_FILE_RECENT + static_cast<UINT>(i);
        item.dwTypeData = text.data();
        InsertMenuItemW(file, IDM_FILE_EXIT, FALSE, &item);
    }
    MENUITEMINFOW line{};
    line.cbSize = sizeof(line);
    line.fMask = MIIM_ID | MIIM_FTYPE;
    line.fType = MFT_SEPARATOR;
    line.wID = IDM_FILE_RECENT_SEPARATOR;
    InsertMenuItemW(file, IDM_FILE_EXIT, FALSE, &line);
}

void frmMain::mnuFile_Recent_Click(int index)
{
    if (index < 0 || index >= static_cast<int>(recentFiles_.size()) || creating_)
        return;
    const std::string path = recentFiles_[static_cast<size_t>(index)];
    if (!platform::PathExists(path)) {
        Warn(hWnd(), path + " no longer exists; it was taken off the recent files.");
        recentFiles_.erase(recentFiles_.begin() + index);
        SaveRecentFiles();
        FillRecentMenu();
        return;
    }
    OpenDocument(path);
}

}  // namespace kw
