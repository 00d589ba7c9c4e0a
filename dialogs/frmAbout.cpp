#include "dialogs/frmAbout.h"

#include "dialogs/DialogSupport.h"
#include "resources/resource.h"
#if __has_include("winsupport/VersionInfo.h")
#include "winsupport/VersionInfo.h"
#else
#include <vector>

#include "platform/WinText.h"
#endif

namespace kw {

#if !__has_include("winsupport/VersionInfo.h")
// Until the shared version routine is there: the same texts from the exe's version block.
namespace {
struct ProgramVersion {
    std::string legalCopyright;
};

std::wstring ExePath()
{
    wchar_t exe[MAX_PATH]{};
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    return exe;
}

ProgramVersion ReadProgramVersion()
{
    ProgramVersion v;
    DWORD ignored = 0;
    std::wstring exe = ExePath();
    DWORD size = GetFileVersionInfoSizeW(exe.c_str(), &ignored);
    std::vector<char> block(size);
    wchar_t* text = nullptr;
    UINT length = 0;
    if (size && GetFileVersionInfoW(exe.c_str(), 0, size, block.data()) &&
        VerQueryValueW(block.data(), L"\\StringFileInfo\\040904B0\\LegalCopyright", reinterpret_cast<void**>(&text),
                       &length) && text)
        v.legalCopyright = Narrow(text);
    return v;
}

std::string AppTitleWithVersion()
{
    DWORD ignored = 0;
    std::wstring exe = ExePath();
    DWORD size = GetFileVersionInfoSizeW(exe.c_str(), &ignored);
    std::vector<char> block(size);
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (!size || !GetFileVersionInfoW(exe.c_str(), 0, size, block.data()) ||
        !VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&info), &length) || !info)
        return "Kitwright";
    return "Kitwright v" + std::to_string(HIWORD(info->dwFileVersionMS)) + "." +
           std::to_string(LOWORD(info->dwFileVersionMS)) + "." + std::to_string(LOWORD(info->dwFileVersionLS));
}
}  // namespace
#endif

frmAbout::frmAbout()
    : Form(IDD_ABOUT),
      imgAbout(*this, IDC_IMG_ABOUT),
      lblAbout{{*this, IDC_LBL_ABOUT}, {*this, IDC_LBL_ABOUT + 1}, {*this, IDC_LBL_ABOUT + 2}, {*this, IDC_LBL_ABOUT + 3}},
      cmdAboutOK(*this, IDC_CMD_ABOUT_OK)
{
    // One button for Enter and Escape alike.
    cmdAboutOK.Default(true);
    cmdAboutOK.Cancel(true);
    cmdAboutOK.Click = [this] { cmdAboutOK_Click(); };
}

void frmAbout::Form_Load()
{
    lblAbout[0].Caption(AppTitleWithVersion());
    lblAbout[1].Caption(ReadProgramVersion().legalCopyright);
    lblAbout[2].Caption("Makes plugins for the Velmont 3 builder by its authors and its Carrow system.");
    lblAbout[3].Caption("Free of charge, and made in the hope that it will be useful.");
    imgAbout.LoadPicture(IDI_ABOUT);
    SetDialogLook(*this);
    lblAbout[0].FontSize(14);
    lblAbout[0].FontBold(true);
}

void frmAbout::cmdAboutOK_Click()
{
    Unload();
}

void ShowAboutBox()
{
    frmAbout form;
    form.ShowModal(nullptr);
}

}  // namespace kw
