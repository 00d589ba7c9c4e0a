#include "winsupport/VersionInfo.h"

#include <cstdio>
#include <vector>

#include "platform/WinText.h"

namespace kw {

namespace {

std::string StringValue(std::vector<BYTE>& block, WORD language, WORD codePage, const wchar_t* name)
{
    wchar_t path[96];
    std::swprintf(path, 96, L"\\StringFileInfo\\%04x%04x\\%ls", language, codePage, name);
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), path, &value, &length) || !value || length == 0)
        return {};
    std::wstring text(static_cast<const wchar_t*>(value), length);
    while (!text.empty() && text.back() == L'\0')
        text.pop_back();
    return Narrow(text);
}

}  // namespace

ProgramVersion ReadProgramVersion(HMODULE module)
{
    ProgramVersion version;
    if (!module)
        module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(VS_VERSION_INFO), MAKEINTRESOURCEW(16) /* RT_VERSION */);
    if (!found)
        return version;
    HGLOBAL loaded = LoadResource(module, found);
    DWORD size = SizeofResource(module, found);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes || size == 0)
        return version;
    // A private copy, with room behind it: the query routines expect a block of their own.
    std::vector<BYTE> block(static_cast<const BYTE*>(bytes), static_cast<const BYTE*>(bytes) + size);
    block.resize(static_cast<size_t>(size) * 2);

    void* value = nullptr;
    UINT length = 0;
    if (VerQueryValueW(block.data(), L"\\", &value, &length) && value && length >= sizeof(VS_FIXEDFILEINFO)) {
        auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
        if (fixed->dwSignature == VS_FFI_SIGNATURE) {
            version.major = HIWORD(fixed->dwFileVersionMS);
            version.minor = LOWORD(fixed->dwFileVersionMS);
            version.revision = LOWORD(fixed->dwFileVersionLS);
        }
    }

    // The block's first translation names its string table; US English Unicode otherwise.
    WORD language = 0x0409, codePage = 1200;
    if (VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &value, &length) && value &&
        length >= 2 * sizeof(WORD)) {
        language = static_cast<const WORD*>(value)[0];
        codePage = static_cast<const WORD*>(value)[1];
    }
    version.legalCopyright = StringValue(block, language, codePage, L"LegalCopyright");
    version.productName = StringValue(block, language, codePage, L"ProductName");
    return version;
}

std::string AppTitleWithVersion()
{
    ProgramVersion v = ReadProgramVersion();
    return v.productName + " v" + std::to_string(v.major) + "." + std::to_string(v.minor) + "." +
           std::to_string(v.revision);
}

}  // namespace kw
