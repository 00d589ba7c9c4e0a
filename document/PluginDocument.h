#pragma once
// A plugin document: what the main window's four pages hold. The preferences (author
// details, menu file name and version, popup option, menu groups, plugins folder) are not
// part of it: a plugin is always written from a document plus the preferences of the moment.
#include <array>
#include <string>
#include <vector>

#include "model/clsKitwright.h"

namespace kw {

struct DocumentExecutable {
    std::string Path;  // empty: a free slot
    std::string ShortcutName;
    CheckValue IncRamdisk = cvUnchecked;
    CheckValue IncAutorun = cvUnchecked;
    CheckValue IncJuxDesktop = cvUnchecked;
    CheckValue IncJuxQlaunch = cvUnchecked;

    bool IsBlank() const;
    bool operator==(const DocumentExecutable&) const = default;
};

struct PluginDocument {
    static constexpr int kSlots = 10;

    // Information page
    std::string PluginName;
    std::string ProgramName;
    std::string ProgramWebsite;
    std::string Description;
    CheckValue IncAuthor = cvUnchecked;

    // Program Files page
    kw::CopyOption CopyOption = coIndividualFiles;
    Destination ProgramFilesDest = dstPrograms;
    std::string ProgramFolder;              // the tree's folder, ending in "\"; empty: none
    std::vector<std::string> ProgramFiles;  // full paths, in the list's order

    // System Files page: names only, since the system folder differs between machines
    Destination SystemFilesDest = dstSystem32;
    std::vector<std::string> SystemFiles;

    // Executables page
    std::array<DocumentExecutable, kSlots> Executables;
    CheckValue IncZelMenu = cvUnchecked;
    CheckValue IncJuxMenu = cvUnchecked;
    std::string MenuGroup;
    bool IncSubGroup = false;

    bool operator==(const PluginDocument&) const = default;
};

// The document the model holds now.
PluginDocument DocumentFromModel(const clsKitwright& kw);

// Puts the document into the model, replacing what its pages held; the preferences stay.
// The check boxes that the model keeps as preferences (IncAuthor, IncZelMenu, IncJuxMenu)
// are stored by the model as always. Nothing is shown: what the model refuses (a system file
// this machine has no folder for, an executable of a name already taken) comes back as one
// text per refusal, naming the file.
std::vector<std::string> ApplyDocument(const PluginDocument& doc, clsKitwright& kw);

}  // namespace kw
