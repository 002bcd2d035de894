// The main window's construction: actions, menus, the tool bar, the
// workspace with its scroll bars and the status bar; and the enabling rules.
#include "apps/arrowplan/main_window.h"

#include "apps/arrowplan/net_default_set.h"
#include "apps/arrowplan/net_defaults.h"
#include "apps/arrowplan/preview_form.h"

#include "common/about_box.h"
#include "common/handed_or_made.h"
#include "common/open_file_popup_menu.h"

#include "platform/fonts.h"
#include "platform/guarded_run.h"
#include "platform/program_folders.h"
#include "platform/qt/qt_window_services.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>


namespace arrowplan {

namespace {

const QString kHelpFile = QStringLiteral("网络图制作.CHM");

QAction* MakeAction(QWidget* owner, const QString& caption, const QString& hint, const QIcon& icon = {})
{
    auto* action = new QAction(icon, caption, owner);
    action->setToolTip(hint);
    action->setStatusTip(hint);
    owner->addAction(action);
    return action;
}

// A tool-bar icon drawn from a short text.
QIcon GlyphIcon(const QString& glyph, QColor color = Qt::darkBlue)
{
    QPixmap pixmap(20, 20);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    QFont font = painter.font();
    font.setPixelSize(glyph.size() > 1 ? 10 : 15);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(color);
    painter.drawText(pixmap.rect(), Qt::AlignCenter, glyph);
    return QIcon(pixmap);
}

} // namespace

const std::array<const char*, 12> DrawStateNames = {
    "绘制简单工作", "绘制复杂工作", "移动工作或节点", "删除工作", "查看详细资料", "选择工作或节点",
    "编辑工作时间", "分解工作", "编辑工作的开始节点", "编辑工作的结束节点", "流水施工", "交换工作",
};

QString ApplicationTitle()
{
    return QStringLiteral("朔衡dodiridezu V3.0");
}

TFrmMain::TFrmMain(const TFrmMainOptions& options, QWidget* parent) : QMainWindow(parent)
{
    FMessages = common::HandedOrMade<platform::QtWindowServices>(options.Messages, FOwnMessages, this);
    FDialogs = common::HandedOrMade<TQtFileDialogs>(options.Dialogs, FOwnDialogs, this);
    FHint = options.Hint;
    FThumbnail = options.Thumbnail;
    FDefaultsIniFile = options.DefaultsIniFile.isEmpty() ? NetRunInfoFileName() : options.DefaultsIniFile;
    UseDialogOptions(options);

    platform::InstallFontSubstitutes();
    QFont windowFont(QStringLiteral("宋体"));
    windowFont.setPixelSize(12);
    setFont(windowFont);
    resize(672, 467);

    FAppTitle = ApplicationTitle();
    FExePath = platform::ProgramFolder();
    FDataDir = QDir(FExePath).filePath(QStringLiteral("Data"));

    QOpenFilePopupMenu1 = common::MakeRecentFilesMenu(this, options.RecentIniFile);
    connect(QOpenFilePopupMenu1, &common::TQOpenFilePopupMenu::ClickItem, this,
            [this](const QString& fileName) { Run([&] { QOpenFilePopupMenu1ClickItem(fileName); }); });

    CreateActions();
    CreateMenus();
    CreateToolBar();
    CreateWorkspace();
    CreateStatusBar();
    if (FThumbnail)
        FThumbnail->OnClosed = [this] { N21->setChecked(false); };
    UpdateCaption();
    ActionList1Update();
}

TFrmMain::~TFrmMain()
{
    if (FThumbnail)
        FThumbnail->OnClosed = {};
    FreeNetwork();
}

void TFrmMain::Run(const std::function<void()>& command)
{
    platform::RunGuarded(*FMessages, command);
    ActionList1Update();
}

void TFrmMain::CreateActions()
{
    QStyle* s = style();
    ActNew = MakeAction(this, QStringLiteral("新建(&N)..."), QStringLiteral("新建一个网络图"),
                        s->standardIcon(QStyle::SP_FileIcon));
    ActOpen = MakeAction(this, QStringLiteral("打开(&O)..."), QStringLiteral("打开已有的一个网络图"),
                         s->standardIcon(QStyle::SP_DialogOpenButton));
    ActSave = MakeAction(this, QStringLiteral("保存(&S)"), QStringLiteral("将当前的正在绘制的网络图保存成文件"),
                         s->standardIcon(QStyle::SP_DialogSaveButton));
    ActSaveAs = MakeAction(this, QStringLiteral("另存为(&A)..."), QStringLiteral("将当前网络图以另一个文件保存"));
    ActExit = MakeAction(this, QStringLiteral("退出(&X)"), QStringLiteral("退出网络图制作系统"),
                         s->standardIcon(QStyle::SP_DialogCloseButton));
    ActAddSimple = MakeAction(this, QStringLiteral("增加工作(&S)"), QStringLiteral("画最多一个拐点的工作线"),
                              GlyphIcon(QStringLiteral("→")));
    ActSeaech = MakeAction(this, QStringLiteral("查看工程、工作或节点(&W)"),
                           QStringLiteral("查看工程、工作或节点的设置或详细资料"), GlyphIcon(QStringLiteral("?")));
    ActDelete = MakeAction(this, QStringLiteral("删除工作(&D)"), QStringLiteral("删除所单击的工作"),
                           GlyphIcon(QStringLiteral("×"), Qt::darkRed));
    ActEdit = MakeAction(this, QStringLiteral("编辑工作或节点"), QStringLiteral("编辑工作或节点"),
                         GlyphIcon(QStringLiteral("✎")));
    ActDecompose = MakeAction(this, QStringLiteral("分解工作"), QStringLiteral("将一个工作分解为两个工作"),
                              GlyphIcon(QStringLiteral("÷")));
    ActGlide = MakeAction(this, QStringLiteral("画流水施工"), QStringLiteral("画流水施工"),
                          GlyphIcon(QStringLiteral("≋")));
    ActXiaoY = MakeAction(this, QStringLiteral("ActXiaoY"), QStringLiteral("缩小节点间的线距"),
                          GlyphIcon(QStringLiteral("Y-")));
    ActDaY = MakeAction(this, QStringLiteral("ActDaY"), QStringLiteral("增大节点间的线距"), GlyphIcon(QStringLiteral("Y+")));
    ActXiaoX = MakeAction(this, QStringLiteral("ActXiaoX"), QStringLiteral("缩小时间标尺间距"),
                          GlyphIcon(QStringLiteral("X-")));
    ActDaX = MakeAction(this, QStringLiteral("ActDaX"), QStringLiteral("增大时间标尺间距"), GlyphIcon(QStringLiteral("X+")));
    ActCopy = MakeAction(this, QStringLiteral("ActCopy"), QStringLiteral("拷贝到剪切板"), GlyphIcon(QStringLiteral("复")));
    ActPase = MakeAction(this, QStringLiteral("ActPase"), QStringLiteral("用剪切板的内容替换当前工作或节点之后"),
                         GlyphIcon(QStringLiteral("贴")));
    ActNetWorkMap = MakeAction(this, QStringLiteral("网络图输出(&N)..."), QStringLiteral("网络图预览"),
                               GlyphIcon(QStringLiteral("▤")));
    ActHelp = MakeAction(this, QStringLiteral("帮助(&E)"), QStringLiteral("系统帮助"),
                         s->standardIcon(QStyle::SP_DialogHelpButton));
    M2 = new QAction(QStringLiteral("设置缺省图形控制(&M)..."), this);
    N21 = new QAction(QStringLiteral("显示略图(&S)"), this);
    N21->setCheckable(true);
    N21->setChecked(true);
    N12 = new QAction(QStringLiteral("关于(&T)..."), this);
    CreateDialogActions();

    auto* modes = new QActionGroup(this);
    modes->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    for (QAction* mode : {ActAddSimple, ActEdit, ActSeaech, ActDecompose, ActGlide, ActDelete}) {
        mode->setCheckable(true);
        modes->addAction(mode);
    }
    const auto on = [this](QAction* action, auto handler) {
        connect(action, &QAction::triggered, this, [this, handler] { Run([&] { (this->*handler)(); }); });
    };
    on(ActNew, &TFrmMain::ActNewExecute);
    on(ActOpen, &TFrmMain::ActOpenExecute);
    on(ActSave, &TFrmMain::ActSaveExecute);
    on(ActSaveAs, &TFrmMain::ActSaveAsExecute);
    on(ActXiaoY, &TFrmMain::ActXiaoYExecute);
    on(ActDaY, &TFrmMain::ActDaYExecute);
    on(ActXiaoX, &TFrmMain::ActXiaoXExecute);
    on(ActDaX, &TFrmMain::ActDaXExecute);
    on(ActCopy, &TFrmMain::ActCopyExecute);
    on(ActPase, &TFrmMain::ActPaseExecute);
    on(ActNetWorkMap, &TFrmMain::ActNetWorkMapExecute);
    connect(N21, &QAction::triggered, this, [this] { Run([&] { N21Click(); }); });
    connect(ActExit, &QAction::triggered, this, &QWidget::close);
    const std::pair<QAction*, std::uint8_t> states[] = {{ActAddSimple, 0}, {ActSeaech, 4}, {ActDelete, 3},
                                                         {ActEdit, 6},      {ActDecompose, 7}, {ActGlide, 10}};
    for (const auto& [action, state] : states)
        connect(action, &QAction::triggered, this, [this, s = state] {
            Run([&] {
                if (network::TVYRNetwork* net = Network())
                    net->SetDrawState(s);
            });
        });
    connect(ActHelp, &QAction::triggered, this, [this] {
        Run([&] {
            if (QFileInfo::exists(kHelpFile))
                QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(kHelpFile).absoluteFilePath()));
            else
                FMessages->ShowMessage(QStringLiteral("找不到帮助文件“%1”。").arg(kHelpFile));
        });
    });
    connect(M2, &QAction::triggered, this, [this] { Run([&] { ShowNetDefaultSet(FDefaultsIniFile, *FMessages, this); }); });
    connect(N12, &QAction::triggered, this,
            [this] { Run([&] { common::ShowAboutBox(common::AboutBoxContent::Arrowplan(), this); }); });
}

void TFrmMain::CreateMenus()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("文件(&F)"));
    file->addActions({ActNew, ActOpen, ActSave, ActSaveAs});
    file->addSeparator();
    file->addAction(M2);
    file->addSeparator();
    file->addAction(ActExit);

    QMenu* modes = menuBar()->addMenu(QStringLiteral("编辑状态(&E)"));
    modes->addAction(ActAddSimple);
    modes->addSeparator();
    modes->addActions({ActEdit, ActSeaech, ActDecompose, ActGlide});
    modes->addSeparator();
    modes->addAction(ActDelete);

    QMenu* map = menuBar()->addMenu(QStringLiteral("网络图(&M)"));
    map->addAction(ActNetWorkMap);
    map->addSeparator();
    map->addAction(ActMapEdit);
    map->addSeparator();
    map->addAction(N21);

    QMenu* help = menuBar()->addMenu(QStringLiteral("帮助(&H)"));
    help->addAction(ActHelp);
    help->addSeparator();
    help->addAction(N12);
}

void TFrmMain::CreateToolBar()
{
    QToolBar* bar = addToolBar(QStringLiteral("ToolBar1"));
    bar->setObjectName(QStringLiteral("ToolBar1"));
    bar->setMovable(false);
    bar->addSeparator();
    bar->addAction(ActNew);
    bar->addAction(ActOpen);
    if (auto* openButton = qobject_cast<QToolButton*>(bar->widgetForAction(ActOpen))) {
        openButton->setMenu(QOpenFilePopupMenu1);
        openButton->setPopupMode(QToolButton::MenuButtonPopup);
    }
    bar->addAction(ActSave);
    bar->addSeparator();
    bar->addActions({ActCopy, ActPase});
    bar->addSeparator();
    bar->addActions({ActAddSimple, ActEdit, ActSeaech, ActDecompose, ActGlide, ActDelete});
    bar->addSeparator();
    bar->addActions({ActXiaoY, ActDaY});
    bar->addSeparator();
    bar->addActions({ActXiaoX, ActDaX});
    bar->addSeparator();
    bar->addAction(ActNetWorkMap);
    bar->addAction(ActMapEdit);
    bar->addSeparator();
    bar->addAction(ActHelp);
    bar->addSeparator();
    bar->addAction(ActExit);
}

void TFrmMain::CreateWorkspace()
{
    FWorkspace = new QWidget(this);
    auto* grid = new QGridLayout(FWorkspace);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    Panel1 = new QLabel(QStringLiteral("请打开或新建网络图"), FWorkspace);
    Panel1->setAlignment(Qt::AlignCenter);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    QFont panelFont(QStringLiteral("宋体"));
    panelFont.setPointSize(9);
    Panel1->setFont(panelFont);
    grid->addWidget(Panel1, 0, 0);
    ScrollBar1 = new QScrollBar(Qt::Horizontal, FWorkspace);
    ScrollBar1->setFixedHeight(16);
    ScrollBar2 = new QScrollBar(Qt::Vertical, FWorkspace);
    ScrollBar2->setFixedWidth(16);
    grid->addWidget(ScrollBar2, 0, 1);
    grid->addWidget(ScrollBar1, 1, 0);
    ScrollBar1->hide();
    ScrollBar2->hide();
    connect(ScrollBar1, &QScrollBar::valueChanged, this, [this](int position) {
        if (network::TVYRNetwork* net = Network())
            net->SetStartJinDu(position);
    });
    connect(ScrollBar2, &QScrollBar::valueChanged, this, [this](int position) {
        if (network::TVYRNetwork* net = Network())
            net->SetTopLineID(position);
    });
    setCentralWidget(FWorkspace);
}

void TFrmMain::CreateStatusBar()
{
    const int widths[] = {140, 50};
    for (int i = 0; i < 2; ++i) {
        FPanels[i] = new QLabel(statusBar());
        FPanels[i]->setMinimumWidth(widths[i]);
        FPanels[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        statusBar()->addWidget(FPanels[i], i == 1 ? 1 : 0);
    }
}

QString TFrmMain::StatusPanel(int index) const
{
    return FPanels.at(index)->text();
}

QString TFrmMain::StatusSimpleText() const
{
    return statusBar()->currentMessage();
}

void TFrmMain::ActionList1Update()
{
    network::TVYRNetwork* net = Network();
    const bool doc = net != nullptr;
    for (QAction* action : {ActSave, ActSaveAs, ActAddSimple, ActSeaech, ActDelete, ActEdit, ActDecompose, ActGlide,
                            ActXiaoY, ActDaY, ActXiaoX, ActDaX, ActNetWorkMap, ActMapEdit, N21})
        action->setEnabled(doc);
    ActCopy->setEnabled(doc && net->HasSelectedWork());
    ActPase->setEnabled(doc && net->CanPaste());
    if (!net)
        return;
    const std::pair<QAction*, int> states[] = {{ActAddSimple, 0}, {ActSeaech, 4}, {ActDelete, 3},
                                               {ActEdit, 6},      {ActDecompose, 7}, {ActGlide, 10}};
    for (const auto& [action, state] : states) {
        const bool checked = net->DrawState() == state;
        if (action->isChecked() != checked)
            action->setChecked(checked);
    }
}

void TFrmMain::closeEvent(QCloseEvent* event)
{
    bool canClose = false;
    Run([&] { canClose = CanCloseNetwork(); });
    if (canClose) {
        if (FThumbnail)
            FThumbnail->hide();
        event->accept();
    } else {
        event->ignore();
    }
}

} // namespace arrowplan
