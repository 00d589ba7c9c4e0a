#include "Paths.h"

#include <filesystem>

#ifdef _WIN32
#include <windows.h>

#include "platform/WinText.h"
#endif

namespace kw::cli {

namespace {

std::string WithoutTrailingSeparator(std::string path)
{
    while (path.size() > 1 && path.back() == '\\' && !(path.size() == 3 && path[1] == ':'))
        path.pop_back();
    return path;
}

}  // namespace

std::string ModelPath(std::string_view argument)
{
    if (argument.empty())
        return {};
#ifdef _WIN32
    const std::wstring wide = Widen(argument);
    const DWORD n = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (n == 0)
        return std::string(argument);
    std::wstring full(n, L'\0');
    const DWORD used = GetFullPathNameW(wide.c_str(), n, full.data(), nullptr);
    full.resize(used);
    return WithoutTrailingSeparator(Narrow(full));
#else
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path path = fs::absolute(fs::path(std::string(argument)), ec);
    if (ec)
        path = fs::path(std::string(argument));
    std::string text = path.lexically_normal().string();
    for (char& c : text)
        if (c == '/')
            c = '\\';
    return WithoutTrailingSeparator(text);
#endif
}

std::string CurrentFolder() { return ModelPath("."); }

std::string ForDisplay(std::string_view text)
{
    std::string out(text);
#ifndef _WIN32
    for (char& c : out)
        if (c == '\\')
            c = '/';
#endif
    return out;
}

std::string WindowsFolderPath(std::string_view argument)
{
#ifdef _WIN32
    return ModelPath(argument);
#else
    std::string text(argument);
    for (char& c : text)
        if (c == '/')
            c = '\\';
    return WithoutTrailingSeparator(text);
#endif
}

}  // namespace kw::cli
