#include "common/map_preview_window.h"

#include "common/preview_zoom_steps.h"

#include "platform/guarded_run.h"
#include "platform/qt/qt_window_services.h"

#include <QAction>
#include <QLabel>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>


namespace common {

Tfrm_MapPreview::Tfrm_MapPreview(TPrintServices& printing, const TMapPreviewLayout& layout,
                                 platform::WindowServices* messages, QWidget* parent)
    : QDialog(parent), FPrinting(printing)
{
    if (messages) {
        FMessages = messages;
    } else {
        FOwnMessages = std::make_unique<platform::QtWindowServices>(this);
        FMessages = FOwnMessages.get();
    }
    setWindowFlags(Qt::Window | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    resize(layout.Size);
    setMinimumSize(layout.MinimumSize);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    ToolBar1 = new QToolBar(this);
    ToolBar1->setToolButtonStyle(Qt::ToolButtonTextOnly);
    column->addWidget(ToolBar1);
    PreviewView = new TPrintPreviewView(printing.Metrics(), this);
    column->addWidget(PreviewView, 1);
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setSizeGripEnabled(false);
    for (const int width : {100, 100, 50}) {
        auto* panel = new QLabel(StatusBar1);
        panel->setMinimumWidth(width);
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        StatusBar1->addWidget(panel, width == 50 ? 1 : 0);
        FPanels.push_back(panel);
    }
    column->addWidget(StatusBar1);

    CreateActions();
    TVYRPrintPreview& preview = Preview();
    // The enabling rules follow every change of the pages and the zoom, as
    // an idle-time update would.
    preview.OnInitializeParameter = [this] {
        UpdatePageStatus();
        ActionList1Update();
    };
    preview.OnPaperChenged = [this] {
        UpdateCurrentPage();
        ActionList1Update();
    };
    preview.OnZoomChanged = [this] {
        UpdateZoomStatus();
        ActionList1Update();
    };

    for (QAction* action : {act_PrintSet, act_Print, act_FirstPaper, act_PriorPaper, act_NextPaper, act_LastPaper,
                            act_ZoomIN, act_ZoomOut, act_ToWidth, act_ToHeight, act_ToFit})
        ToolBar1->addAction(action);
    ToolBar1->addSeparator();
    tbtnClose = new QToolButton(ToolBar1);
    tbtnClose->setText(layout.CloseCaption);
    tbtnClose->setToolTip(layout.CloseHint);
    tbtnClose->setAutoRaise(true);
    ToolBar1->addWidget(tbtnClose);
    connect(tbtnClose, &QToolButton::clicked, this, &QDialog::close);

    UpdatePageStatus();
    UpdateZoomStatus();
    ActionList1Update();
}

Tfrm_MapPreview::~Tfrm_MapPreview() = default;

void Tfrm_MapPreview::Run(const std::function<void()>& command)
{
    platform::RunGuarded(*FMessages, command);
    ActionList1Update();
}

void Tfrm_MapPreview::CreateActions()
{
    const auto make = [this](const QString& caption, const QString& hint, std::function<void()> effect) {
        auto* action = new QAction(caption, this);
        action->setToolTip(hint);
        action->setStatusTip(hint);
        addAction(action);
        connect(action, &QAction::triggered, this, [this, effect] { Run(effect); });
        return action;
    };
    TVYRPrintPreview& preview = Preview();
    act_FirstPaper = make(QStringLiteral("第一页"), QStringLiteral("浏览第一页"), [&preview] { preview.SetPageIndex(0); });
    act_PriorPaper = make(QStringLiteral("上一页"), QStringLiteral("浏览上一页"), [&preview] {
        if (preview.PageIndex() > 0)
            preview.SetPageIndex(preview.PageIndex() - 1);
    });
    act_NextPaper = make(QStringLiteral("下一页"), QStringLiteral("浏览下一页"), [&preview] {
        if (preview.PageIndex() < preview.PageCount() - 1)
            preview.SetPageIndex(preview.PageIndex() + 1);
    });
    act_LastPaper = make(QStringLiteral("最后页"), QStringLiteral("浏览最后一页"),
                         [&preview] { preview.SetPageIndex(preview.PageCount() - 1); });
    act_ZoomIN = make(QStringLiteral("放  大"), QStringLiteral("放大显示"),
                      [&preview] { preview.SetZoom(NextZoomStep(preview.Zoom(), true)); });
    act_ZoomOut = make(QStringLiteral("缩  小"), QStringLiteral("缩小显示"),
                       [&preview] { preview.SetZoom(NextZoomStep(preview.Zoom(), false)); });
    act_ToWidth = make(QStringLiteral("按宽度"), QStringLiteral("按纸张的宽度显示"),
                       [&preview] { preview.SetZoomState(TZoomState::zsZoomToWidth); });
    act_ToHeight = make(QStringLiteral("按高度"), QStringLiteral("按纸张的高度显示"),
                        [&preview] { preview.SetZoomState(TZoomState::zsZoomToHeight); });
    act_ToFit = make(QStringLiteral("全  页"), QStringLiteral("完整显示整页"),
                     [&preview] { preview.SetZoomState(TZoomState::zsZoomToFit); });
    act_PrintSet = make(QStringLiteral("打印设置(&S)"), QStringLiteral("打印设置"), [this] { act_PrintSetExecute(); });
    act_Print = make(QStringLiteral("打印(&P)"), QStringLiteral("打印"), [this] { act_PrintExecute(); });
}

void Tfrm_MapPreview::ActionList1Update()
{
    const TVYRPrintPreview& preview = PreviewView->Preview();
    const bool notFirst = preview.PageIndex() > 0;
    const bool notLast = preview.PageIndex() < preview.PageCount() - 1;
    act_FirstPaper->setEnabled(notFirst);
    act_PriorPaper->setEnabled(notFirst);
    act_NextPaper->setEnabled(notLast);
    act_LastPaper->setEnabled(notLast);
    act_ZoomIN->setEnabled(preview.Zoom() < 200);
    act_ZoomOut->setEnabled(preview.Zoom() > 25);
    act_ToWidth->setEnabled(preview.ZoomState() != TZoomState::zsZoomToWidth);
    act_ToHeight->setEnabled(preview.ZoomState() != TZoomState::zsZoomToHeight);
    act_ToFit->setEnabled(preview.ZoomState() != TZoomState::zsZoomToFit);
}

void Tfrm_MapPreview::UpdatePageStatus()
{
    FPanels[0]->setText(QStringLiteral("总页数：共%1页").arg(Preview().PageCount()));
    UpdateCurrentPage();
}

void Tfrm_MapPreview::UpdateCurrentPage()
{
    FPanels[1]->setText(QStringLiteral("当前页：第%1页").arg(Preview().PageIndex() + 1));
}

void Tfrm_MapPreview::UpdateZoomStatus()
{
    FPanels[2]->setText(QStringLiteral("显示比例：%1%").arg(Preview().Zoom()));
}

QString Tfrm_MapPreview::StatusPanel(int index) const
{
    return FPanels[static_cast<std::size_t>(index)]->text();
}

bool Tfrm_MapPreview::act_PrintExecute()
{
    if (FPrinting.NeedsOutputChoice()) {
        if (!FPrinting.PrintDialog(FPrinting.Printer(), this))
            return false;
        // The dialog may have chosen another printer or paper.
        Preview().PrinterChanged();
    }
    const std::unique_ptr<PrintJob> job = FPrinting.NewJob();
    Preview().Print(1, Preview().PageCount(), *job);
    return true;
}

void Tfrm_MapPreview::act_PrintSetExecute()
{
    if (FPrinting.PrinterSetupDialog(FPrinting.Printer(), this))
        Preview().PrinterChanged();
}

} // namespace common
