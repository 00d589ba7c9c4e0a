#pragma once
// The console program's prompt: what the model would show in a message box goes to stderr,
// in the window's own words, and every question is answered No (or Cancel where there is
// no No). Nothing ever waits for the user, and the platform's default answer is never used.
#include <string>
#include <vector>

#include "Console.h"
#include "platform/Platform.h"

namespace kw::cli {

class ConsolePrompt final : public platform::iPrompt {
public:
    explicit ConsolePrompt(Console& console) : console_(console) {}
    int Show(NativeHandle owner, std::string_view text, std::string_view title, unsigned style) override;

    // Every message shown so far ("title: text").
    const std::vector<std::string>& Shown() const { return shown_; }
    // True when a warning or an error was shown: the console then refuses to go on.
    bool Warned() const { return warned_; }

    // The answer to a message box of the given style when nobody is there to answer.
    static int Answer(unsigned style);
    // "title: text", the text's line breaks kept as lines of their own, indented.
    static std::string Format(std::string_view text, std::string_view title);

private:
    Console& console_;
    std::vector<std::string> shown_;
    bool warned_ = false;
};

// Installs a prompt for as long as it lives.
class ScopedPrompt {
public:
    explicit ScopedPrompt(platform::iPrompt& prompt) : previous_(platform::SetPrompt(&prompt)) {}
    ~ScopedPrompt() { platform::SetPrompt(previous_); }
    ScopedPrompt(const ScopedPrompt&) = delete;
    ScopedPrompt& operator=(const ScopedPrompt&) = delete;

private:
    platform::iPrompt* previous_;
};

}  // namespace kw::cli
