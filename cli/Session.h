#pragma once
// What every command starts from: the console prompt, the Windows folders, the preferences
// (read only) and the plugins folder.
#include <optional>
#include <string>
#include <string_view>

#include "CommandLine.h"
#include "Console.h"
#include "ConsolePrompt.h"
#include "model/clsKitwright.h"

namespace kw::cli {

class Session {
public:
    Session(const Options& options, Console& console);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Sets everything up; 0, or the exit code when that failed (the reason is written).
    int Open();

    // A model holding the preferences and the plugins folder, as the window's is after it
    // has loaded (ten executable slots), copying without windows.
    clsKitwright NewModel() const;

    const Options& options() const { return options_; }
    Console& console() { return console_; }
    ConsolePrompt& prompt() { return prompt_; }
    // "kitwright-cli: text" on stderr.
    void Error(std::string_view text);
    // A line on stderr as it is.
    void Note(std::string_view text);

    // The input of the command, in the model's form.
    const std::string& InputPath() const { return input_; }
    bool InputIsFolder() const;

private:
    const Options& options_;
    Console& console_;
    ConsolePrompt prompt_;
    ScopedPrompt scopedPrompt_;
    std::string input_;
    std::optional<clsKitwright> model_;
};

}  // namespace kw::cli
