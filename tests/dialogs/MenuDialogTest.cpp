// The menu-groups dialog: Add and Delete with the default button moving between them,
// what a name may be, and that only OK saves the list.
#include "DialogTestSupport.h"
#include "dialogs/frmMenu.h"

namespace dlgtest {
namespace {

const char* const kIni = "[Preferences]\r\nIncAuthor=1\r\n[MenuGroup]\r\n0=Games\r\n1=System Tools\r\n2=Office\r\n";

class MenuDialog : public DialogTest {
protected:
    void Open(const std::function<void()>& script)
    {
        Drive([this] { kw::ShowMenuDialog(Model(), nullptr); }, script);
    }
    std::vector<std::string> Groups() const
    {
        std::vector<std::string> items;
        HWND list = Item(IDC_LST_MENU_GROUPS);
        for (int i = 0; i < SendMessageW(list, LB_GETCOUNT, 0, 0); ++i) {
            wchar_t buf[256]{};
            SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(buf));
            items.push_back(kw::Narrow(buf));
        }
        return items;
    }
    void ClickItem(int index, WPARAM keys = 0)
    {
        RECT rc{};
        HWND list = Item(IDC_LST_MENU_GROUPS);
        SendMessageW(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rc));
        LPARAM at = MAKELPARAM(rc.left + 5, (rc.top + rc.bottom) / 2);
        SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON | keys, at);
        SendMessageW(list, WM_LBUTTONUP, keys, at);
        DoEvents();
    }
    using Names = std::vector<std::string>;
};

TEST_F(MenuDialog, EnterAddsAtTheEndAndASecondEnterSaves)
{
    WriteIni(kIni);
    Open([&] {
        EXPECT_EQ(Groups(), (Names{"Games", "System Tools", "Office"}));
        EXPECT_EQ(SendMessageW(Item(IDC_LST_MENU_GROUPS), LB_GETSELCOUNT, 0, 0), 0);
        for (int id : {IDC_CMD_ADD_NEW_GROUP, IDC_CMD_DELETE_GROUP, IDC_CMD_MENU_OK})
            EXPECT_FALSE(Enabled(id)) << id;
        EXPECT_EQ(GetFocus(), Item(IDC_TXT_NEW_MENU_GROUP));
        Type("A\\:/?*udio");
        EXPECT_EQ(Text(IDC_TXT_NEW_MENU_GROUP), "Audio");
        EXPECT_EQ(DefaultId(), IDC_CMD_ADD_NEW_GROUP);
        Key(VK_RETURN);
        EXPECT_EQ(Groups(), (Names{"Games", "System Tools", "Office", "Audio"}));
        EXPECT_EQ(Text(IDC_TXT_NEW_MENU_GROUP), "");
        EXPECT_FALSE(Enabled(IDC_CMD_ADD_NEW_GROUP));
        EXPECT_EQ(DefaultId(), IDC_CMD_MENU_OK);
        Key(VK_RETURN);
    });
    EXPECT_EQ(Ini(),
              "[Preferences]\r\nIncAuthor=1\r\n[MenuGroup]\r\n0=Games\r\n1=System Tools\r\n2=Office\r\n3=Audio\r\n");
}

// Blanks around a name would be lost in the file, a name of blanks only would end the
// stored list there, a name already listed (in any case) would be a second copy, and a
// pasted quote or slash would break the paths and entries made from the name.
TEST_F(MenuDialog, NamesAreTrimmedAndNeitherBlankNorRepeated)
{
    WriteIni(kIni);
    Open([&] {
        Type("   ");
        EXPECT_FALSE(Enabled(IDC_CMD_ADD_NEW_GROUP));
        Type("Zed  ");
        Click(IDC_CMD_ADD_NEW_GROUP);  // by mouse: the focus goes back to the box
        EXPECT_EQ(GetFocus(), Item(IDC_TXT_NEW_MENU_GROUP));
        Type(" office");
        Key(VK_RETURN);
        // Pasted text is not typed: what the key filter keeps out is dropped on Add.
        SetWindowTextW(Item(IDC_TXT_NEW_MENU_GROUP), L"\t\"Tools/Utils\" ");
        Key(VK_RETURN);
        EXPECT_EQ(Groups(), (Names{"Games", "System Tools", "Office", "Zed", "ToolsUtils"}));
        Key(VK_RETURN);
    });
    EXPECT_EQ(Ini(),
              "[Preferences]\r\nIncAuthor=1\r\n[MenuGroup]\r\n0=Games\r\n1=System Tools\r\n2=Office\r\n3=Zed\r\n"
              "4=ToolsUtils\r\n");
}

TEST_F(MenuDialog, DeleteRemovesEverySelectedNameAndCancelKeepsTheStoredList)
{
    WriteIni(kIni);
    Model();
    const std::string before = Ini();
    Open([&] {
        ClickItem(1);
        EXPECT_TRUE(Enabled(IDC_CMD_DELETE_GROUP));
        Focus(IDC_TXT_NEW_MENU_GROUP);  // entering the box clears the current item
        EXPECT_FALSE(Enabled(IDC_CMD_DELETE_GROUP));
        ClickItem(0);
        ClickItem(2, MK_CONTROL);
        EXPECT_EQ(DefaultId(), IDC_CMD_DELETE_GROUP);
        Key(VK_RETURN);
        EXPECT_EQ(Groups(), Names{"System Tools"});
        EXPECT_EQ(DefaultId(), IDC_CMD_MENU_OK);
        EXPECT_NE(GetFocus(), nullptr);
        Key(VK_ESCAPE);
    });
    EXPECT_EQ(Ini(), before);
    // All of them, and OK: no group is stored, and none comes back by default.
    Open([&] {
        EXPECT_EQ(Groups(), (Names{"Games", "System Tools", "Office"}));
        ClickItem(0);
        ClickItem(2, MK_SHIFT);
        Click(IDC_CMD_DELETE_GROUP);
        EXPECT_EQ(Groups(), Names{});
        Click(IDC_CMD_MENU_OK);
    });
    EXPECT_EQ(Ini(), "[Preferences]\r\nIncAuthor=1\r\n");
    Open([&] {
        EXPECT_EQ(Groups(), Names{});
        CloseBox();
    });
}

}  // namespace
}  // namespace dlgtest
