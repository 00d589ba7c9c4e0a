#include "Commands.h"

#include "Paths.h"
#include "document/DescriptionFile.h"
#include "document/PluginBuilder.h"
#include "document/PluginDocument.h"
#include "document/PluginReader.h"
#include "platform/Platform.h"

namespace kw::cli {

namespace {

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

bool EndsWithInf(const std::string& path)
{
    return path.size() >= 4 && platform::CompareText(path.substr(path.size() - 4), ".inf") == 0;
}

std::string FolderOf(const std::string& path)
{
    const size_t slash = path.rfind('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

// A document to work on, from a description file or read back from a plugin folder.
struct Source {
    int code = kExitDone;  // kExitRefused or kExitFailed when there is no document
    PluginDocument document;
    std::vector<std::string> unread;   // a plugin folder's parts that could not be read back
    std::vector<std::string> changed;  // its files that re-creating it here would write otherwise
};

Source LoadDescriptionFile(Session& session)
{
    Source source;
    const std::string& path = session.InputPath();
    std::string bytes;
    if (!platform::ReadFileBytes(path, bytes)) {
        session.Error(Quoted(path) + (platform::PathExists(path) ? " could not be read." : " does not exist."));
        source.code = kExitFailed;
        return source;
    }
    DescriptionReading reading = ParseDescription(bytes, FolderOf(path), path);
    if (!reading.ok) {
        session.Error(reading.message);
        source.code = kExitRefused;
        return source;
    }
    source.document = std::move(reading.document);
    return source;
}

Source ReadPluginFolder(Session& session, const clsKitwright& preferences)
{
    Source source;
    const std::string& path = session.InputPath();
    const std::string folder = EndsWithInf(path) ? FolderOf(path) : path;
    std::vector<platform::FolderEntry> entries;
    if (const unsigned long code = platform::ListFolder(folder, entries)) {
        session.Error(Quoted(folder) + " could not be read: " + platform::ErrorText(code));
        source.code = kExitFailed;
        return source;
    }
    PluginReading reading = ReadPlugin(path, preferences);
    if (!reading.found) {
        for (const std::string& line : reading.unread)
            session.Error(line);
        source.code = kExitRefused;
        return source;
    }
    source.document = std::move(reading.document);
    source.unread = std::move(reading.unread);
    source.changed = std::move(reading.changed);
    return source;
}

// Every problem Create would meet for the model, one sentence each, naming what it is about.
std::vector<std::string> CreateProblems(const clsKitwright& kw, const std::vector<std::string>& refused)
{
    std::vector<std::string> problems = refused;
    for (const CreateProblem& p : kw.CheckCreate()) {
        switch (p.code) {
        case kErrorInvalidName:
            problems.push_back((p.name.empty() ? std::string("An empty name") : Quoted(p.name)) +
                               ": not a valid file name (123).");
            break;
        case kErrorNoUnicodeTranslation:
            problems.push_back(Quoted(p.name) + ": a name the system's code page cannot hold (1113).");
            break;
        case kErrorFilenameTooLong: problems.push_back(Quoted(p.name) + ": the path is over the limit (206)."); break;
        default: problems.push_back(Quoted(p.name) + ": refused (" + std::to_string(p.code) + ")."); break;
        }
    }
    for (const std::string& path : kw.MissingCopySources()) {
        if (path.ends_with('\\'))
            problems.push_back(Quoted(path.substr(0, path.size() - 1)) + ": the folder does not exist.");
        else
            problems.push_back(Quoted(path) + ": the file does not exist.");
    }
    return problems;
}

std::string PluginFolderOf(const clsKitwright& kw) { return kw.PluginLocation() + kw.PluginName(); }

// The folder Create would meet: one with a files folder (the model's 183) or a plugin INF.
bool PluginFolderExists(const clsKitwright& kw)
{
    if (!clsKitwright::IsValidFileName(kw.PluginName()))
        return false;
    const std::string folder = PluginFolderOf(kw);
    return platform::PathExists(folder + "\\files") || HoldsPlugin(folder);
}

// Says what the builder reported, as the window shows it; the exit code that goes with it.
int Report(Session& session, const BuildResult& result)
{
    using Status = BuildResult::Status;
    if (!result.message.empty())
        session.prompt().Show(0, result.message, kAttention, platform::kMbOk | platform::kMbIconWarning);
    switch (result.status) {
    case Status::Made: return kExitDone;
    case Status::Exists:
    case Status::Refused:
    case Status::NotPlugin: return kExitRefused;
    case Status::Failed: return kExitFailed;
    }
    return kExitFailed;
}

}  // namespace

int RunCheck(Session& session)
{
    clsKitwright kw = session.NewModel();
    const bool folder = session.InputIsFolder() || EndsWithInf(session.InputPath());
    Source source = folder ? ReadPluginFolder(session, kw) : LoadDescriptionFile(session);
    if (source.code != kExitDone)
        return source.code;

    std::vector<std::string> problems;
    for (const std::string& line : source.unread)
        problems.push_back("not read back: " + line);
    const std::vector<std::string> refused = ApplyDocument(source.document, kw);
    for (const std::string& line : CreateProblems(kw, refused))
        problems.push_back(line);
    if (PluginFolderExists(kw))
        problems.push_back(Quoted(PluginFolderOf(kw)) + ": the plugin folder exists already.");

    Console& out = session.console();
    for (const std::string& line : problems)
        out.Out(ForDisplay(line) + "\n");
    if (!problems.empty()) {
        out.Out(std::to_string(problems.size()) + (problems.size() == 1 ? " problem" : " problems") +
                " found; create would refuse.\n");
        return kExitRefused;
    }
    out.Out("No problems: create would make " + ForDisplay(PluginFolderOf(kw)) + ".\n");
    return kExitDone;
}

int RunCreate(Session& session)
{
    if (session.InputIsFolder()) {
        session.Error(Quoted(session.InputPath()) +
                      " is a folder: create makes a plugin from a description file "
                      "(import reads a plugin folder into one).");
        return kExitUsage;
    }
    clsKitwright kw = session.NewModel();
    Source source = LoadDescriptionFile(session);
    if (source.code != kExitDone)
        return source.code;

    // Anything the window would warn about refuses the whole plugin, before anything is made.
    const std::vector<std::string> problems = CreateProblems(kw, ApplyDocument(source.document, kw));
    if (!problems.empty()) {
        for (const std::string& line : problems)
            session.Error(line);
        session.Error("Nothing was made.");
        return kExitRefused;
    }
    // The window asks whether to replace an existing plugin; here --replace is the only Yes.
    if (PluginFolderExists(kw) && !session.options().replace) {
        session.prompt().Show(0, "The chosen plugin folder already exists", kAttention,
                              platform::kMbOk | platform::kMbIconWarning);
        session.Error(Quoted(PluginFolderOf(kw)) + " was left as it is (--replace replaces it).");
        return kExitRefused;
    }
    const BuildResult result =
        session.options().replace ? ReplacePlugin(kw, kw.PluginLocation()) : CreatePluginIn(kw, kw.PluginLocation());
    if (const int code = Report(session, result))
        return code;
    session.console().Out("Plugin has been created: " + ForDisplay(PluginFolderOf(kw)) + "\n");
    return kExitDone;
}

int RunImport(Session& session)
{
    clsKitwright kw = session.NewModel();
    Source source = ReadPluginFolder(session, kw);
    if (source.code != kExitDone)
        return source.code;

    if (session.options().output.empty()) {
        // Paths are written relative to where the description will most likely be kept.
        session.console().OutBytes(FormatDescription(source.document, CurrentFolder()));
    } else {
        const std::string path = ModelPath(session.options().output);
        const DescriptionSaving saved = SaveDescription(source.document, path);
        if (saved.code != 0) {
            session.Error(saved.message);
            return kExitFailed;
        }
    }
    for (const std::string& line : source.unread)
        session.Error("not read back: " + line);
    if (!source.changed.empty()) {
        std::string names;
        for (const std::string& name : source.changed)
            names += (names.empty() ? "" : ", ") + name;
        session.Note("Note: made again under these preferences, these files would differ: " + names + ".");
    }
    return source.unread.empty() ? kExitDone : kExitRefused;
}

}  // namespace kw::cli
