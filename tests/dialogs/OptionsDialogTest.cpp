// The global options dialog: the OK rule over check boxes and the version list, storing
// all three values, and a stored version the list does not hold.
#include "DialogTestSupport.h"
#include "dialogs/frmOptions.h"

namespace dlgtest {
namespace {

class OptionsDialog : public DialogTest {
protected:
    void Open(const std::function<void()>& script)
    {
        Drive([this] { kw::ShowOptionsDialog(Model(), nullptr); }, script);
    }
    int Checked(int id) const { return static_cast<int>(SendMessageW(Item(id), BM_GETCHECK, 0, 0)); }
    int Version() const { return static_cast<int>(SendMessageW(Item(IDC_CBO_ZEL_VERSION), CB_GETCURSEL, 0, 0)); }
    void PickVersion(UINT vk)
    {
        Focus(IDC_CBO_ZEL_VERSION);
        Key(vk);
    }
    void ExpectUnchanged()
    {
        EXPECT_FALSE(Enabled(IDC_CMD_OPTIONS_OK));
        EXPECT_EQ(DefaultId(), IDC_CMD_OPTIONS_CANCEL);
    }
};

TEST_F(OptionsDialog, OkFollowsRealChangesAndEnterOrEscapeCancel)
{
    WriteIni("[Preferences]\r\nIncPopupDone=1\r\nZelVersion=1\r\n");
    Model();
    const std::string before = Ini();
    for (UINT closing : {VK_RETURN, VK_ESCAPE}) {
        Open([&] {
            EXPECT_EQ(Checked(IDC_CHK_POPUP_DONE), BST_CHECKED);
            EXPECT_EQ(Checked(IDC_CHK_ZEL_FILE_NAME), BST_UNCHECKED);
            EXPECT_EQ(Version(), 1);
            ExpectUnchanged();
            Click(IDC_CHK_ZEL_FILE_NAME);
            EXPECT_TRUE(Enabled(IDC_CMD_OPTIONS_OK));
            EXPECT_EQ(DefaultId(), IDC_CMD_OPTIONS_OK);
            Click(IDC_CHK_ZEL_FILE_NAME);
            ExpectUnchanged();
            PickVersion(VK_UP);
            EXPECT_EQ(Version(), 0);
            EXPECT_EQ(DefaultId(), IDC_CMD_OPTIONS_OK);
            Key(VK_DOWN);
            ExpectUnchanged();
            Key(closing);
        });
        EXPECT_EQ(Ini(), before);
    }
}

TEST_F(OptionsDialog, OkStoresAllThreeValues)
{
    WriteIni("[Preferences]\r\nIncPopupDone=1\r\n");
    Open([&] {
        Click(IDC_CHK_ZEL_FILE_NAME);
        Key(VK_RETURN);
    });
    EXPECT_EQ(Model().ZelFileName(), kw::cvChecked);
    EXPECT_EQ(Ini(), "[Preferences]\r\nIncPopupDone=1\r\nZelFileName=1\r\nZelVersion=0\r\n");
}

// A version the list does not hold shows as the first entry, with OK disabled until
// something is touched; OK then stores a version the list holds. Any non-zero check value
// counts as set, as everywhere in the program.
TEST_F(OptionsDialog, StoredValuesOutsideTheListAreShownAsTheProgramUsesThem)
{
    WriteIni("[Preferences]\r\nIncPopupDone=5\r\nZelVersion=7\r\n");
    Open([&] {
        EXPECT_EQ(Version(), 0);
        EXPECT_EQ(Checked(IDC_CHK_POPUP_DONE), BST_CHECKED);
        ExpectUnchanged();
        Click(IDC_CHK_ZEL_FILE_NAME);
        Key(VK_RETURN);
    });
    EXPECT_EQ(Model().ZelVersion(), kw::zvUpTo0348);
    EXPECT_EQ(Ini(), "[Preferences]\r\nIncPopupDone=1\r\nZelVersion=0\r\nZelFileName=1\r\n");

    Model().ZelVersion(static_cast<kw::ZelMenuVersion>(-3));
    Open([&] {
        EXPECT_EQ(Version(), 0);
        ExpectUnchanged();
        PickVersion(VK_DOWN);
        EXPECT_EQ(Version(), 1);
        EXPECT_TRUE(Enabled(IDC_CMD_OPTIONS_OK));
        // Back on the entry shown: still no version the model holds, so OK stays.
        Key(VK_UP);
        EXPECT_EQ(Version(), 0);
        EXPECT_TRUE(Enabled(IDC_CMD_OPTIONS_OK));
        Key(VK_RETURN);
    });
    EXPECT_EQ(Model().ZelVersion(), kw::zvUpTo0348);

    // Cancel keeps the stored value as it was.
    Model().ZelVersion(static_cast<kw::ZelMenuVersion>(9));
    Open([&] {
        EXPECT_EQ(Version(), 0);
        Key(VK_ESCAPE);
    });
    EXPECT_EQ(Model().ZelVersion(), 9);
}

}  // namespace
}  // namespace dlgtest
