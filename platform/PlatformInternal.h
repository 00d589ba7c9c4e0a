#pragma once
// State shared by both implementations: test overrides and the installed prompt.
#include <optional>
#include <string>
#include <vector>

#include "Platform.h"

namespace kw::platform::internal {

const std::string& ProgramFolderOverride();
// The entries of a shell path list, up to the first empty one.
std::vector<std::string> SplitPathList(std::string_view list);
std::optional<std::string> SpecialFolderOverride(int csidl);
// True when a test hook took the call.
bool RunShellOpenHook(NativeHandle owner, std::string_view verb, std::string_view file, std::string_view workDir);
iPrompt& DefaultPrompt();
// True when a test made the folder of this (backslash) path refuse new files.
bool RefusesNewFiles(std::string_view path);
// True when making this folder tree means a new folder inside the refusing one.
bool RefusesNewFolder(std::string_view path);
// The capture of the running dry run, or nullptr.
FileCapture* ActiveCapture();
// 0, or the code a test wants this operation to fail with (it counts the operation).
unsigned long InjectedFailure();
bool FailureArmed();
// Each side's own file write and folder creation, behind the dry-run and test checks.
unsigned long WriteFileNative(std::string_view path, std::string_view bytes, std::string* errorText,
                              bool inPlaceFallback);
long CreateFolderTreeNative(NativeHandle owner, std::string_view path);

}  // namespace kw::platform::internal
