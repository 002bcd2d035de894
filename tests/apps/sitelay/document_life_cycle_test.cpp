// New, open, save, save as, close and quit with the save prompt, refused
// files and failed writes, and the recent-files list they feed.
#include "tests/apps/save_prompt_cases.h"
#include "tests/apps/sitelay/main_window_fixture.h"

#include "common/open_file_popup_menu.h"

#include "platform/ini_file.h"

#include <QAction>
#include <QFile>

using platform::MessageButton;
using save_prompt::Answer;
using save_prompt::WriteBytes;

namespace {

const QString kTitle = QStringLiteral("朔衡zevavev V1.5");
const QString kPrompt = QStringLiteral("当前平面图已经改变，要保存吗？");

struct LifeCycleTest : MainWindowFixture {
    // Saves the open plan under a new name through Save As.
    void SaveAs(const QString& name)
    {
        dialogs.saveNames.push_back(PathOf(name));
        ASSERT_TRUE(window->act_FileSaveAsExecute());
    }
    QStringList RecentEntries() const { return window->qppm_OpenFile->List().FileNames(); }
};

TEST_F(LifeCycleTest, StartsWithAnUntitledPlanAndItsStatus)
{
    EXPECT_EQ(window->windowTitle(), kTitle + QStringLiteral(" -- 新平面图"));
    EXPECT_EQ(window->StatusPanel(0), QStringLiteral("平面图尺寸：297 * 210mm"));
    EXPECT_EQ(window->StatusPanel(1), QStringLiteral("比例尺：1 : 100"));
    EXPECT_EQ(window->StatusPanel(2), QStringLiteral("显示比例：100%"));
    EXPECT_FALSE(Map().Modified);
    EXPECT_TRUE(window->FileName().isEmpty());
    EXPECT_EQ(window->cmb_FontSize->currentText(), QStringLiteral("9"));
    EXPECT_EQ(window->cmb_BrushStyle->currentText(), QStringLiteral("无"));
    EXPECT_EQ(window->cmb_PenStyle->currentText(), QStringLiteral("实线"));
    EXPECT_EQ(window->cmb_MapScale->currentText(), QStringLiteral("100"));
    EXPECT_EQ(window->cmb_PlanmapSize->currentIndex(), 4);
    EXPECT_TRUE(window->act_FileSave->isEnabled());
    EXPECT_FALSE(window->act_EditDelete->isEnabled());
    EXPECT_FALSE(window->act_ShowZoom->isEnabled());
    EXPECT_TRUE(services.messages.empty());
}

enum class Command { New, Open, Close, Quit };
using PromptCase = save_prompt::PromptCase<Command>;

class SavePromptTest : public LifeCycleTest, public ::testing::WithParamInterface<PromptCase> {};

TEST_P(SavePromptTest, TheCommandGoesOnOnlyWhenThePlanWasSavedOrGivenUp)
{
    const PromptCase c = GetParam();
    SaveAs(QStringLiteral("other.Plm"));
    ASSERT_TRUE(window->OpenMap(QString()));
    siteplan::TPlaneMap* before = window->PlaneMap();
    before->SetModified();

    save_prompt::QueueAnswer(services, dialogs, c.answer, PathOf(QStringLiteral("saved.Plm")),
                             PathOf(QStringLiteral("missing/folder/saved.Plm")));
    if (c.command == Command::Open)
        dialogs.openNames.push_back(PathOf(QStringLiteral("other.Plm")));

    bool closed = false;
    switch (c.command) {
    case Command::New: window->act_FileNew->trigger(); break;
    case Command::Open: window->act_FileOpen->trigger(); break;
    case Command::Close: window->act_FileClose->trigger(); break;
    case Command::Quit: closed = window->close(); break;
    }

    ASSERT_GE(services.messages.size(), 1u);
    EXPECT_EQ(services.messages[0].text, kPrompt);
    EXPECT_EQ(services.messages[0].buttons, MessageButton::Yes | MessageButton::No | MessageButton::Cancel);
    EXPECT_EQ(QFile::exists(PathOf(QStringLiteral("saved.Plm"))), c.answer == Answer::YesSaved);
    if (c.answer == Answer::YesWriteFailed) {
        EXPECT_EQ(services.messages.size(), 2u) << "the failed write is reported";
    }
    if (c.goesOn) {
        switch (c.command) {
        case Command::New: EXPECT_NE(window->PlaneMap(), before); break;
        case Command::Open: EXPECT_EQ(window->FileName(), PathOf(QStringLiteral("other.Plm"))); break;
        case Command::Close: EXPECT_EQ(window->PlaneMap(), nullptr); break;
        case Command::Quit: EXPECT_TRUE(closed); break;
        }
    } else {
        EXPECT_EQ(window->PlaneMap(), before);
        EXPECT_TRUE(before->Modified);
        EXPECT_TRUE(window->FileName().isEmpty());
        EXPECT_EQ(window->windowTitle(), kTitle + QStringLiteral(" -- 新平面图"));
        EXPECT_FALSE(closed);
    }
}

std::string CaseName(const ::testing::TestParamInfo<PromptCase>& info)
{
    static const char* const commands[] = {"New", "Open", "Close", "Quit"};
    return std::string(commands[static_cast<int>(info.param.command)]) + save_prompt::AnswerName(info.param.answer);
}

INSTANTIATE_TEST_SUITE_P(AllCommands, SavePromptTest,
                         ::testing::ValuesIn(save_prompt::PromptCases(
                             {Command::New, Command::Open, Command::Close, Command::Quit})),
                         CaseName);

TEST_F(LifeCycleTest, AnUnmodifiedPlanIsReplacedWithoutAPrompt)
{
    siteplan::TPlaneMap* before = window->PlaneMap();
    window->act_FileNew->trigger();
    EXPECT_NE(window->PlaneMap(), before);
    EXPECT_TRUE(services.messages.empty());
}

TEST_F(LifeCycleTest, OpenReadsASavedPlanIntoAFreshControl)
{
    DrawBox({100, 100}, {300, 200});
    Map().SetMapScale(500);
    SaveAs(QStringLiteral("site1.Plm"));
    window->act_FileNew->trigger();
    ASSERT_EQ(Map().MapComCount(), 0);

    dialogs.openNames.push_back(PathOf(QStringLiteral("site1.Plm")));
    window->act_FileOpen->trigger();
    EXPECT_EQ(Map().MapComCount(), 1);
    EXPECT_EQ(Map().MapScale(), 500);
    EXPECT_FALSE(Map().Modified);
    EXPECT_EQ(window->StatusPanel(1), QStringLiteral("比例尺：1 : 500"));
    EXPECT_EQ(window->windowTitle(), kTitle + QStringLiteral(" -- site1"));
    EXPECT_EQ(window->qppm_OpenFile->CurFileName(), PathOf(QStringLiteral("site1.Plm")));
    EXPECT_EQ(window->MethodsPanel()->MapCom(), nullptr);
}

TEST_F(LifeCycleTest, SaveAsTakesTheNewNameOnlyAfterTheWrite)
{
    Map().SetModified();
    dialogs.saveNames.push_back(PathOf(QStringLiteral("no/such/folder/site1.Plm")));
    EXPECT_FALSE(window->act_FileSaveAsExecute());
    EXPECT_TRUE(window->FileName().isEmpty());
    EXPECT_EQ(window->MapName(), QStringLiteral("新平面图"));
    EXPECT_TRUE(Map().Modified);
    EXPECT_TRUE(window->qppm_OpenFile->CurFileName().isEmpty());
    ASSERT_EQ(services.messages.size(), 1u);

    SaveAs(QStringLiteral("site1.Plm"));
    EXPECT_EQ(window->FileName(), PathOf(QStringLiteral("site1.Plm")));
    EXPECT_EQ(window->MapName(), QStringLiteral("site1"));
    EXPECT_EQ(window->windowTitle(), kTitle + QStringLiteral(" -- site1"));
    EXPECT_FALSE(Map().Modified);
    EXPECT_EQ(window->qppm_OpenFile->CurFileName(), PathOf(QStringLiteral("site1.Plm")));
}

TEST_F(LifeCycleTest, SaveWritesANamedPlanWithoutADialogAndAnUntitledOneThroughSaveAs)
{
    dialogs.saveNames.push_back(PathOf(QStringLiteral("a.Plm")));
    window->act_FileSave->trigger();
    EXPECT_EQ(dialogs.saveShown, 1);
    Map().SetModified();
    window->act_FileSave->trigger();
    EXPECT_EQ(dialogs.saveShown, 1);
    EXPECT_FALSE(Map().Modified);
    EXPECT_TRUE(QFile::exists(PathOf(QStringLiteral("a.Plm"))));
}

TEST_F(LifeCycleTest, ARefusedFileKeepsTheOpenPlanAsItWas)
{
    SaveAs(QStringLiteral("kept.Plm"));
    SaveAs(QStringLiteral("current.Plm"));
    testshapes::TTestBox* box = DrawBox({100, 100}, {300, 200});
    ASSERT_EQ(Map().SelectedCount(), 1);
    window->MethodsPanel()->SetMapCom(box);
    siteplan::TPlaneMap* before = window->PlaneMap();
    const QStringList entries = RecentEntries();
    const QString title = window->windowTitle();

    WriteBytes(PathOf(QStringLiteral("bad.Plm")), "planemap\0\0 not a plan");
    services.QueueAnswer(MessageButton::No); // the plan with the box is not saved
    dialogs.openNames.push_back(PathOf(QStringLiteral("bad.Plm")));
    window->act_FileOpen->trigger();

    EXPECT_EQ(services.MessageTexts(), (QStringList{kPrompt, QStringLiteral("文件类型错误！")}));
    EXPECT_EQ(window->PlaneMap(), before);
    EXPECT_EQ(Map().MapComCount(), 1);
    EXPECT_TRUE(Map().Modified);
    EXPECT_EQ(window->FileName(), PathOf(QStringLiteral("current.Plm")));
    EXPECT_EQ(window->windowTitle(), title);
    EXPECT_EQ(window->qppm_OpenFile->CurFileName(), PathOf(QStringLiteral("current.Plm")));
    EXPECT_EQ(RecentEntries(), entries);
    EXPECT_EQ(window->MethodsPanel()->MapCom(), box);
}

TEST_F(LifeCycleTest, APickedRecentFileBecomesCurrentOnlyWhenItOpened)
{
    SaveAs(QStringLiteral("A.Plm"));
    SaveAs(QStringLiteral("B.Plm"));
    SaveAs(QStringLiteral("C.Plm"));
    const QString a = PathOf(QStringLiteral("A.Plm"));
    const QString b = PathOf(QStringLiteral("B.Plm"));
    const QString c = PathOf(QStringLiteral("C.Plm"));
    ASSERT_EQ(RecentEntries(), (QStringList{b, a}));
    const auto pick = [this](int entry) { window->qppm_OpenFile->actions().at(entry)->trigger(); };
    EXPECT_EQ(window->qppm_OpenFile->actions().at(0)->text(), QStringLiteral("&0 ") + b);

    // A damaged file is refused: C stays current, the entries stay.
    WriteBytes(a, "damaged");
    pick(1);
    EXPECT_EQ(window->qppm_OpenFile->CurFileName(), c);
    EXPECT_EQ(RecentEntries(), (QStringList{b, a}));

    // The prompt cancelled: nothing changes either.
    Map().SetModified();
    services.QueueAnswer(MessageButton::Cancel);
    pick(0);
    EXPECT_EQ(window->qppm_OpenFile->CurFileName(), c);
    EXPECT_EQ(window->FileName(), c);

    // Opened: B is current, C goes to the top.
    services.QueueAnswer(MessageButton::No);
    pick(0);
    EXPECT_EQ(window->FileName(), b);
    EXPECT_EQ(window->qppm_OpenFile->CurFileName(), b);
    EXPECT_EQ(RecentEntries(), (QStringList{c, a}));

    // At exit the current file comes first, then the entries, five keys.
    window.reset();
    const platform::IniFile ini(IniPath());
    const QString section = QStringLiteral("OpenFile");
    EXPECT_EQ(ini.ReadString(section, QStringLiteral("File0"), {}), b);
    EXPECT_EQ(ini.ReadString(section, QStringLiteral("File1"), {}), c);
    EXPECT_EQ(ini.ReadString(section, QStringLiteral("File2"), {}), a);
    EXPECT_TRUE(ini.ValueExists(section, QStringLiteral("File4")));
    EXPECT_EQ(ini.ReadString(section, QStringLiteral("File4"), QStringLiteral("x")), QString());

    // The next run lists them again; its untitled plan is not an entry.
    CreateWindow();
    EXPECT_EQ(RecentEntries(), (QStringList{b, c, a}));
}

TEST_F(LifeCycleTest, CloseLeavesNoPlanAndCommandsThatNeedOneDoNothing)
{
    window->act_FileClose->trigger();
    EXPECT_EQ(window->PlaneMap(), nullptr);
    EXPECT_EQ(window->windowTitle(), kTitle);
    EXPECT_EQ(window->StatusPanel(0), QStringLiteral("平面图尺寸："));
    EXPECT_EQ(window->StatusPanel(1), QStringLiteral("比例尺："));
    EXPECT_EQ(window->cmb_MapScale->currentIndex(), -1);
    for (QAction* action : {window->act_FileSave, window->act_FileClose, window->act_ShowRePain,
                            window->act_ShowZoomIn, window->act_ShowZoomOut, window->act_EditDeleteAll})
        EXPECT_FALSE(action->isEnabled()) << action->text().toStdString();
    EXPECT_TRUE(window->act_FileSaveAs->isEnabled());
    EXPECT_FALSE(window->tlb_PlaneMap->isEnabled());
    window->act_FileSaveAs->trigger();
    window->act_EditProperty->trigger();
    window->cmb_PenStyleClick(1);
    EXPECT_EQ(dialogs.saveShown, 0);
    EXPECT_TRUE(window->close());

    window->act_FileNew->trigger();
    EXPECT_EQ(window->windowTitle(), kTitle + QStringLiteral(" -- 新平面图"));
}

} // namespace
