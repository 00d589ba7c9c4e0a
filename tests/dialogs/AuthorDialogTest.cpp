// The author dialog: opening state, the OK rules and default button, the website box, and
// that only OK stores anything.
#include "DialogTestSupport.h"
#include "dialogs/frmAuthor.h"

namespace dlgtest {
namespace {

const char* const kIni =
    "[Preferences]\r\nIncAuthor=1\r\n[Personal]\r\nName=Ann\r\nWebsite=http://ann.example\r\nContact=ann@example\r\n";

class AuthorDialog : public DialogTest {
protected:
    void Open(const std::function<void()>& script)
    {
        Drive([this] { kw::ShowAuthorDialog(Model(), nullptr); }, script);
    }
    void ExpectStored()
    {
        EXPECT_EQ(Text(IDC_TXT_AUTHOR_NAME), "Ann");
        EXPECT_EQ(Text(IDC_TXT_AUTHOR_WEBSITE), "http://ann.example");
        EXPECT_EQ(Text(IDC_TXT_AUTHOR_CONTACT), "ann@example");
        EXPECT_EQ(Text(IDC_TXT_AUTHOR_COMMENT), "");
        EXPECT_FALSE(Enabled(IDC_CMD_AUTHOR_OK));
        EXPECT_EQ(DefaultId(), IDC_CMD_AUTHOR_CANCEL);
    }
};

TEST_F(AuthorDialog, OkFollowsEditsAndOnlyOkStores)
{
    WriteIni(kIni);
    Model();
    const std::string before = Ini();
    for (UINT closing : {UINT{VK_RETURN}, UINT{VK_ESCAPE}, 0u}) {
        Open([&] {
            ExpectStored();  // nothing of an earlier opening is left
            EXPECT_EQ(GetFocus(), Item(IDC_TXT_AUTHOR_NAME));
            Focus(IDC_TXT_AUTHOR_CONTACT);
            DWORD start = 9, end = 0;
            SendMessageW(Item(IDC_TXT_AUTHOR_CONTACT), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                         reinterpret_cast<LPARAM>(&end));
            EXPECT_EQ(end - start, 11u);  // entering a box selects all of it
            SendMessageW(Item(IDC_TXT_AUTHOR_CONTACT), EM_SETSEL, 11, 11);
            Type("x");
            EXPECT_TRUE(Enabled(IDC_CMD_AUTHOR_OK));
            EXPECT_EQ(DefaultId(), IDC_CMD_AUTHOR_OK);
            if (closing == VK_RETURN) {
                Type("\b");
                ExpectStored();
            }
            if (closing)
                Key(closing);  // Enter presses Cancel again once the edit is undone
            else
                CloseBox();
        });
        EXPECT_EQ(Model().AuthorContact(), "ann@example");
        EXPECT_EQ(Ini(), before);
    }
}

TEST_F(AuthorDialog, WebsiteBoxFiltersKeysAndNeverStaysEmpty)
{
    WriteIni(kIni);
    Open([&] {
        Focus(IDC_TXT_AUTHOR_WEBSITE);
        Type("x\\?|:/y\"*<>^");
        EXPECT_EQ(Text(IDC_TXT_AUTHOR_WEBSITE), "x:/y");
        SendMessageW(Item(IDC_TXT_AUTHOR_WEBSITE), EM_SETSEL, 0, -1);
        Type("\b");
        EXPECT_EQ(Text(IDC_TXT_AUTHOR_WEBSITE), "http://");
        Key(VK_RETURN);  // OK: the box's "http://" means no website
    });
    EXPECT_EQ(Model().AuthorWebsite(), "");
    EXPECT_EQ(Ini().find("Website"), std::string::npos) << Ini();

    // Emptied, the box refills with the caret after the prefix: typing goes on there.
    Open([&] {
        Focus(IDC_TXT_AUTHOR_WEBSITE);
        Type("\b");
        EXPECT_EQ(Text(IDC_TXT_AUTHOR_WEBSITE), "http://");
        Type("ann.example");
        EXPECT_EQ(Text(IDC_TXT_AUTHOR_WEBSITE), "http://ann.example");
        Key(VK_RETURN);
    });
    EXPECT_EQ(Model().AuthorWebsite(), "http://ann.example");
}

// With no stored website the box shows "http://"; that is no change, so undoing an edit
// disables OK again, and OK stores all four boxes.
TEST_F(AuthorDialog, EmptyStoredWebsiteIsNoChangeAndOkStoresEveryBox)
{
    WriteIni("[Preferences]\r\nIncAuthor=1\r\n");
    Open([&] {
        EXPECT_EQ(Text(IDC_TXT_AUTHOR_WEBSITE), "http://");
        Type("Q");
        EXPECT_TRUE(Enabled(IDC_CMD_AUTHOR_OK));
        Type("\b");
        EXPECT_FALSE(Enabled(IDC_CMD_AUTHOR_OK));
        EXPECT_EQ(DefaultId(), IDC_CMD_AUTHOR_CANCEL);
        Type("Zoë");
        Focus(IDC_TXT_AUTHOR_WEBSITE);
        Type("w.example");
        Focus(IDC_TXT_AUTHOR_CONTACT);
        Type("z@w");
        Focus(IDC_TXT_AUTHOR_COMMENT);
        Type("c=1");
        Click(IDC_CMD_AUTHOR_OK);
    });
    EXPECT_EQ(Model().AuthorName(), "Zo\xc3\xab");
    EXPECT_EQ(Ini(),
              "[Preferences]\r\nIncAuthor=1\r\n[Personal]\r\nName=Zo\xeb\r\nWebsite=w.example\r\n"
              "Contact=z@w\r\nComment=c=1\r\n");
}

}  // namespace
}  // namespace dlgtest
