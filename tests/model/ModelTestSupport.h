#pragma once
// Shared by the model tests: a temporary program folder with its own Kitwright.ini,
// temporary Windows and System32 folders, and recorders for messages and list boxes.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "model/StringList.h"
#include "model/clsKitwright.h"
#include "platform/Platform.h"
#include "platform/RuntimeError.h"

namespace kwtest {

namespace fs = std::filesystem;

// The error number a call raises, 0 when it raises none.
inline long ErrorOf(const std::function<void()>& call)
{
    try {
        call();
    } catch (const kw::RuntimeError& e) {
        return e.Number();
    }
    return 0;
}

struct ShownMessage {
    kw::NativeHandle owner;
    std::string text, title;
    unsigned style;
};

class RecordingPrompt : public kw::platform::iPrompt {
public:
    int Show(kw::NativeHandle owner, std::string_view text, std::string_view title, unsigned style) override
    {
        shown.push_back({owner, std::string(text), std::string(title), style});
        return kw::platform::kIdOk;
    }
    std::vector<ShownMessage> shown;
};

// A list box as the model sees it; selections are recorded as the clicks they would raise.
class RecordingList : public kw::StringList {
public:
    void Clear() override { items.clear(); }
    void AddItem(const std::string& text) override { items.push_back(text); }
    int ListCount() const override { return static_cast<int>(items.size()); }
    std::string List(int index) const override { return items.at(static_cast<size_t>(index)); }
    void ListIndex(int index) override { clicks.push_back(index); }
    std::vector<std::string> items;
    std::vector<int> clicks;
};

// Model paths use "\"; the platform maps them on POSIX.
inline std::string ToModel(const fs::path& p)
{
    std::u8string u = p.u8string();
    std::string s(u.begin(), u.end());
    while (s.size() > 1 && (s.back() == '/' || s.back() == '\\'))
        s.pop_back();
    return s;
}

inline fs::path ToFs(const std::string& modelPath)
{
#ifdef _WIN32
    return fs::path(std::u8string(modelPath.begin(), modelPath.end()));
#else
    std::string s = modelPath;
    for (char& c : s)
        if (c == '\\')
            c = '/';
    return fs::path(s);
#endif
}

inline std::string ReadAll(const std::string& modelPath)
{
    std::ifstream in(ToFs(modelPath), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void WriteAll(const std::string& modelPath, const std::string& bytes)
{
    fs::create_directories(ToFs(modelPath).parent_path());
    std::ofstream out(ToFs(modelPath), std::ios::binary | std::ios::trunc);
    out << bytes;
}

class ModelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        fs::path base = fs::temp_directory_path() / (std::string("kwmodel-") + info->test_suite_name() + "-" +
                                                     info->name() + "-" + std::to_string(std::random_device{}()));
        fs::remove_all(base);
        fs::create_directories(base);
        root = ToModel(base);
        programFolder = root + "\\prog";
        windowsFolder = root + "\\win";
        systemFolder = root + "\\win\\system32";
        fs::create_directories(ToFs(programFolder));
        fs::create_directories(ToFs(systemFolder));
        iniFile = programFolder + "\\Kitwright.ini";
        kw::platform::SetProgramFolderForTesting(programFolder);
        kw::platform::SetSpecialFolderForTesting(kw::platform::kCsidlWindows, windowsFolder);
        kw::platform::SetSpecialFolderForTesting(kw::platform::kCsidlSystem, systemFolder);
        previousPrompt = kw::platform::SetPrompt(&prompt);
    }

    void TearDown() override
    {
        kw::platform::SetPrompt(previousPrompt);
        kw::platform::SetProgramFolderForTesting({});
        kw::platform::SetSpecialFolderForTesting(kw::platform::kCsidlWindows, {});
        kw::platform::SetSpecialFolderForTesting(kw::platform::kCsidlSystem, {});
        kw::platform::SetShellOpenHookForTesting({});
        std::error_code ec;
        fs::permissions(ToFs(iniFile), fs::perms::owner_write, fs::perm_options::add, ec);
        fs::remove_all(ToFs(root), ec);
    }

    // A file of the given content, its folders made as needed.
    std::string MakeFile(const std::string& relative, const std::string& content = "x")
    {
        std::string path = root + "\\" + relative;
        WriteAll(path, content);
        return path;
    }

    std::string root, programFolder, windowsFolder, systemFolder, iniFile;
    RecordingPrompt prompt;
    kw::platform::iPrompt* previousPrompt = nullptr;
};

// A model set to make the plugin "Tool" in root\Out, with every executable slot open.
class PluginModelTest : public ModelTest {
protected:
    void SetUp() override
    {
        ModelTest::SetUp();
        out = root + "\\Out";
        fs::create_directories(ToFs(out));
        model = std::make_unique<kw::clsKitwright>();
        model->PluginLocation(out);
        model->PluginName("Tool");
        model->MaxExecutables(9);
        model->ProgramFilesDest(kw::dstPrograms);
    }

    std::string out;
    std::unique_ptr<kw::clsKitwright> model;
};

}  // namespace kwtest
