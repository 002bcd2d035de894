// The main window's construction: actions, menus, toolbars, the workspace
// with the rulers and the status bar; and the enabling rules.
#include "apps/sitelay/main_window.h"

#include "apps/sitelay/menu_row.h"
#include "apps/sitelay/methods_panel.h"
#include "apps/sitelay/resource_images.h"
#include "apps/sitelay/zoom_steps.h"

#include "common/about_box.h"
#include "common/handed_or_made.h"
#include "common/open_file_popup_menu.h"

#include "siteplan/dialogs/dialog_property_editor.h"
#include "siteplan/host/staff_guage.h"

#include "platform/colors.h"
#include "platform/fonts.h"
#include "platform/guarded_run.h"
#include "platform/program_folders.h"
#include "platform/qt/qt_window_services.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>


namespace sitelay {

namespace {

constexpr int kRulerThickness = 17;
const QString kHelpFile = QStringLiteral("平面图制作.CHM");

QAction* MakeAction(QWidget* owner, const QString& caption, const QString& hint,
                    const QKeySequence& key = QKeySequence())
{
    // The hint is the tool tip only: the status bar keeps its panels.
    auto* action = new QAction(caption, owner);
    action->setToolTip(hint);
    if (!key.isEmpty())
        action->setShortcut(key);
    owner->addAction(action);
    return action;
}

} // namespace

QString ApplicationTitle()
{
    return QStringLiteral("朔衡zevavev V1.5");
}

TForm1::TForm1(const TForm1Options& options, QWidget* parent) : QMainWindow(parent)
{
    FMessages = common::HandedOrMade<platform::QtWindowServices>(options.Messages, FOwnMessages, this);
    FDialogs = common::HandedOrMade<TQtFileDialogs>(options.Dialogs, FOwnDialogs, this);
    FPropertyEditor = common::HandedOrMade<siteplan::TDialogPropertyEditor>(options.PropertyEditor, FOwnPropertyEditor);

    FLegendPrompts = options.LegendPrompts ? options.LegendPrompts : &QtLegendPrompts();

    platform::InstallFontSubstitutes();
    QFont windowFont(QStringLiteral("宋体"));
    windowFont.setPixelSize(12);
    setFont(windowFont);
    setWindowTitle(ApplicationTitle());
    setWindowIcon(QIcon(ProgramPicture()));

    // Five entries are kept and written whatever MaxNumber reads.
    qppm_OpenFile = common::MakeRecentFilesMenu(this, options.RecentIniFile, 5);
    FLegendLibrary = platform::AbsoluteInFolder(options.LegendLibrary, platform::ProgramDataFolder());
    connect(qppm_OpenFile, &common::TQOpenFilePopupMenu::ClickItem, this,
            [this](const QString& fileName) { Run([&] { qppm_OpenFileClickItem(fileName); }); });

    CreateActions();
    CreateMenus();
    CreateToolBars();
    CreateToolPages();
    CreateStyleBars();
    CreateWorkspace();
    CreateStatusBar();

    // An untitled plan is open from the start; the style bars then show
    // the program's start choices, not the plan's defaults.
    act_FileNew->trigger();
    const int songti = cmb_FontName->findText(QStringLiteral("宋体"));
    cmb_FontName->setCurrentIndex(songti);
    cmb_FontSize->setCurrentIndex(1);
    cmb_BrushStyle->setCurrentIndex(1);
    cmb_PenStyle->setCurrentIndex(0);
}

TForm1::~TForm1()
{
    FreeMap();
}

void TForm1::Run(const std::function<void()>& command)
{
    platform::RunGuarded(*FMessages, command);
    ActionList1Update();
}

void TForm1::CreateActions()
{
    act_FileNew = MakeAction(this, QStringLiteral("新建(&N)"), QStringLiteral("新建平面图"));
    act_FileOpen = MakeAction(this, QStringLiteral("打开(&O)..."), QStringLiteral("打开现有的平面图文件"));
    act_FileSave = MakeAction(this, QStringLiteral("保存(&S)"), QStringLiteral("保存当前的平面图"),
                              QKeySequence(Qt::CTRL | Qt::Key_S));
    act_FileSaveAs = MakeAction(this, QStringLiteral("另存为(&A)..."),
                                QStringLiteral("将当前平面图另存为一个平面图文件"));
    act_FileClose = MakeAction(this, QStringLiteral("关闭(&C)"), QStringLiteral("关闭当前的平面图文件"));
    act_FileExit = MakeAction(this, QStringLiteral("退出(&X)"), QString());
    act_FilePreview = MakeAction(this, QStringLiteral("打印预览(&V)..."), QStringLiteral("予览当前平面图的打印效果"));
    act_FilePrintSet = MakeAction(this, QStringLiteral("打印机设置(&R)..."), QStringLiteral("设置打印机"));
    act_FilePrint = MakeAction(this, QStringLiteral("打印(&P)..."), QStringLiteral("打印当前的平面图"),
                               QKeySequence(Qt::CTRL | Qt::Key_P));
    act_HelpHelp = MakeAction(this, QStringLiteral("平面图 帮助(&P)"), QStringLiteral("平面图帮助"),
                              QKeySequence(Qt::Key_F1));
    act_HelpAbout = MakeAction(this, QStringLiteral("关于(&A)..."), QString());
    act_EditCopy = MakeAction(this, QStringLiteral("复制(&C)"), QStringLiteral("拷贝当前选中的图形到剪切板"),
                              QKeySequence(Qt::CTRL | Qt::Key_C));
    act_EditCut = MakeAction(this, QStringLiteral("剪切(&X)"),
                             QStringLiteral("拷贝当前选中的图形到剪切板并从平面图中删除"),
                             QKeySequence(Qt::CTRL | Qt::Key_X));
    act_EditPase = MakeAction(this, QStringLiteral("粘贴(&V)"), QStringLiteral("将剪切板中的图形粘贴到当前平面图中"),
                              QKeySequence(Qt::CTRL | Qt::Key_V));
    act_EditDelete = MakeAction(this, QStringLiteral("删除(&D)..."), QStringLiteral("删除当前选中图形"),
                                QKeySequence(Qt::Key_Delete));
    act_EditDeleteAll = MakeAction(this, QStringLiteral("全部清除(&L)..."), QStringLiteral("删除平面图中的所有图形"));
    act_EditSelectAll = MakeAction(this, QStringLiteral("全部选中(&S)"), QStringLiteral("选中平面图中的所有图形"));
    act_EditNotSelect = MakeAction(this, QStringLiteral("反向选中(&F)"), QStringLiteral("反向选择平面图中的图形"));
    // Ctrl+P is the print command's; redrawing has no key.
    act_ShowRePain = MakeAction(this, QStringLiteral("重画(&R)"), QStringLiteral("刷新平面图"));
    act_ShowZoomIn = MakeAction(this, QStringLiteral("放大(&I)"),
                                QStringLiteral("放大显示平面图，将显示比例尺放大一倍"));
    act_ShowZoom = MakeAction(this, QStringLiteral("原始大小(&Z)"), QStringLiteral("按1:1显示平面图"));
    act_ShowZoomOut = MakeAction(this, QStringLiteral("缩小(&O)"),
                                 QStringLiteral("缩小显示平面图，将显示比例尺缩小一倍"));
    act_EditProperty = MakeAction(this, QStringLiteral("属性..."), QStringLiteral("设置当前选中图形的属性"));
    act_SetSetProperty = MakeAction(this, QStringLiteral("设置图纸尺寸(&U)..."), QStringLiteral("设置平面图的属性"));
    E1 = MakeAction(this, QStringLiteral("编辑图库(&E)..."), QString());
    A1 = MakeAction(this, QStringLiteral("添加当前图形到图库(&A)..."), QString());

    act_FileNew->setIcon(CommandIcon(CommandGlyph::New));
    act_FileOpen->setIcon(CommandIcon(CommandGlyph::Open));
    act_FileSave->setIcon(CommandIcon(CommandGlyph::Save));
    act_FileClose->setIcon(CommandIcon(CommandGlyph::Close));
    act_HelpHelp->setIcon(CommandIcon(CommandGlyph::Help));
    act_ShowRePain->setIcon(CommandIcon(CommandGlyph::Redraw));
    act_ShowZoomIn->setIcon(CommandIcon(CommandGlyph::ZoomIn));
    act_ShowZoom->setIcon(CommandIcon(CommandGlyph::Zoom100));
    act_ShowZoomOut->setIcon(CommandIcon(CommandGlyph::ZoomOut));
    act_EditProperty->setIcon(CommandIcon(CommandGlyph::Properties));
    act_EditCopy->setIcon(CommandIcon(CommandGlyph::Copy));
    act_EditCut->setIcon(CommandIcon(CommandGlyph::Cut));
    act_EditPase->setIcon(CommandIcon(CommandGlyph::Paste));

    const auto on = [this](QAction* action, auto handler) {
        connect(action, &QAction::triggered, this, [this, handler] { Run([&] { (this->*handler)(); }); });
    };
    connect(act_FileNew, &QAction::triggered, this, [this] { Run([&] { OpenMap(QString()); }); });
    on(act_FileOpen, &TForm1::act_FileOpenExecute);
    connect(act_FileSave, &QAction::triggered, this, [this] { Run([&] { act_FileSaveExecute(); }); });
    connect(act_FileSaveAs, &QAction::triggered, this, [this] { Run([&] { act_FileSaveAsExecute(); }); });
    on(act_FileClose, &TForm1::act_FileCloseExecute);
    on(act_SetSetProperty, &TForm1::act_SetSetPropertyExecute);
    on(E1, &TForm1::E1Click);
    on(A1, &TForm1::A1Click);
    connect(act_FileExit, &QAction::triggered, this, &QWidget::close);
    on(act_FilePreview, &TForm1::act_FilePreviewExecute);
    on(act_FilePrintSet, &TForm1::act_FilePrintSetExecute);
    on(act_FilePrint, &TForm1::act_FilePrintExecute);
    connect(act_HelpHelp, &QAction::triggered, this, [this] {
        Run([&] {
            if (QFileInfo::exists(kHelpFile))
                QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(kHelpFile).absoluteFilePath()));
            else
                FMessages->ShowMessage(QStringLiteral("找不到帮助文件“%1”。").arg(kHelpFile));
        });
    });
    connect(act_HelpAbout, &QAction::triggered, this,
            [this] {
                Run([&] {
                    common::AboutBoxContent content = common::AboutBoxContent::Sitelay();
                    content.picture = ProgramPicture();
                    common::ShowAboutBox(content, this);
                });
            });

    const auto onMap = [this](QAction* action, void (siteplan::TPlaneMap::*operation)()) {
        connect(action, &QAction::triggered, this, [this, operation] {
            Run([&] {
                if (siteplan::TPlaneMap* map = PlaneMap())
                    (map->*operation)();
            });
        });
    };
    onMap(act_EditCopy, &siteplan::TPlaneMap::CopySelection);
    onMap(act_EditCut, &siteplan::TPlaneMap::CutSelection);
    onMap(act_EditPase, &siteplan::TPlaneMap::PasteSelection);
    onMap(act_EditDelete, &siteplan::TPlaneMap::DeleteSelected);
    onMap(act_EditDeleteAll, &siteplan::TPlaneMap::DeleteAll);
    onMap(act_EditSelectAll, &siteplan::TPlaneMap::SelectAll);
    onMap(act_EditNotSelect, &siteplan::TPlaneMap::InvertSelection);
    onMap(act_EditProperty, &siteplan::TPlaneMap::EditProperties);
    onMap(act_ShowRePain, &siteplan::TPlaneMap::RefreshAll);
    connect(act_ShowZoomIn, &QAction::triggered, this, [this] { Run([&] { ShowZoom(ZoomInStep(PlaneMap()->Zoom())); }); });
    connect(act_ShowZoom, &QAction::triggered, this, [this] { Run([&] { ShowZoom(100); }); });
    connect(act_ShowZoomOut, &QAction::triggered, this, [this] { Run([&] { ShowZoom(ZoomOutStep(PlaneMap()->Zoom())); }); });
}

void TForm1::CreateMenus()
{
    auto* ToolBar2 = addToolBar(QStringLiteral("菜单"));
    ToolBar2->setObjectName(QStringLiteral("ToolBar2"));
    ToolBar2->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto* menuRow = new TMenuRow(ToolBar2);
    const auto addMenu = [&](const QString& caption, std::initializer_list<QAction*> items) {
        auto* menu = new QMenu(caption, this);
        for (QAction* item : items) {
            if (item)
                menu->addAction(item);
            else
                menu->addSeparator();
        }
        auto* button = new QToolButton(ToolBar2);
        button->setText(caption);
        button->setMenu(menu);
        button->setAutoRaise(true);
        button->setMinimumWidth(79);
        connect(menu, &QMenu::aboutToShow, this, &TForm1::ActionList1Update);
        ToolBar2->addWidget(button);
        menuRow->AddButton(button);
    };
    addMenu(QStringLiteral("文件(&F)"), {act_FileNew, act_FileOpen, nullptr, act_FileSave, act_FileSaveAs, nullptr,
                                        act_FileClose, nullptr, act_FilePreview, act_FilePrintSet, act_FilePrint, nullptr,
                                        act_FileExit});
    addMenu(QStringLiteral("编辑(&E)"), {act_EditCopy, act_EditCut, act_EditPase, nullptr, act_EditDelete, act_EditDeleteAll, nullptr, act_EditSelectAll, act_EditNotSelect});
    addMenu(QStringLiteral("设置(&T)"), {act_SetSetProperty, nullptr, act_EditProperty});
    addMenu(QStringLiteral("显示(&S)"), {act_ShowRePain, nullptr, act_ShowZoomIn, act_ShowZoom, act_ShowZoomOut});
    addMenu(QStringLiteral("图库管理(&M)"), {E1, nullptr, A1});
    addMenu(QStringLiteral("帮助(&H)"), {act_HelpHelp, nullptr, act_HelpAbout});
}

void TForm1::CreateToolBars()
{
    addToolBarBreak();
    auto* ToolBar3 = addToolBar(QStringLiteral("文件"));
    ToolBar3->addAction(act_FileNew);
    ToolBar3->addAction(act_FileOpen);
    if (auto* openButton = qobject_cast<QToolButton*>(ToolBar3->widgetForAction(act_FileOpen))) {
        openButton->setMenu(qppm_OpenFile);
        openButton->setPopupMode(QToolButton::MenuButtonPopup);
    }
    ToolBar3->addAction(act_FileSave);
    ToolBar3->addAction(act_FileClose);
    ToolBar3->addSeparator();
    ToolBar3->addAction(act_FilePreview);
    ToolBar3->addAction(act_FilePrintSet);
    ToolBar3->addAction(act_FilePrint);

    auto* ToolBar4 = addToolBar(QStringLiteral("显示"));
    ToolBar4->addAction(act_ShowRePain);
    ToolBar4->addSeparator();
    ToolBar4->addAction(act_ShowZoomIn);
    ToolBar4->addAction(act_ShowZoom);
    ToolBar4->addAction(act_ShowZoomOut);
    ToolBar4->addSeparator();
    ToolBar4->addAction(act_EditProperty);

    auto* ToolBar6 = addToolBar(QStringLiteral("编辑"));
    ToolBar6->addAction(act_EditCopy);
    ToolBar6->addAction(act_EditCut);
    ToolBar6->addAction(act_EditPase);

    auto* ToolBar1 = addToolBar(QStringLiteral("帮助"));
    ToolBar1->addAction(act_HelpHelp);

    tlb_PlaneMap = addToolBar(QStringLiteral("图纸"));
    cmb_PlanmapSize = new QComboBox(tlb_PlaneMap);
    cmb_PlanmapSize->addItems({QStringLiteral("A0 1189 * 841 mm"), QStringLiteral("A1  841 * 594 mm"),
                               QStringLiteral("A2  594 * 420 mm"), QStringLiteral("A3  420 * 297 mm"),
                               QStringLiteral("A4  297 * 210 mm"), QStringLiteral("自定义纸张尺寸...")});
    tlb_PlaneMap->addWidget(cmb_PlanmapSize);
    ToolButton31 = new QToolButton(tlb_PlaneMap);
    ToolButton31->setAutoRaise(true);
    ToolButton31->setIcon(CommandIcon(CommandGlyph::Landscape));
    ToolButton31->setToolTip(QStringLiteral("图纸方向"));
    tlb_PlaneMap->addWidget(ToolButton31);
    cmb_MapScale = new QComboBox(tlb_PlaneMap);
    cmb_MapScale->addItems({QStringLiteral("1"), QStringLiteral("50"), QStringLiteral("100"), QStringLiteral("200"),
                            QStringLiteral("250"), QStringLiteral("500"), QStringLiteral("1000"),
                            QStringLiteral("2000"), QStringLiteral("2500"), QStringLiteral("5000"),
                            QStringLiteral("自定义")});
    tlb_PlaneMap->addWidget(cmb_MapScale);
    connect(cmb_PlanmapSize, &QComboBox::activated, this, [this](int index) { Run([&] { cmb_PlanmapSizeClick(index); }); });
    connect(cmb_MapScale, &QComboBox::activated, this, [this](int index) { Run([&] { cmb_MapScaleClick(index); }); });
    connect(ToolButton31, &QToolButton::clicked, this, [this] { Run([&] { ToolButton31Click(); }); });
}

void TForm1::CreateWorkspace()
{
    auto* central = new QWidget(this);
    auto* row = new QHBoxLayout(central);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    FMethodsPanel = new TMethodsPanle(central);
    // An armed method leaves no drawing tool: the first page's select button
    // goes down, and so does the shown page's, whose tool button would
    // otherwise stay down for a tool the plan no longer has.
    FMethodsPanel->OnSelectTool = [this] {
        spbtn_SelectClick(FPageButtons[0][0]);
        ResetToolToSelect();
    };
    row->addWidget(FMethodsPanel);

    FWorkspace = new QWidget(central);
    FWorkspace->setAutoFillBackground(true);
    QPalette palette = FWorkspace->palette();
    palette.setColor(QPalette::Window, platform::ToQColor(platform::clAppWorkSpace));
    FWorkspace->setPalette(palette);
    auto* grid = new QGridLayout(FWorkspace);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    QStaffGuage1 = new siteplan::TQStaffGuage(FWorkspace);
    QStaffGuage1->setFixedHeight(kRulerThickness);
    QStaffGuage1->Color = platform::clAppWorkSpace;
    QStaffGuage1->OnPaint = [this](siteplan::TQStaffGuage*, platform::Canvas& canvas) { PaintHorizontalRuler(canvas); };
    QStaffGuage2 = new siteplan::TQStaffGuage(FWorkspace);
    QStaffGuage2->setFixedWidth(kRulerThickness);
    QStaffGuage2->Color = platform::clAppWorkSpace;
    QStaffGuage2->OnPaint = [this](siteplan::TQStaffGuage*, platform::Canvas& canvas) { PaintVerticalRuler(canvas); };
    auto* corner = new QWidget(FWorkspace);
    corner->setFixedSize(kRulerThickness, kRulerThickness);
    grid->addWidget(corner, 0, 0);
    grid->addWidget(QStaffGuage1, 0, 1);
    grid->addWidget(QStaffGuage2, 1, 0);
    grid->setRowStretch(1, 1);
    grid->setColumnStretch(1, 1);
    row->addWidget(FWorkspace, 1);
    setCentralWidget(central);
}

void TForm1::CreateStatusBar()
{
    // Permanent panels: a status tip from any widget cannot hide them.
    for (const int width : {150, 100, 100, 180, 50}) {
        auto* panel = new QLabel(statusBar());
        panel->setMinimumWidth(width);
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        statusBar()->addPermanentWidget(panel, width == 50 ? 1 : 0);
        FPanels.push_back(panel);
    }
}

QString TForm1::StatusPanel(int index) const
{
    return FPanels[static_cast<std::size_t>(index)]->text();
}

void TForm1::ActionList1Update()
{
    const siteplan::TPlaneMap* map = PlaneMap();
    const bool doc = map != nullptr;
    const bool selected = doc && map->SelectedCount() > 0;
    const bool shapes = doc && map->MapComCount() > 0;
    const int zoom = doc ? map->Zoom() : 100;
    act_FileSave->setEnabled(doc);
    act_FileClose->setEnabled(doc);
    act_SetSetProperty->setEnabled(doc);
    A1->setEnabled(doc);
    // Without an installed printer the print dialog still offers a PDF file.
    act_FilePreview->setEnabled(doc);
    act_FilePrint->setEnabled(doc);
    act_EditCopy->setEnabled(selected);
    act_EditCut->setEnabled(selected);
    act_EditPase->setEnabled(doc && map->CanPaste());
    act_EditDelete->setEnabled(selected);
    act_EditDeleteAll->setEnabled(shapes);
    act_EditSelectAll->setEnabled(shapes);
    act_EditNotSelect->setEnabled(selected);
    act_ShowRePain->setEnabled(doc);
    act_ShowZoomIn->setEnabled(doc && zoom < 1000);
    act_ShowZoom->setEnabled(doc && zoom != 100);
    act_ShowZoomOut->setEnabled(doc && zoom > 10);
    tlb_PlaneMap->setEnabled(doc);
}

void TForm1::closeEvent(QCloseEvent* event)
{
    bool canClose = false;
    Run([&] { canClose = CanCloseMap(); });
    if (canClose)
        event->accept();
    else
        event->ignore();
}

} // namespace sitelay
