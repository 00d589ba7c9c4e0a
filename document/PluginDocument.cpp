#include "PluginDocument.h"

#include <algorithm>
#include <utility>

#include "platform/Platform.h"

namespace kw {

namespace {

// The model warns through the prompt; while a document is put in, its warnings are collected.
class CollectingPrompt final : public platform::iPrompt {
public:
    CollectingPrompt() : previous_(platform::SetPrompt(this)) {}
    ~CollectingPrompt() override { platform::SetPrompt(previous_); }
    int Show(NativeHandle, std::string_view text, std::string_view, unsigned) override
    {
        last_ = text;
        return platform::kIdOk;
    }
    // The warning shown since the last call, if any.
    std::string Take() { return std::exchange(last_, {}); }

private:
    platform::iPrompt* previous_;
    std::string last_;
};

std::string Refusal(const std::string& file, const std::string& reason) { return "\"" + file + "\": " + reason; }

}  // namespace

bool DocumentExecutable::IsBlank() const { return *this == DocumentExecutable{}; }

PluginDocument DocumentFromModel(const clsKitwright& kw)
{
    PluginDocument doc;
    doc.PluginName = kw.PluginName();
    doc.ProgramName = kw.ProgramName();
    doc.ProgramWebsite = kw.ProgramWebsite();
    doc.Description = kw.Description();
    doc.IncAuthor = kw.IncAuthor();
    doc.CopyOption = kw.CopyOption();
    doc.ProgramFilesDest = kw.ProgramFilesDest();
    doc.ProgramFolder = kw.ProgramFolder();
    if (doc.ProgramFolder.ends_with("*.*"))
        doc.ProgramFolder.resize(doc.ProgramFolder.size() - 3);
    for (int i = 1; i <= kw.ProgramFileCount(); ++i)
        doc.ProgramFiles.push_back(kw.ProgramFileAll(i));
    doc.SystemFilesDest = kw.SystemFilesDest();
    for (int i = 1; i <= kw.SystemFileCount(); ++i)
        doc.SystemFiles.push_back(kw.SystemFileName(i));
    const int slots = std::min(kw.MaxExecutables() + 1, PluginDocument::kSlots);
    for (int i = 0; i < slots; ++i) {
        DocumentExecutable& e = doc.Executables[static_cast<std::size_t>(i)];
        e.Path = kw.Executable(i);
        e.ShortcutName = kw.ShortcutName(i);
        e.IncRamdisk = kw.IncRamdisk(i);
        e.IncAutorun = kw.IncAutorun(i);
        e.IncJuxDesktop = kw.IncJuxDesktop(i);
        e.IncJuxQlaunch = kw.IncJuxQlaunch(i);
    }
    doc.IncZelMenu = kw.IncZelMenu();
    doc.IncJuxMenu = kw.IncJuxMenu();
    doc.MenuGroup = kw.MenuGroup();
    doc.IncSubGroup = kw.IncSubGroup();
    return doc;
}

std::vector<std::string> ApplyDocument(const PluginDocument& doc, clsKitwright& kw)
{
    std::vector<std::string> refused;
    CollectingPrompt prompt;

    kw.PluginName(doc.PluginName);
    kw.ProgramName(doc.ProgramName);
    kw.ProgramWebsite(doc.ProgramWebsite);
    kw.Description(doc.Description);
    kw.IncAuthor(doc.IncAuthor);

    kw.CopyOption(doc.CopyOption);
    kw.ProgramFilesDest(doc.ProgramFilesDest);
    kw.ClearProgramFiles();
    kw.ProgramFolder(doc.ProgramFolder);
    for (const std::string& file : doc.ProgramFiles) {
        const int before = kw.ProgramFileCount();
        kw.ProgramFile(file);
        if (!file.empty() && kw.ProgramFileCount() == before)
            refused.push_back(Refusal(file, "A file with the same name is already in the list."));
    }

    kw.SystemFilesDest(doc.SystemFilesDest);
    kw.ClearSystemFiles();
    const std::string systemFolder = kw.SystemFilesFolder();
    for (const std::string& name : doc.SystemFiles) {
        if (name.empty())
            continue;
        if (systemFolder.empty()) {
            refused.push_back(Refusal(name, "This computer has no folder for the chosen system-file destination."));
            continue;
        }
        if (!clsKitwright::IsValidFileName(name)) {
            refused.push_back(Refusal(name, "This is not a file name."));
            continue;
        }
        kw.AddFile(fcSystemFiles, systemFolder + name);
        if (std::string warning = prompt.Take(); !warning.empty())
            refused.push_back(Refusal(name, warning));
    }

    if (kw.MaxExecutables() < PluginDocument::kSlots - 1)
        kw.MaxExecutables(PluginDocument::kSlots - 1);
    else
        kw.ClearExecutables();
    for (int i = 0; i < PluginDocument::kSlots; ++i) {
        const DocumentExecutable& e = doc.Executables[static_cast<std::size_t>(i)];
        if (!e.Path.empty()) {
            kw.Executable(i, e.Path);
            if (std::string warning = prompt.Take(); !warning.empty()) {
                refused.push_back(Refusal(e.Path, warning));
                continue;
            }
        }
        kw.ShortcutName(i, e.ShortcutName);
        kw.IncRamdisk(i, e.IncRamdisk);
        kw.IncAutorun(i, e.IncAutorun);
        kw.IncJuxDesktop(i, e.IncJuxDesktop);
        kw.IncJuxQlaunch(i, e.IncJuxQlaunch);
    }
    kw.IncZelMenu(doc.IncZelMenu);
    kw.IncJuxMenu(doc.IncJuxMenu);
    kw.MenuGroup(doc.MenuGroup);
    kw.IncSubGroup(doc.IncSubGroup);
    return refused;
}

}  // namespace kw
