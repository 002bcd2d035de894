// Details of the window a user meets first: the status bar keeps its panels
// under status tips, the row of menu buttons switches menus as a menu row
// does, the position panel follows the sheet only, the dialogs have fixed
// borders, and the recent-files list keeps five entries.
#include "tests/apps/sitelay/main_window_fixture.h"

#include "apps/sitelay/edit_plane_map_property.h"
#include "apps/sitelay/zoom_steps.h"

#include "common/about_box.h"
#include "common/open_file_popup_menu.h"

#include "siteplan/dialogs/edit_line.h"
#include "siteplan/dialogs/edit_pen.h"
#include "siteplan/dialogs/edit_pen_and_brush.h"
#include "siteplan/dialogs/edit_picture.h"
#include "siteplan/dialogs/edit_plane_property.h"
#include "siteplan/dialogs/edit_text.h"

#include "platform/ini_file.h"
#include "platform/qt/qt_window_services.h"

#include <QAction>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <memory>

namespace {

using WindowDetailsTest = MainWindowFixture;

QList<QLabel*> Panels(const sitelay::TForm1& window)
{
    return window.statusBar()->findChildren<QLabel*>();
}

TEST_F(WindowDetailsTest, StatusTipsLeaveTheFivePanelsShown)
{
    ASSERT_EQ(Panels(*window).size(), 5);
    const QString position = window->StatusPanel(3);
    // Pointing at a command, as a menu or a tool button reports it.
    for (QAction* action : window->findChildren<QAction*>())
        action->showStatusText(window.get());
    QStatusTipEvent tip(QStringLiteral("放大显示平面图，将显示比例尺放大一倍"));
    QApplication::sendEvent(window.get(), &tip);
    window->act_ShowZoomIn->trigger();
    for (const QLabel* panel : Panels(*window))
        EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(window->StatusPanel(0), QStringLiteral("平面图尺寸：297 * 210mm"));
    EXPECT_EQ(window->StatusPanel(2), QStringLiteral("显示比例：150%"));
    EXPECT_EQ(window->StatusPanel(3), position);
}

// Runs steps one after the other while menus are open: each waits for the
// menu it expects to be the open popup, then acts on it.
class MenuSteps {
public:
    struct Step {
        QMenu* expected;
        std::function<void(QMenu*)> act;
    };

    explicit MenuSteps(std::vector<Step> steps) : steps_(std::move(steps))
    {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] { Tick(); });
        timer_.start();
        clock_.start();
    }
    std::size_t Done() const { return done_; }

private:
    void Tick()
    {
        QWidget* popup = QApplication::activePopupWidget();
        if (clock_.elapsed() > 5000) {
            // Never hang the test: close whatever is open.
            timer_.stop();
            if (popup)
                popup->hide();
            return;
        }
        if (done_ >= steps_.size() || popup != steps_[done_].expected)
            return;
        const Step& step = steps_[done_++];
        step.act(step.expected);
    }

    std::vector<Step> steps_;
    std::size_t done_ = 0;
    QTimer timer_;
    QElapsedTimer clock_;
};

void PressKey(QMenu* menu, Qt::Key key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(menu, &press);
}

QAction* FirstItem(const QMenu* menu)
{
    for (QAction* action : menu->actions())
        if (!action->isSeparator() && action->isEnabled())
            return action;
    return nullptr;
}

TEST_F(WindowDetailsTest, TheMenuRowSwitchesMenusByPointerAndArrowKeys)
{
    std::vector<QToolButton*> buttons;
    for (QToolButton* button : window->findChild<QToolBar*>(QStringLiteral("ToolBar2"))->findChildren<QToolButton*>())
        if (button->menu())
            buttons.push_back(button);
    std::sort(buttons.begin(), buttons.end(), [](QToolButton* a, QToolButton* b) { return a->x() < b->x(); });
    ASSERT_EQ(buttons.size(), 5u);
    QMenu* menus[5];
    for (int i = 0; i < 5; ++i)
        menus[i] = buttons[static_cast<std::size_t>(i)]->menu();

    const auto pointAt = [&](int target) {
        return [&, target](QMenu* menu) {
            const QToolButton* button = buttons[static_cast<std::size_t>(target)];
            const QPoint global = button->mapToGlobal(button->rect().center());
            QMouseEvent move(QEvent::MouseMove, menu->mapFromGlobal(QPointF(global)), QPointF(global), Qt::NoButton,
                             Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(menu, &move);
        };
    };
    const auto key = [](Qt::Key k) { return [k](QMenu* menu) { PressKey(menu, k); }; };
    QAction* selected = nullptr;
    MenuSteps steps({
        {menus[0], pointAt(2)},
        // The pointer over the open menu's own button changes nothing.
        {menus[2], pointAt(2)},
        {menus[2], key(Qt::Key_Right)},
        {menus[3], [&](QMenu* menu) { QTimer::singleShot(20, menu, [&, menu] { selected = menu->activeAction(); PressKey(menu, Qt::Key_Left); }); }},
        {menus[2], key(Qt::Key_Left)},
        {menus[1], key(Qt::Key_Left)},
        {menus[0], key(Qt::Key_Left)},
        // From the first menu Left goes round to the last.
        {menus[4], key(Qt::Key_Escape)},
    });
    buttons[0]->click();
    EXPECT_EQ(steps.Done(), 8u);
    EXPECT_EQ(selected, FirstItem(menus[3]));
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}

TEST_F(WindowDetailsTest, ThePositionPanelFollowsMovesOnTheSheetOnly)
{
    const QPoint sheet = InViewport({0, 0});
    ASSERT_GT(sheet.x(), 5);
    const QPoint onSheet = sheet + QPoint(130, 100);
    SendMouse(Viewport(), QEvent::MouseMove, onSheet, Qt::NoButton, Qt::NoButton);
    const QString shown = window->StatusPanel(3);
    EXPECT_EQ(shown, sitelay::MousePositionText(Map().ScreenToWorld(OnSheet(onSheet))));

    // Over the workspace left of the sheet: the last position stays.
    const QPoint left(sheet.x() - 5, onSheet.y());
    SendMouse(Viewport(), QEvent::MouseMove, left, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(window->StatusPanel(3), shown);
    // Below the sheet's last pixel row as well.
    SendMouse(Viewport(), QEvent::MouseMove, InViewport({100, Map().Height()}), Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(window->StatusPanel(3), shown);

    // A drag that started on the sheet keeps reporting while the button is
    // held (the band's cursor stays on the sheet's edge).
    SendMouse(Viewport(), QEvent::MouseButtonPress, onSheet, Qt::LeftButton, Qt::LeftButton);
    SendMouse(Viewport(), QEvent::MouseMove, left, Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(window->StatusPanel(3), sitelay::MousePositionText(Map().ScreenToWorld({0, OnSheet(onSheet).y()})));
    SendMouse(Viewport(), QEvent::MouseButtonRelease, left, Qt::LeftButton, Qt::NoButton);
}

void ExpectFixedBorder(const QWidget& dialog, const char* name)
{
    SCOPED_TRACE(name);
    const Qt::WindowFlags flags = dialog.windowFlags();
    EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Dialog);
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(flags & Qt::CustomizeWindowHint);
    EXPECT_TRUE(flags & Qt::WindowTitleHint);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
}

TEST_F(WindowDetailsTest, DialogsAndPromptsHaveFixedBorders)
{
    common::AboutBoxContent about = common::AboutBoxContent::Sitelay();
    ExpectFixedBorder(common::TAboutBox(about), "about box");
    ExpectFixedBorder(siteplan::TFrm_EditLine(), "line");
    ExpectFixedBorder(siteplan::TFrm_EditPenAndBrush(), "pen and brush");
    ExpectFixedBorder(siteplan::TFrm_EditPen(), "pen");
    ExpectFixedBorder(siteplan::TFrm_EditText(), "text");
    ExpectFixedBorder(siteplan::TFrm_EditPicture(), "picture");
    ExpectFixedBorder(siteplan::TFrm_EditPlaneProperty(), "defaults");
    ExpectFixedBorder(sitelay::Tfrm_EditPlaneMapProperty(services), "map properties");

    // The save prompt as the program shows it.
    bool shown = false;
    QTimer::singleShot(0, [&] {
        QWidget* box = QApplication::activeModalWidget();
        ASSERT_NE(box, nullptr);
        shown = true;
        ExpectFixedBorder(*box, "prompt");
        box->close();
    });
    platform::QtWindowServices prompts(window.get());
    prompts.Confirm(QStringLiteral("当前平面图已经改变，要保存吗？"),
                    platform::MessageButton::Yes | platform::MessageButton::No | platform::MessageButton::Cancel);
    EXPECT_TRUE(shown);
}

TEST_F(WindowDetailsTest, RecentFilesKeepAndWriteFiveEntriesWhateverMaxNumberReads)
{
    window->qppm_OpenFile->SetMaxNumber(3);
    QStringList paths;
    for (const char* name : {"A.Plm", "B.Plm", "C.Plm", "D.Plm", "E.Plm"}) {
        paths.append(PathOf(QString::fromLatin1(name)));
        ASSERT_TRUE(Map().SaveToFile(paths.back()));
    }
    for (const QString& path : paths)
        ASSERT_TRUE(window->OpenMap(path));
    EXPECT_EQ(window->qppm_OpenFile->List().FileNames(), (QStringList{paths[3], paths[2], paths[1], paths[0]}));

    window.reset();
    const platform::IniFile ini(IniPath());
    const QString section = QStringLiteral("OpenFile");
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(ini.ReadString(section, QStringLiteral("File%1").arg(i), {}), paths[4 - i]) << i;
    EXPECT_FALSE(ini.ValueExists(section, QStringLiteral("File5")));
}

} // namespace
