#pragma once
// What a DIALOGEX template of the program says about its controls, read without making any
// window: a page made on demand answers for its controls from it until it exists.
#include <windows.h>

#include <string>
#include <vector>

namespace kw::forms {

struct TemplateItem {
    int id = 0;
    DWORD style = 0;
    DWORD exStyle = 0;
    std::wstring text;  // empty when the template gives a resource number instead
    int group = 0;      // items of one WS_GROUP run share a number
};

struct DialogTemplate {
    DWORD style = 0;
    std::wstring fontFace;  // empty without DS_SETFONT
    int fontPoints = 0;
    int fontWeight = FW_NORMAL;
    std::vector<TemplateItem> items;
};

// False when the resource is missing or not an extended dialog template.
bool ReadDialogTemplate(HINSTANCE module, int templateId, DialogTemplate& out);

}  // namespace kw::forms
