#pragma once
// Description files (.kwp): one plugin document as UTF-8 text in INI-like sections, one
// value per line, for work that is not a plugin yet. docs/kwp-format.md describes the format.
#include <string>
#include <string_view>

#include "PluginDocument.h"

namespace kw {

inline constexpr int kDescriptionFormat = 1;
inline constexpr std::string_view kDescriptionExtension = ".kwp";

// The file's text for a document saved in `folder` (a full path): the same document gives
// the same bytes, and paths below the folder are written relative to it.
std::string FormatDescription(const PluginDocument& doc, const std::string& folder);

struct DescriptionReading {
    bool ok = false;
    bool newer = false;  // refused because a newer program wrote it
    PluginDocument document;
    std::string message;  // why it was refused, for the user
};

// Reads a description's text; `folder` is where the file lies, `name` names it in messages.
DescriptionReading ParseDescription(std::string_view text, const std::string& folder, const std::string& name);
// Reads the description file at a full path.
DescriptionReading LoadDescription(const std::string& path);

struct DescriptionSaving {
    unsigned long code = 0;  // 0, or the system's error code (Win32 numbering)
    std::string message;     // why it failed, for the user
};

// Writes the file whole or not at all; a read-only file is refused (5) and keeps its bytes.
DescriptionSaving SaveDescription(const PluginDocument& doc, const std::string& path);

}  // namespace kw
