#include "ModelTestSupport.h"
#include "platform/RuntimeError.h"

using namespace kw;
using namespace kwtest;

class Executables : public ModelTest {};

TEST_F(Executables, SlotsAreRemadeFreeBySettingTheMaximum)
{
    clsKitwright kw;
    EXPECT_EQ(kw.MaxExecutables(), 0);
    EXPECT_EQ(ErrorOf([&] { kw.Executable(1); }), 5);
    kw.MaxExecutables(9);
    kw.Executable(9, "C:\\P\\run.exe");
    kw.ShortcutName(9, "Run");
    kw.IncAutorun(9, cvChecked);
    EXPECT_TRUE(kw.IsExecutables());
    kw.MaxExecutables(9);
    EXPECT_EQ(kw.Executable(9), "");
    EXPECT_EQ(kw.ShortcutName(9), "");
    EXPECT_EQ(kw.IncAutorun(9), cvUnchecked);
    EXPECT_FALSE(kw.IsExecutables());
    EXPECT_EQ(ErrorOf([&] { kw.MaxExecutables(-1); }), 5);
    EXPECT_EQ(kw.MaxExecutables(), 9);
}

TEST_F(Executables, SamePathIsRefusedInAnySlot)
{
    clsKitwright kw;
    kw.MaxExecutables(9);
    kw.Executable(0, "C:\\P\\run.exe");
    kw.Executable(3, "C:\\P\\run.exe");
    EXPECT_EQ(kw.Executable(3), "");
    kw.Executable(0, "C:\\P\\run.exe");
    EXPECT_EQ(kw.Executable(0), "C:\\P\\run.exe");
    ASSERT_EQ(prompt.shown.size(), 2u);
    EXPECT_EQ(prompt.shown[0].text, "A file with the same name has already been selected");
    EXPECT_EQ(prompt.shown[0].title, "Attention");
    EXPECT_EQ(prompt.shown[0].style, platform::kMbOk | platform::kMbIconWarning);

    // The same file name in another case or folder would share one copy in files\.
    kw.Executable(3, "C:\\P\\RUN.EXE");
    kw.Executable(4, "D:\\Q\\run.exe");
    EXPECT_EQ(kw.Executable(3), "");
    EXPECT_EQ(kw.Executable(4), "");
    EXPECT_EQ(prompt.shown.size(), 4u);
    kw.Executable(0, "D:\\Q\\run.exe");  // a slot may take another file of its own name
    EXPECT_EQ(kw.Executable(0), "D:\\Q\\run.exe");
    EXPECT_EQ(prompt.shown.size(), 4u);

    kw.Executable(0, "");  // empty equals every free slot
    EXPECT_EQ(kw.Executable(0), "D:\\Q\\run.exe");
    EXPECT_EQ(prompt.shown.size(), 5u);
}

TEST_F(Executables, IndexErrorsCarryTheirNumbers)
{
    clsKitwright kw;
    kw.MaxExecutables(9);
    for (int bad : {-1, 10}) {
        SCOPED_TRACE(bad);
        EXPECT_EQ(ErrorOf([&] { kw.Executable(bad); }), 5);
        EXPECT_EQ(ErrorOf([&] { kw.Executable(bad, "C:\\x.exe"); }), 5);
        EXPECT_EQ(ErrorOf([&] { kw.ShortcutName(bad); }), 5);
        EXPECT_EQ(ErrorOf([&] { kw.ShortcutName(bad, "x"); }), 5);
        EXPECT_EQ(ErrorOf([&] { kw.IncRamdisk(bad); }), 5);
        EXPECT_EQ(ErrorOf([&] { kw.IncRamdisk(bad, cvChecked); }), 5);
        EXPECT_EQ(ErrorOf([&] { kw.CurrentExecutable(bad); }), 5);
        EXPECT_EQ(ErrorOf([&] { kw.ExecutableName(bad); }), 9);
        EXPECT_EQ(ErrorOf([&] { kw.ExecutablePath(bad); }), 9);
        EXPECT_EQ(ErrorOf([&] { kw.IncAutorun(bad); }), 9);
        EXPECT_EQ(ErrorOf([&] { kw.IncAutorun(bad, cvChecked); }), 9);
        EXPECT_EQ(ErrorOf([&] { kw.IncJuxDesktop(bad); }), 9);
        EXPECT_EQ(ErrorOf([&] { kw.IncJuxDesktop(bad, cvChecked); }), 9);
        EXPECT_EQ(ErrorOf([&] { kw.IncJuxQlaunch(bad); }), 9);
        EXPECT_EQ(ErrorOf([&] { kw.IncJuxQlaunch(bad, cvChecked); }), 9);
    }
    EXPECT_FALSE(kw.IsExecutables());
    EXPECT_FALSE(kw.NeedsAutorun());
}

TEST_F(Executables, CurrentSlotSurvivesClearingButNotChecks)
{
    clsKitwright kw;
    kw.MaxExecutables(9);
    kw.CurrentExecutable(9);
    EXPECT_EQ(ErrorOf([&] { kw.CurrentExecutable(10); }), 5);
    EXPECT_EQ(kw.CurrentExecutable(), 9);
    kw.ClearExecutables();
    EXPECT_EQ(kw.CurrentExecutable(), 9);
    EXPECT_EQ(kw.MaxExecutables(), 9);
    kw.MaxExecutables(3);
    EXPECT_EQ(kw.CurrentExecutable(), 9);
    EXPECT_EQ(ErrorOf([&] { kw.ClearCurrentExecutable(); }), 9);
}

TEST_F(Executables, ClearCurrentTouchesOnlyThatSlot)
{
    clsKitwright kw;
    kw.MaxExecutables(9);
    const std::string names[] = {"", "S1", "S2", "S3"};
    for (int i : {1, 2, 3}) {
        kw.Executable(i, "C:\\P\\" + names[i]);
        kw.ShortcutName(i, names[i]);
        kw.IncRamdisk(i, cvChecked);
        kw.IncAutorun(i, cvChecked);
        kw.IncJuxDesktop(i, cvChecked);
        kw.IncJuxQlaunch(i, cvChecked);
    }
    kw.CurrentExecutable(2);
    kw.ClearCurrentExecutable();
    EXPECT_EQ(kw.Executable(2) + kw.ShortcutName(2), "");
    EXPECT_EQ(kw.IncRamdisk(2) + kw.IncAutorun(2) + kw.IncJuxDesktop(2) + kw.IncJuxQlaunch(2), 0);
    for (int i : {1, 3}) {
        EXPECT_EQ(kw.ShortcutName(i), names[i]);
        EXPECT_EQ(kw.IncRamdisk(i) + kw.IncAutorun(i) + kw.IncJuxDesktop(i) + kw.IncJuxQlaunch(i), 4);
    }
}

TEST_F(Executables, RamdiskNeedsTheProgramsDestination)
{
    clsKitwright kw;
    kw.MaxExecutables(9);
    kw.IncRamdisk(5, CheckValue(2));  // any non-zero value counts
    kw.ProgramFilesDest(dstPrograms);
    EXPECT_TRUE(kw.IsRamdisk(5));
    EXPECT_FALSE(kw.IsRamdisk(4));
    EXPECT_TRUE(kw.NeedsRamdisk());
    EXPECT_FALSE(kw.NeedsAutorun());
    kw.IncAutorun(7, cvChecked);
    kw.ProgramFilesDest(dstSystem32);
    EXPECT_FALSE(kw.IsRamdisk(5));
    EXPECT_FALSE(kw.NeedsRamdisk());
    EXPECT_TRUE(kw.NeedsAutorun());
    EXPECT_EQ(ErrorOf([&] { kw.IsRamdisk(10); }), 9);
}

TEST_F(Executables, NameAndFolderOfTheExecutable)
{
    clsKitwright kw;
    kw.Executable(0, "C:\\P\\run.exe");
    EXPECT_EQ(kw.ExecutableName(0), "run.exe");
    EXPECT_EQ(kw.ExecutablePath(0), "C:\\P\\");
    kw.ClearCurrentExecutable();
    EXPECT_EQ(kw.ExecutableName(0) + kw.ExecutablePath(0), "");
    kw.IncSubGroup(true);
    kw.MenuGroup(" Games ");
    EXPECT_TRUE(kw.IncSubGroup());
    EXPECT_EQ(kw.MenuGroup(), " Games ");
}
