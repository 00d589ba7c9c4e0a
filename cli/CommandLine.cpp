#include "CommandLine.h"

#include <sstream>

#include <CLI/CLI.hpp>

namespace kw::cli {

namespace {

constexpr const char* kFooter =
    "Paths may be relative to the current folder. Preferences (author, menu file, plugins\n"
    "folder) come from Kitwright.ini beside the program, or --ini; they are only read.\n"
    "\n"
    "Exit codes: 0 done; 1 refused or problems found; 2 usage error;\n"
    "            3 a read, write or copy failed.\n";

void AddCommonOptions(CLI::App& app, Options& options)
{
    app.add_option("--ini", options.iniFile, "Preferences file to read instead of Kitwright.ini")->type_name("FILE");
    app.add_option("--windows-folder", options.windowsFolder,
                   "Windows folder that system files come from (its system32 below it)")
        ->type_name("DIR");
}

}  // namespace

std::optional<int> ParseCommandLine(const std::vector<std::string>& args, Options& options, Console& console)
{
    CLI::App app("Makes, reads back and checks Velmont plugin folders.", kProgramName);
    // Options start with "-" everywhere: a Windows path may start with "/".
    app.allow_windows_style_options(false);
    app.set_version_flag("--version", kVersionText, "Print the version and exit");
    app.require_subcommand(1, 1);
    app.fallthrough();
    app.footer(kFooter);
    app.get_formatter()->label("SUBCOMMAND", "COMMAND");
    app.get_formatter()->label("SUBCOMMANDS", "COMMANDS");
    app.get_formatter()->label("Subcommands", "Commands");
    app.failure_message(
        [](const CLI::App*, const CLI::Error& e) { return std::string(kProgramName) + ": " + e.what() + "\n"; });
    AddCommonOptions(app, options);

    CLI::App* create = app.add_subcommand("create", "Make the plugin a description file describes");
    create->add_option("description", options.input, "Description file (.kwp)")
        ->required()
        ->type_name("DESCRIPTION.kwp");
    create
        ->add_option("--plugins", options.pluginsFolder,
                     "Folder to make the plugin in (else the preferences' plugins folder, else the current folder)")
        ->type_name("DIR");
    create->add_flag("--replace", options.replace, "Replace an existing plugin folder, whole or not at all");

    CLI::App* import = app.add_subcommand("import", "Read a plugin folder back into a description");
    import->add_option("plugin", options.input, "Plugin folder")->required()->type_name("PLUGIN_FOLDER");
    import->add_option("-o,--output", options.output, "Description file to write (else standard output)")
        ->type_name("DESCRIPTION.kwp");

    CLI::App* check = app.add_subcommand("check", "Report every problem create would meet; writes nothing");
    check->add_option("source", options.input, "Description file or plugin folder")
        ->required()
        ->type_name("DESCRIPTION.kwp|PLUGIN_FOLDER");
    check->add_option("--plugins", options.pluginsFolder, "Folder the plugin would be made in")->type_name("DIR");

    // "/?" is how Windows programs are asked for help.
    std::vector<std::string> reversed;
    for (auto it = args.rbegin(); it != args.rend(); ++it)
        reversed.push_back(*it == "/?" ? "--help" : *it);

    std::ostringstream out, err;
    int code = 0;
    try {
        app.parse(std::move(reversed));
    } catch (const CLI::ParseError& e) {
        code = app.exit(e, out, err);
        if (code != 0 && app.get_subcommands().empty() &&
            std::string(e.what()).find("subcommand") != std::string::npos) {
            // The word where a command belongs is not one, or there is none.
            err.str("");
            err << kProgramName << ": A command is required: create, import or check.\n";
            for (size_t i = 0; i < args.size(); ++i) {
                if (args[i] == "--ini" || args[i] == "--windows-folder") {
                    ++i;
                } else if (!args[i].starts_with("-")) {
                    err.str("");
                    err << kProgramName << ": \"" << args[i] << "\" is not a command: use create, import or check.\n";
                    break;
                }
            }
        }
        if (code != 0) {
            code = kExitUsage;
            err << "Run " << kProgramName << " --help for the commands and options.\n";
        }
        console.Out(out.str());
        console.Err(err.str());
        return code;
    }
    if (create->parsed())
        options.command = Command::Create;
    else if (import->parsed())
        options.command = Command::Import;
    else
        options.command = Command::Check;
    return std::nullopt;
}

}  // namespace kw::cli
