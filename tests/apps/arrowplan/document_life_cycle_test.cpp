// New, open, save, save as and close with the save prompt, refused files
// and failed writes, and the recent-files list they feed.
#include "tests/apps/arrowplan/main_window_fixture.h"
#include "tests/apps/save_prompt_cases.h"

#include "common/open_file_popup_menu.h"

#include "network/control/network_file.h"

#include <QAction>
#include <QCloseEvent>
#include <QFile>

using platform::MessageButton;
using save_prompt::Answer;
using save_prompt::WriteBytes;

namespace {

const QString kTitle = QStringLiteral("朔衡dodiridezu V3.0");
const QString kPrompt = QStringLiteral("网络图已经改变，要保存吗?");

QByteArray ReadBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct LifeCycleTest : MainWindowFixture {
    void SaveAs(const QString& name)
    {
        dialogs.saveNames.push_back(PathOf(name));
        ASSERT_TRUE(window->ActSaveAsExecute());
    }
    // A new network with one work, saved under the name.
    void MakeFile(const QString& name)
    {
        window->ActNew->trigger();
        DrawWorkFrom(1, 30);
        SaveAs(name);
    }
    QStringList RecentEntries() const { return window->QOpenFilePopupMenu1->List().FileNames(); }
    bool Close()
    {
        QCloseEvent event;
        QApplication::sendEvent(window.get(), &event);
        return event.isAccepted();
    }
};

TEST_F(LifeCycleTest, SaveAsWritesTheFileAndNamesTheDocumentAfterTheWrite)
{
    MakeFile(QStringLiteral("first.nwm"));
    EXPECT_EQ(dialogs.lastFolder, window->DataDir());
    EXPECT_FALSE(Net().Modified());
    EXPECT_EQ(window->FileName(), PathOf(QStringLiteral("first.nwm")));
    EXPECT_EQ(window->windowTitle(), kTitle + QStringLiteral(" ... ") + PathOf(QStringLiteral("first.nwm")));
    EXPECT_EQ(window->QOpenFilePopupMenu1->CurFileName(), PathOf(QStringLiteral("first.nwm")));

    // Closing or opening after a save asks nothing.
    dialogs.openNames.push_back(PathOf(QStringLiteral("first.nwm")));
    window->ActOpen->trigger();
    ASSERT_EQ(Net().Works().Count(), 1);
    EXPECT_FALSE(Net().Modified());
    EXPECT_EQ(Net().DrawState(), 0);
    EXPECT_TRUE(Close());
    EXPECT_TRUE(services.messages.empty());
}

TEST_F(LifeCycleTest, SaveAsOverAnExistingFileAsksOnceAndNoKeepsTheFile)
{
    MakeFile(QStringLiteral("first.nwm"));
    WriteBytes(PathOf(QStringLiteral("other.nwm")), "keep me");
    Net().SetModified(true);

    dialogs.saveNames.push_back(PathOf(QStringLiteral("other.nwm")));
    services.QueueAnswer(MessageButton::No);
    EXPECT_FALSE(window->ActSaveAsExecute());
    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_EQ(services.messages[0].text,
              QStringLiteral("文件") + PathOf(QStringLiteral("other.nwm")) + QStringLiteral("已经存在，要覆盖它吗?"));
    EXPECT_EQ(services.messages[0].buttons, MessageButton::Yes | MessageButton::No);
    EXPECT_EQ(ReadBytes(PathOf(QStringLiteral("other.nwm"))), "keep me");
    EXPECT_EQ(window->FileName(), PathOf(QStringLiteral("first.nwm")));
    EXPECT_TRUE(Net().Modified());

    dialogs.saveNames.push_back(PathOf(QStringLiteral("other.nwm")));
    services.QueueAnswer(MessageButton::Yes);
    EXPECT_TRUE(window->ActSaveAsExecute());
    EXPECT_EQ(ReadBytes(PathOf(QStringLiteral("other.nwm"))), network::WriteNetwork(Net()));
    EXPECT_EQ(window->FileName(), PathOf(QStringLiteral("other.nwm")));
}

TEST_F(LifeCycleTest, AFailedSaveKeepsTheNameTheFileAndTheModifiedFlag)
{
    MakeFile(QStringLiteral("first.nwm"));
    const QByteArray saved = ReadBytes(PathOf(QStringLiteral("first.nwm")));
    DrawWorkFrom(2, 30);
    ASSERT_TRUE(Net().Modified());

    dialogs.saveNames.push_back(PathOf(QStringLiteral("missing/second.nwm")));
    EXPECT_FALSE(window->ActSaveAsExecute());
    EXPECT_EQ(services.messages.size(), 1u);
    EXPECT_EQ(window->FileName(), PathOf(QStringLiteral("first.nwm")));
    EXPECT_TRUE(Net().Modified());
    EXPECT_EQ(RecentEntries(), QStringList());
    EXPECT_EQ(ReadBytes(PathOf(QStringLiteral("first.nwm"))), saved);
}

struct RefusedCase {
    const char* name;
    QByteArray bytes;
    QString message;
};

TEST_F(LifeCycleTest, ARefusedFileLeavesTheOpenNetworkItsNameAndTheRecentList)
{
    MakeFile(QStringLiteral("first.nwm"));
    network::TVYRNetwork* before = window->Network();
    const QByteArray panel = QByteArray("TPF0") + char(10) + "TLankPanel" + char(0) + char(0) + char(0);
    const RefusedCase cases[] = {
        {"not a stream", "hello", QStringLiteral("Invalid stream format")},
        {"a handle panel", panel, QStringLiteral("Invalid stream format")},
        {"cut short", ReadBytes(PathOf(QStringLiteral("first.nwm"))).left(40), QStringLiteral("Stream read error")},
    };
    for (const RefusedCase& c : cases) {
        SCOPED_TRACE(c.name);
        services.messages.clear();
        WriteBytes(PathOf(QStringLiteral("bad.nwm")), c.bytes);
        dialogs.openNames.push_back(PathOf(QStringLiteral("bad.nwm")));
        window->ActOpen->trigger();
        ASSERT_EQ(services.messages.size(), 1u);
        EXPECT_EQ(services.messages[0].text, c.message);
        EXPECT_EQ(window->Network(), before);
        EXPECT_EQ(window->FileName(), PathOf(QStringLiteral("first.nwm")));
        EXPECT_EQ(window->QOpenFilePopupMenu1->CurFileName(), PathOf(QStringLiteral("first.nwm")));
    }
    dialogs.openNames.push_back(PathOf(QStringLiteral("nowhere.nwm")));
    window->ActOpen->trigger();
    EXPECT_EQ(window->Network(), before);
}

enum class Command { New, Open, Close };
using PromptCase = save_prompt::PromptCase<Command>;

class SavePromptTest : public LifeCycleTest, public ::testing::WithParamInterface<PromptCase> {};

TEST_P(SavePromptTest, TheCommandGoesOnOnlyWhenTheNetworkWasSavedOrGivenUp)
{
    const PromptCase c = GetParam();
    MakeFile(QStringLiteral("other.nwm"));
    window->ActNew->trigger();
    network::TVYRNetwork* before = window->Network();
    ASSERT_TRUE(before->Modified());

    save_prompt::QueueAnswer(services, dialogs, c.answer, PathOf(QStringLiteral("saved.nwm")),
                             PathOf(QStringLiteral("missing/saved.nwm")));

    bool wentOn = false;
    switch (c.command) {
    case Command::New:
        window->ActNew->trigger();
        wentOn = window->Network() != before;
        break;
    case Command::Open:
        dialogs.openNames.push_back(PathOf(QStringLiteral("other.nwm")));
        window->ActOpen->trigger();
        wentOn = window->Network() != before;
        break;
    case Command::Close:
        wentOn = Close();
        break;
    }
    EXPECT_EQ(services.messages.front().text, kPrompt);
    EXPECT_EQ(services.messages.front().buttons, MessageButton::Yes | MessageButton::No | MessageButton::Cancel);
    EXPECT_EQ(wentOn, c.goesOn);
    if (!c.goesOn) {
        EXPECT_TRUE(before->Modified());
        EXPECT_TRUE(window->FileName().isEmpty());
    }
    EXPECT_EQ(QFile::exists(PathOf(QStringLiteral("saved.nwm"))), c.answer == Answer::YesSaved);
}

std::string CaseName(const ::testing::TestParamInfo<PromptCase>& info)
{
    static const char* const commands[] = {"New", "Open", "Close"};
    return std::string(commands[static_cast<int>(info.param.command)]) + save_prompt::AnswerName(info.param.answer);
}

INSTANTIATE_TEST_SUITE_P(EveryAnswer, SavePromptTest,
                         ::testing::ValuesIn(save_prompt::PromptCases({Command::New, Command::Open, Command::Close})),
                         CaseName);

TEST_F(LifeCycleTest, TheRecentListHoldsTheEarlierFilesAndItsEntriesOpenThem)
{
    MakeFile(QStringLiteral("a.nwm"));
    MakeFile(QStringLiteral("b.nwm"));
    MakeFile(QStringLiteral("c.nwm"));
    EXPECT_EQ(RecentEntries(), (QStringList{PathOf(QStringLiteral("b.nwm")), PathOf(QStringLiteral("a.nwm"))}));
    window->QOpenFilePopupMenu1ClickItem(PathOf(QStringLiteral("a.nwm")));
    EXPECT_EQ(window->FileName(), PathOf(QStringLiteral("a.nwm")));
    EXPECT_EQ(RecentEntries(), (QStringList{PathOf(QStringLiteral("c.nwm")), PathOf(QStringLiteral("b.nwm"))}));

    window.reset();
    const QByteArray ini = ReadBytes(PathOf(QStringLiteral("NetOpenFile.Ini")));
    EXPECT_TRUE(ini.contains("[OpenFile]"));
    EXPECT_TRUE(ini.contains("File0=" + PathOf(QStringLiteral("a.nwm")).toUtf8()));
}

} // namespace
