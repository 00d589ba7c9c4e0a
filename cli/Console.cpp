#include "Console.h"

#include <algorithm>

#ifdef _WIN32
#include <windows.h>

#include "platform/WinText.h"
#else
#include <cstdio>
#endif

namespace kw::cli {

namespace {

#ifdef _WIN32

class Win32Console final : public Console {
public:
    void Out(std::string_view text) override { Text(STD_OUTPUT_HANDLE, text); }
    void Err(std::string_view text) override { Text(STD_ERROR_HANDLE, text); }
    void OutBytes(std::string_view bytes) override { Bytes(GetStdHandle(STD_OUTPUT_HANDLE), bytes); }

private:
    static void Text(DWORD which, std::string_view text)
    {
        HANDLE h = GetStdHandle(which);
        DWORD mode;
        if (GetConsoleMode(h, &mode)) {
            // A console shows every character this way, whatever its code page.
            const std::wstring wide = Widen(text);
            for (size_t done = 0; done < wide.size();) {
                DWORD written = 0;
                const DWORD chunk = static_cast<DWORD>(std::min<size_t>(wide.size() - done, 8192));
                if (!WriteConsoleW(h, wide.data() + done, chunk, &written, nullptr) || written == 0)
                    return;
                done += written;
            }
            return;
        }
        std::string bytes;
        bytes.reserve(text.size() + 16);
        for (char c : text) {
            if (c == '\n')
                bytes += '\r';
            bytes += c;
        }
        Bytes(h, bytes);
    }

    static void Bytes(HANDLE h, std::string_view bytes)
    {
        for (size_t done = 0; done < bytes.size();) {
            DWORD written = 0;
            const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
            if (!WriteFile(h, bytes.data() + done, chunk, &written, nullptr) || written == 0)
                return;
            done += written;
        }
    }
};

#else

class PosixConsole final : public Console {
public:
    void Out(std::string_view text) override { Write(stdout, text); }
    void Err(std::string_view text) override { Write(stderr, text); }
    void OutBytes(std::string_view bytes) override { Write(stdout, bytes); }

private:
    static void Write(FILE* f, std::string_view text)
    {
        std::fwrite(text.data(), 1, text.size(), f);
        std::fflush(f);
    }
};

#endif

}  // namespace

Console& StandardConsole()
{
#ifdef _WIN32
    static Win32Console console;
#else
    static PosixConsole console;
#endif
    return console;
}

}  // namespace kw::cli
