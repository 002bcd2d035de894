// The tool pages: one button per drawing tool whose shape class exists,
// the select button first on every page. The plan holds the tool; the down
// button shows it.
#include "apps/sitelay/main_window.h"

#include "apps/sitelay/methods_panel.h"
#include "apps/sitelay/resource_images.h"

#include "siteplan/map_com_classes.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>

namespace sitelay {

namespace {

struct ToolEntry {
    int kind;
    const char16_t* hint;
};

constexpr ToolEntry kBasicTools[] = {
    {1, u"折线"},      {2, u"椭圆"},     {3, u"矩形"}, {4, u"圆角矩形"}, {5, u"贝塞尔曲线"},
    {6, u"多边形"},    {7, u"文字"},     {8, u"图片"}, {9, u"圆弧"},     {10, u"自由曲线"},
};

constexpr ToolEntry kCompoundTools[] = {
    {100, u"塔吊"},
    {101, u"围墙"},
};

} // namespace

QToolButton* TForm1::AddToolButton(QWidget* page, QButtonGroup* group, int drawKind, const QString& hint)
{
    auto* button = new QToolButton(page);
    button->setFixedSize(23, 22);
    button->setAutoRaise(true);
    button->setCheckable(true);
    button->setIcon(ToolIcon(drawKind));
    button->setToolTip(hint);
    button->setProperty("Tag", drawKind);
    group->addButton(button);
    page->layout()->addWidget(button);
    connect(button, &QToolButton::clicked, this, [this, button] { Run([&] { spbtn_SelectClick(button); }); });
    return button;
}

void TForm1::CreateToolPages()
{
    auto* toolBar = addToolBar(QStringLiteral("图形"));
    PageControl1 = new QTabWidget(toolBar);
    PageControl1->setFocusPolicy(Qt::NoFocus);
    PageControl1->tabBar()->setFocusPolicy(Qt::NoFocus);
    const auto addPage = [this](const QString& caption, std::span<const ToolEntry> tools) {
        auto* page = new QWidget(PageControl1);
        auto* row = new QHBoxLayout(page);
        row->setContentsMargins(2, 1, 2, 1);
        row->setSpacing(0);
        auto* group = new QButtonGroup(page);
        group->setExclusive(true);
        std::vector<QToolButton*> buttons;
        QToolButton* select = AddToolButton(page, group, 0, QStringLiteral("选择图形"));
        select->setChecked(true);
        buttons.push_back(select);
        for (const ToolEntry& tool : tools) {
            if (siteplan::FindMapComClass(tool.kind))
                buttons.push_back(AddToolButton(page, group, tool.kind, QString::fromUtf16(tool.hint)));
        }
        row->addStretch(1);
        FPageButtons.push_back(std::move(buttons));
        PageControl1->addTab(page, caption);
    };
    addPage(QStringLiteral(" 基本图形 "), kBasicTools);
    addPage(QStringLiteral("组合图形"), kCompoundTools);
    toolBar->addWidget(PageControl1);
    CreateLegendPages();
    connect(PageControl1, &QTabWidget::currentChanged, this, [this](int page) {
        if (FRebuildingPages)
            return;
        Run([&] {
            // The tool of the page left goes back to select, then the new
            // page's select button is pressed.
            if (const siteplan::TPlaneMap* map = PlaneMap(); map && map->DrawKind() > 0 && FPage >= 0)
                spbtn_SelectClick(FPageButtons[static_cast<std::size_t>(FPage)][0]);
            FPage = page;
            ResetToolToSelect();
        });
    });
}

std::vector<QToolButton*> TForm1::PageButtons(int page) const
{
    return FPageButtons[static_cast<std::size_t>(page)];
}

QToolButton* TForm1::ToolButtonOf(int drawKind) const
{
    for (const auto& page : FPageButtons)
        for (QToolButton* button : page)
            if (button->property("Tag").toInt() == drawKind)
                return button;
    return nullptr;
}

void TForm1::spbtn_SelectClick(QToolButton* button)
{
    siteplan::TPlaneMap* map = PlaneMap();
    if (!map)
        return;
    const int kind = button->property("Tag").toInt();
    map->SetDrawKind(kind);
    if (!button->isChecked()) {
        // A click made by the program only shows the tool.
        button->setChecked(true);
        return;
    }
    if (kind != 0)
        FMethodsPanel->SelectMethod(-1);
}

void TForm1::ResetToolToSelect()
{
    const int page = PageControl1->currentIndex();
    if (page >= 0)
        spbtn_SelectClick(FPageButtons[static_cast<std::size_t>(page)][0]);
}

void TForm1::PlaneMapSelectChanged()
{
    const siteplan::TSelectMapComs& selection = PlaneMap()->Selection();
    FMethodsPanel->SetMapCom(selection.Count() == 1 ? selection.Items(0) : nullptr);
    ActionList1Update();
}

} // namespace sitelay
