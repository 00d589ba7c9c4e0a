#include "Session.h"

#include "Paths.h"
#include "platform/Platform.h"

namespace kw::cli {

namespace {

constexpr const char* kIniName = "Kitwright.ini";
// The window fills ten executable slots.
constexpr int kMaxExecutables = 9;
// Where system files are taken to come from when nobody says otherwise and the system does
// not know (POSIX): they are only named in the INF, never read.
constexpr const char* kDefaultWindowsFolder = "C:\\WINDOWS";

std::string WithBackslash(std::string path)
{
    if (!path.empty() && path.back() != '\\')
        path += '\\';
    return path;
}

}  // namespace

Session::Session(const Options& options, Console& console)
    : options_(options),
      console_(console),
      prompt_(console),
      scopedPrompt_(prompt_)
{
}

Session::~Session()
{
    platform::SetSpecialFolder(platform::kCsidlWindows, {});
    platform::SetSpecialFolder(platform::kCsidlSystem, {});
}

void Session::Error(std::string_view text) { console_.Err(std::string(kProgramName) + ": " + ForDisplay(text) + "\n"); }

void Session::Note(std::string_view text) { console_.Err(ForDisplay(text) + "\n"); }

bool Session::InputIsFolder() const
{
    std::vector<platform::FolderEntry> entries;
    return platform::ListFolder(input_, entries) == 0;
}

int Session::Open()
{
    input_ = ModelPath(options_.input);

    std::string windows;
    if (!options_.windowsFolder.empty())
        windows = WindowsFolderPath(options_.windowsFolder);
#ifndef _WIN32
    else
        windows = kDefaultWindowsFolder;
#endif
    if (!windows.empty()) {
        platform::SetSpecialFolder(platform::kCsidlWindows, windows);
        platform::SetSpecialFolder(platform::kCsidlSystem, WithBackslash(windows) + "system32");
    }

    std::string iniFile;
    if (!options_.iniFile.empty()) {
        iniFile = ModelPath(options_.iniFile);
        std::string bytes;
        if (!platform::ReadFileBytes(iniFile, bytes)) {
            Error("The preferences file " + iniFile + " cannot be read.");
            return kExitFailed;
        }
    } else {
        iniFile = WithBackslash(platform::ProgramFolder()) + kIniName;
    }
    const bool found = platform::PathExists(iniFile);
    model_.emplace(iniFile, PreferencesAccess::ReadOnly);
    model_->MaxExecutables(kMaxExecutables);
    model_->CopyThroughShell(false);
    if (!options_.pluginsFolder.empty())
        model_->PluginLocation(ModelPath(options_.pluginsFolder));
    else if (!found || model_->PluginLocation().empty())
        model_->PluginLocation(CurrentFolder());
    return kExitDone;
}

clsKitwright Session::NewModel() const { return *model_; }

}  // namespace kw::cli
