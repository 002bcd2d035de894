// The work and network dialog: its settings read, checked and applied
// without a window, and the dialog itself: the pages it opens on, the live
// fields of a work and a node, OK with every kind of refused field, and
// Cancel.
#include "apps/arrowplan/new_edit_network.h"

#include "apps/arrowplan/hint_window.h"

#include "tests/network/control/control_fixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

using namespace control_test;
using arrowplan::TFrmNewEditNetWork;
using arrowplan::TNetworkSettings;
using arrowplan::TWorkField;

namespace {

// Nodes 1 to 3; works A 1-2 (3 days) and B 1-3 (1 day).
void BuildNetwork(TVYRNetwork& net)
{
    AddNodes(net, 3);
    AddWork(net, 1, 2, 3.0f).SetCaption(QStringLiteral("A"));
    AddWork(net, 1, 3, 1.0f).SetCaption(QStringLiteral("B"));
}

// Types text into a live field and leaves it.
void Leave(QLineEdit* edit, const QString& text)
{
    edit->setText(text);
    edit->setModified(true);
    emit edit->editingFinished();
}

void Leave(QComboBox* combo, const QString& text)
{
    combo->setEditText(text);
    emit combo->lineEdit()->editingFinished();
}

// Runs the modal dialog and acts on it once it is shown.
int RunDialog(TVYRNetwork& net, TWorkItem* work, TNodeItem* node, FakeWindowServices& messages,
              const std::function<void(TFrmNewEditNetWork&)>& act)
{
    QTimer::singleShot(0, [&] {
        auto* dialog = dynamic_cast<TFrmNewEditNetWork*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        act(*dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
    return arrowplan::ShowNetworkDialog(net, work, node, messages, nullptr);
}

} // namespace

TEST(NetworkSettingsTest, ReadThenAppliedGivesTheSameSettingsAndEveryValueArrives)
{
    Network net;
    TNetworkSettings s = arrowplan::ReadNetworkSettings(net);
    s.Caption = QStringLiteral("某工程");
    s.WorkLimit = 42.5f;
    s.RecessDate = network::TRecessDate{network::rdSunday, network::rdLabor};
    s.NodeRadii = 14;
    s.NodeFont.Style = platform::fsBold;
    s.ArrowHeight = 7;
    s.KeyLineColor = platform::clGreen;
    s.SmallWidth = 31;
    s.SmallDate = 3;
    s.TopStyle = network::TopStyleOf({network::tsYear, network::tsDay});
    s.SmallLineSpace = 55;
    s.DutyWidth = 0;
    s.DutyName = QStringLiteral("单位");
    s.NetText = QStringLiteral("第一行\n第二行");
    s.ResourceStyle = 1u << network::rsWorkforce;
    s.ResourceHeight = 80;
    arrowplan::ApplyNetworkSettings(net, s);
    const TNetworkSettings back = arrowplan::ReadNetworkSettings(net);
    EXPECT_EQ(back.Caption, s.Caption);
    EXPECT_EQ(back.WorkLimit, 42.5f);
    EXPECT_EQ(back.RecessDate, s.RecessDate);
    EXPECT_EQ(back.NodeRadii, 14);
    EXPECT_EQ(back.NodeFont, s.NodeFont);
    EXPECT_EQ(back.ArrowHeight, 7);
    EXPECT_EQ(back.KeyLineColor, platform::clGreen);
    EXPECT_EQ(back.SmallWidth, 31);
    EXPECT_EQ(back.SmallDate, 3);
    EXPECT_EQ(back.TopStyle, s.TopStyle);
    EXPECT_EQ(back.SmallLineSpace, 55);
    EXPECT_EQ(back.DutyWidth, 0);
    EXPECT_EQ(back.DutyName, s.DutyName);
    ASSERT_EQ(net.NetText().Count(), 2);
    EXPECT_EQ(net.NetText().Text(1), QStringLiteral("第二行"));
    EXPECT_EQ(back.ResourceStyle, s.ResourceStyle);
    EXPECT_EQ(back.ResourceHeight, 80);
    EXPECT_TRUE(net.Modified());
}

TEST(NetworkSettingsTest, FieldTextsReadBackAsTheSameSettings)
{
    Network net;
    net.SetStartDate(46000.5);
    TNetworkSettings s = arrowplan::ReadNetworkSettings(net);
    const arrowplan::TFieldTexts texts = arrowplan::SettingsFieldTexts(s);
    EXPECT_EQ(texts.at(QStringLiteral("edtStartDate")), arrowplan::DateTimeText(46000.5));
    EXPECT_TRUE(texts.at(QStringLiteral("edtStartDate")).endsWith(QStringLiteral(" 12:00:00")));
    TNetworkSettings read = s;
    read.SmallWidth = -1;
    EXPECT_FALSE(arrowplan::ReadSettingsFields(texts, read));
    EXPECT_EQ(read.StartDate, 46000.5);
    EXPECT_EQ(read.SmallWidth, s.SmallWidth);
    EXPECT_EQ(read.NodeFont, s.NodeFont);
}

// Each refused text names its field with its message and leaves the
// settings as they were, also the fields read before it.
TEST(NetworkSettingsTest, ARefusedFieldIsNamedAndNothingIsRead)
{
    struct Case {
        const char* field;
        QString text;
        QString message;
    };
    const Case cases[] = {
        {"edtStartDate", QStringLiteral("2026-13-01"), QStringLiteral("开工日期\"2026-13-01\"无效, 请重新输入！")},
        {"edtStartDate", QStringLiteral("明天"), QStringLiteral("开工日期\"明天\"无效, 请重新输入！")},
        {"edtStartDate", QStringLiteral("2026-1-2 25:00"), QStringLiteral("开工日期\"2026-1-2 25:00\"无效, 请重新输入！")},
        {"edtWorkLimit", QStringLiteral("abc"), QStringLiteral("'abc' is not a valid floating point value")},
        {"edtWorkLimit", QStringLiteral("1e39"), QStringLiteral("'1e39' is not a valid floating point value")},
        {"edtNodeRadii", QStringLiteral("1x"), QStringLiteral("'1x' is not a valid integer value")},
        {"edtNodeFontSize", QStringLiteral("0"), QStringLiteral("字体大小必须大于零，请重新输入！")},
        {"edtKeyLineWidth", QStringLiteral(""), QStringLiteral("'' is not a valid integer value")},
        {"edtSmallWidth", QStringLiteral("0"), QStringLiteral("单位标尺宽度必须大于零，请重新输入！")},
        {"edtSmallDate", QStringLiteral("0"), QStringLiteral("单位标尺表示天数必须大于零，请重新输入！")},
        {"edtSmallLineSpace", QStringLiteral("-3"), QStringLiteral("垂直方向线距必须大于零，请重新输入！")},
        {"edtDutyWidth", QStringLiteral("-1"), QStringLiteral("责任栏宽度不能小于零，请重新输入！")},
        {"edtDutyHeight", QStringLiteral("99999999999"), QStringLiteral("'99999999999' is not a valid integer value")},
        {"edtDutyName", QStringLiteral("A\U0001F600"), QStringLiteral("“A\U0001F600”中有网络图文件不能保存的字符，请重新输入！")},
        {"memNetText", QStringLiteral("\U0001F600"), QStringLiteral("“\U0001F600”中有网络图文件不能保存的字符，请重新输入！")},
    };
    Network net;
    const TNetworkSettings original = arrowplan::ReadNetworkSettings(net);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.field);
        arrowplan::TFieldTexts texts = arrowplan::SettingsFieldTexts(original);
        texts[QStringLiteral("edtCaption")] = QStringLiteral("新名称");
        texts[QStringLiteral("edtArrowWidth")] = QStringLiteral("17");
        texts[QString::fromLatin1(c.field)] = c.text;
        TNetworkSettings s = original;
        const std::optional<arrowplan::TFieldError> error = arrowplan::ReadSettingsFields(texts, s);
        ASSERT_TRUE(error);
        EXPECT_EQ(error->Field, QString::fromLatin1(c.field));
        EXPECT_EQ(error->Message, c.message);
        EXPECT_EQ(s.Caption, original.Caption);
        EXPECT_EQ(s.ArrowWidth, original.ArrowWidth);
    }
}

TEST(NetworkSettingsTest, WorkAndNodeFieldsGoThroughTheSettersOrAreRefused)
{
    Network net;
    BuildNetwork(net);
    TWorkItem& a = *net.Works().Items(0);
    EXPECT_FALSE(arrowplan::SetWorkField(a, TWorkField::ContinueTime, QStringLiteral("2.3")));
    EXPECT_EQ(a.ContinueTime(), 2.5f);
    EXPECT_EQ(arrowplan::SetWorkField(a, TWorkField::Labor, QStringLiteral("x")),
              QStringLiteral("'x' is not a valid floating point value"));
    EXPECT_EQ(arrowplan::SetWorkField(a, TWorkField::Workforce, QStringLiteral("2.5")),
              QStringLiteral("'2.5' is not a valid integer value"));
    EXPECT_FALSE(arrowplan::SetWorkField(a, TWorkField::Workforce, QStringLiteral(" 12")));
    EXPECT_EQ(a.Workforce(), 12);
    EXPECT_EQ(a.Labor(), 0.0f);

    TNodeItem& third = *net.Nodes().Items(2);
    const int before = third.Number();
    EXPECT_FALSE(arrowplan::SetNodeField(net, third, arrowplan::TNodeField::Number,
                                         QString::number(net.Nodes().Items(1)->Number())));
    EXPECT_EQ(third.Number(), before);
    EXPECT_EQ(net.Fake().MessageTexts(), QStringList{QStringLiteral("节点的编号太小，请重新输入！")});
    // The node positions count the collection, not the numbers.
    TNodeItem& endOfB = *net.Nodes().FindByNewID(3);
    EXPECT_FALSE(arrowplan::SetNodeField(net, endOfB, arrowplan::TNodeField::Number, QStringLiteral("40")));
    EXPECT_EQ(endOfB.Number(), 40);
    const arrowplan::TWorkFacts facts = arrowplan::WorkFactsOf(net, *net.Works().Items(1));
    EXPECT_EQ(facts.EndPosition, endOfB.Index() + 1);
    EXPECT_EQ(facts.StartPosition, 1);
    EXPECT_EQ(facts.WorkCount, 2);
}

TEST(NewEditNetworkTest, OpensOnTheProjectPageWithoutWorksAndTheWorkPageCannotBeReached)
{
    Network net;
    TFrmNewEditNetWork dialog(net, net.Fake());
    dialog.Fill(nullptr, nullptr);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("查看、编辑..."));
    EXPECT_EQ(dialog.PageControl1->currentIndex(), 0);
    ASSERT_EQ(dialog.cmbNodeIndex->count(), 1);
    EXPECT_EQ(dialog.cmbNodeIndex->itemText(0), QStringLiteral("1"));
    EXPECT_EQ(dialog.cmbWorkCaption->count(), 0);
    EXPECT_FALSE(dialog.PageControl1->isTabEnabled(1));
    EXPECT_EQ(dialog.ShownWork(), nullptr);
    EXPECT_EQ(dialog.ShownNode(), net.Nodes().Items(0));
}

TEST(NewEditNetworkTest, OpensOnTheGivenWorkOrNodeWithItsValues)
{
    Network net;
    BuildNetwork(net);
    TWorkItem* b = net.Works().Items(1);
    {
        TFrmNewEditNetWork dialog(net, net.Fake());
        dialog.Fill(b, net.Nodes().Items(0));
        EXPECT_EQ(dialog.PageControl1->currentIndex(), 1);
        EXPECT_TRUE(dialog.PageControl1->isTabEnabled(1));
        EXPECT_EQ(dialog.ShownWork(), b);
        EXPECT_EQ(dialog.cmbWorkCaption->currentText(), QStringLiteral("B"));
        EXPECT_EQ(dialog.WorkEdits.at(TWorkField::ContinueTime)->text(), QStringLiteral("1"));
        EXPECT_EQ(dialog.Facts.at(QStringLiteral("sttEndNode"))->text(),
                  QString::number(net.Nodes().FindByNewID(3)->Index() + 1));
        EXPECT_EQ(dialog.Facts.at(QStringLiteral("sttWorkCount"))->text(), QStringLiteral("2"));
        EXPECT_EQ(dialog.Facts.at(QStringLiteral("sttTotalFloat"))->text(), QStringLiteral("2"));
        EXPECT_FALSE(dialog.ckbKeyWork->isChecked());
        EXPECT_EQ(dialog.Facts.at(QStringLiteral("sttComputeWorkLimit"))->text(), QStringLiteral("3"));
    }
    TFrmNewEditNetWork dialog(net, net.Fake());
    dialog.Fill(nullptr, net.Nodes().Items(1));
    EXPECT_EQ(dialog.PageControl1->currentIndex(), 2);
    EXPECT_EQ(dialog.ShownNode(), net.Nodes().Items(1));
    EXPECT_EQ(dialog.Facts.at(QStringLiteral("sttNodeWorksInto"))->text(), QStringLiteral("1"));
    EXPECT_EQ(dialog.Facts.at(QStringLiteral("sttNodeCount2"))->text(), QStringLiteral("3"));
}

// A live change re-sorts the works: the dialog keeps editing the work it
// shows, not the one that moved to its index.
TEST(NewEditNetworkTest, LiveFieldsEditTheShownWorkEvenAfterTheWorksResort)
{
    Network net;
    BuildNetwork(net);
    TWorkItem* a = net.Works().Items(0);
    TWorkItem* b = net.Works().Items(1);
    TFrmNewEditNetWork dialog(net, net.Fake());
    dialog.Fill(a, nullptr);
    Leave(dialog.WorkEdits.at(TWorkField::Diapause), QStringLiteral("5"));
    ASSERT_EQ(net.Works().Items(1), a);
    Leave(dialog.WorkEdits.at(TWorkField::Labor), QStringLiteral("7"));
    Leave(dialog.cmbWorkCaption, QStringLiteral("A2"));
    EXPECT_EQ(a->Labor(), 7.0f);
    EXPECT_EQ(b->Labor(), 0.0f);
    EXPECT_EQ(a->Caption(), QStringLiteral("A2"));
    EXPECT_EQ(b->Caption(), QStringLiteral("B"));
    EXPECT_EQ(dialog.cmbWorkCaption->itemText(0), QStringLiteral("A2"));

    // 2.3 is stored as 2.5, the field keeps 2.3 and the times wait for the
    // next choice of a work.
    const QString earliestFinish = dialog.Facts.at(QStringLiteral("sttEF"))->text();
    Leave(dialog.WorkEdits.at(TWorkField::ContinueTime), QStringLiteral("2.3"));
    EXPECT_EQ(a->ContinueTime(), 2.5f);
    EXPECT_EQ(dialog.WorkEdits.at(TWorkField::ContinueTime)->text(), QStringLiteral("2.3"));
    EXPECT_EQ(dialog.Facts.at(QStringLiteral("sttEF"))->text(), earliestFinish);
    dialog.ShowWork(0);
    EXPECT_EQ(dialog.Facts.at(QStringLiteral("sttEF"))->text(), QStringLiteral("7.5"));

    Leave(dialog.WorkEdits.at(TWorkField::Labor), QStringLiteral("viel"));
    EXPECT_EQ(a->Labor(), 7.0f);
    EXPECT_EQ(net.Fake().MessageTexts().back(), QStringLiteral("'viel' is not a valid floating point value"));
    // Leaving again without typing reports nothing more.
    const auto reports = net.Fake().messages.size();
    emit dialog.WorkEdits.at(TWorkField::Labor)->editingFinished();
    EXPECT_EQ(net.Fake().messages.size(), reports);
}

TEST(NewEditNetworkTest, RenumberingANodeKeepsItShownAndARefusalKeepsTheNumbers)
{
    Network net;
    BuildNetwork(net);
    TNodeItem* last = net.Nodes().Items(2);
    TFrmNewEditNetWork dialog(net, net.Fake());
    dialog.Fill(nullptr, last);
    Leave(dialog.cmbNodeIndex, dialog.cmbNodeIndex->itemText(1));
    EXPECT_EQ(net.Fake().MessageTexts(), QStringList{QStringLiteral("节点的编号太小，请重新输入！")});
    EXPECT_EQ(dialog.cmbNodeIndex->currentText(), QString::number(last->Number()));
    Leave(dialog.cmbNodeIndex, QStringLiteral("30"));
    EXPECT_EQ(last->Number(), 30);
    EXPECT_EQ(dialog.cmbNodeIndex->itemText(2), QStringLiteral("30"));
    EXPECT_EQ(dialog.ShownNode(), last);
    Leave(dialog.edtNodeNodeY, QStringLiteral("104"));
    EXPECT_EQ(last->NodeY(), 104);
}

TEST(NewEditNetworkTest, OkAppliesEverySettingAndCancelKeepsOnlyTheLiveChanges)
{
    Network net;
    BuildNetwork(net);
    TWorkItem* a = net.Works().Items(0);
    const int radius = net.Nodes().Radii();
    EXPECT_EQ(RunDialog(net, a, nullptr, net.Fake(),
                        [](TFrmNewEditNetWork& d) {
                            Leave(d.WorkEdits.at(TWorkField::ContinueTime), QStringLiteral("6"));
                            d.rgTextPosition->button(2)->click();
                            d.Checks.at(QStringLiteral("ckbShowRedFlag"))->click();
                            d.SetFieldText(QStringLiteral("edtNodeRadii"), QStringLiteral("25"));
                            d.Checks.at(QStringLiteral("ckbShowDuty"))->click();
                            d.btnCancel->click();
                        }),
              QDialog::Rejected);
    EXPECT_EQ(a->ContinueTime(), 6.0f);
    EXPECT_EQ(net.Works().TextPosition(), 2);
    EXPECT_FALSE(net.ShowRedFlag());
    EXPECT_EQ(net.Nodes().Radii(), radius);
    EXPECT_TRUE(net.ShowDuty());

    EXPECT_EQ(RunDialog(net, nullptr, nullptr, net.Fake(),
                        [](TFrmNewEditNetWork& d) {
                            d.SetFieldText(QStringLiteral("edtNodeRadii"), QStringLiteral("25"));
                            d.SetFieldText(QStringLiteral("edtStartDate"), QStringLiteral("2026-3-2"));
                            d.SetFieldText(QStringLiteral("memNetText"), QStringLiteral("说明一\n说明二"));
                            d.Checks.at(QStringLiteral("rdSaturday"))->setChecked(true);
                            d.Checks.at(QStringLiteral("Bottom4"))->setChecked(true);
                            d.Checks.at(QStringLiteral("rsLabor"))->setChecked(true);
                            d.seResourceHeight->setValue(70);
                            d.ChooseColor = [](platform::TColor) { return platform::clMaroon; };
                            d.Buttons.at(QStringLiteral("LineColor"))->click();
                            d.btnOk->click();
                        }),
              QDialog::Accepted);
    EXPECT_EQ(net.Nodes().Radii(), 25);
    EXPECT_EQ(arrowplan::DateTimeText(net.StartDate()), QStringLiteral("2026-03-02"));
    EXPECT_EQ(net.NetText().Count(), 2);
    EXPECT_TRUE(net.RecessDate().Contains(network::rdSaturday));
    EXPECT_TRUE((net.BottomStyle() >> network::tsWorkWeek) & 1u);
    EXPECT_EQ(net.ResourceStyle(), 1u << network::rsLabor);
    EXPECT_EQ(net.ResourceHeight(), 70);
    EXPECT_EQ(net.Works().LineColor(), platform::clMaroon);
}

// A refused field keeps the dialog open on its page with the field
// focused, and the network keeps every setting, also those read before.
TEST(NewEditNetworkTest, ARefusedFieldKeepsTheDialogOpenOnItAndChangesNothing)
{
    struct Case {
        const char* field;
        const char* text;
        int page;
        int drawingPage;
    };
    const Case cases[] = {
        {"edtStartDate", "2026-02-30", 0, -1},
        {"edtSmallDate", "0", 3, 2},
        {"edtSmallLineSpace", "0", 3, 3},
        {"edtDutyWidth", "-5", 3, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.field);
        Network net;
        BuildNetwork(net);
        const TNetworkSettings before = arrowplan::ReadNetworkSettings(net);
        bool stayedOpen = false;
        const int result = RunDialog(net, net.Works().Items(0), nullptr, net.Fake(), [&](TFrmNewEditNetWork& d) {
            d.SetFieldText(QStringLiteral("edtCaption"), QStringLiteral("改了"));
            d.SetFieldText(QString::fromLatin1(c.field), QString::fromUtf8(c.text));
            d.btnOk->click();
            stayedOpen = d.isVisible();
            EXPECT_EQ(d.PageControl1->currentIndex(), c.page);
            if (c.drawingPage >= 0) {
                EXPECT_EQ(d.PageControl2->currentIndex(), c.drawingPage);
            }
            EXPECT_EQ(d.focusWidget(), d.Fields.at(QString::fromLatin1(c.field)));
        });
        EXPECT_TRUE(stayedOpen);
        EXPECT_EQ(result, QDialog::Rejected);
        ASSERT_EQ(net.Fake().messages.size(), 1u);
        EXPECT_EQ(net.Text(), before.Caption);
        EXPECT_EQ(net.SmallDate(), before.SmallDate);
        EXPECT_EQ(net.SmallLineSpace(), before.SmallLineSpace);
        EXPECT_EQ(net.DutyWidth(), before.DutyWidth);
    }
}
