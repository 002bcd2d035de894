// The pen, brush and text toolbars. They show the plan's current pen, brush
// and text setting (the first selected shape's, else the plan's defaults)
// and restyle it together with the selected shapes that have that group.
// Showing never restyles anything: only a choice made on a toolbar does.
#include "apps/sitelay/main_window.h"

#include "apps/sitelay/resource_images.h"

#include "siteplan/map_brush.h"
#include "siteplan/map_pen.h"
#include "siteplan/text_show_set.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFontDatabase>
#include <QLineEdit>
#include <QSpinBox>
#include <QToolBar>
#include <QToolButton>

#include <optional>

namespace sitelay {

namespace {

// Codes of TPlaneMap::SetSelectedAttribute.
namespace code {
constexpr int PenStyle = 0;
constexpr int PenWidth = 1;
constexpr int PenColor = 2;
constexpr int BrushStyle = 3;
constexpr int BrushColor = 4;
constexpr int FontName = 5;
constexpr int FontSize = 6;
constexpr int Bold = 7;
constexpr int Italic = 8;
constexpr int Underline = 9;
constexpr int HorzAlign = 10;
constexpr int VertAlign = 11;
constexpr int FontColor = 12;
} // namespace code

constexpr int kMinPenWidth = 1;
constexpr int kMaxPenWidth = 25;

// The installed screen fonts and the face names that documents store and
// that are mapped to an installed font.
QStringList ScreenFonts()
{
    QStringList fonts = QFontDatabase::families();
    fonts += QFont::substitutions();
    fonts.removeDuplicates();
    fonts.sort();
    return fonts;
}

void SetStyleBit(platform::TFont& font, platform::TFontStyle style, bool on)
{
    if (on)
        font.Style |= style;
    else
        font.Style &= static_cast<platform::TFontStyles>(~style);
}

QToolButton* CheckButton(QToolBar* bar, const QString& text, const QString& hint)
{
    auto* button = new QToolButton(bar);
    button->setText(text);
    button->setToolTip(hint);
    button->setCheckable(true);
    button->setAutoRaise(true);
    bar->addWidget(button);
    return button;
}

QToolButton* ColorButton(QToolBar* bar, const QString& hint)
{
    auto* button = new QToolButton(bar);
    button->setIcon(CommandIcon(CommandGlyph::Color));
    button->setToolTip(hint);
    button->setAutoRaise(true);
    bar->addWidget(button);
    return button;
}

} // namespace

void TForm1::CreateStyleBars()
{
    addToolBarBreak();
    auto* ToolBar8 = addToolBar(QStringLiteral("文字"));
    cmb_FontName = new QComboBox(ToolBar8);
    cmb_FontName->addItems(ScreenFonts());
    cmb_FontName->setMinimumContentsLength(10);
    ToolBar8->addWidget(cmb_FontName);
    cmb_FontSize = new QComboBox(ToolBar8);
    cmb_FontSize->setEditable(true);
    cmb_FontSize->setInsertPolicy(QComboBox::NoInsert);
    cmb_FontSize->addItems({QStringLiteral("8"), QStringLiteral("9"), QStringLiteral("10"), QStringLiteral("11"),
                            QStringLiteral("12"), QStringLiteral("14"), QStringLiteral("16"), QStringLiteral("18"),
                            QStringLiteral("20"), QStringLiteral("22"), QStringLiteral("24"), QStringLiteral("26"),
                            QStringLiteral("28"), QStringLiteral("36"), QStringLiteral("48"), QStringLiteral("72")});
    ToolBar8->addWidget(cmb_FontSize);
    // A typed size changes nothing: Return in the edit is taken away from
    // the combo, so only a choice from the list restyles (eventFilter).
    cmb_FontSize->lineEdit()->installEventFilter(this);
    tlbtn_FontB = CheckButton(ToolBar8, QStringLiteral("B"), QStringLiteral("粗体"));
    tlbtn_FontI = CheckButton(ToolBar8, QStringLiteral("I"), QStringLiteral("斜体"));
    tlbtn_FontU = CheckButton(ToolBar8, QStringLiteral("U"), QStringLiteral("下划线"));
    ToolBar8->addSeparator();
    tlbtn_FontLeft = CheckButton(ToolBar8, QStringLiteral("左"), QStringLiteral("左对齐"));
    tlbtn_FontCenter = CheckButton(ToolBar8, QStringLiteral("中"), QStringLiteral("水平居中"));
    tlbtn_FontRight = CheckButton(ToolBar8, QStringLiteral("右"), QStringLiteral("右对齐"));
    ToolBar8->addSeparator();
    tlbtn_FontTop = CheckButton(ToolBar8, QStringLiteral("上"), QStringLiteral("顶端对齐"));
    tlbtn_FontVCenter = CheckButton(ToolBar8, QStringLiteral("正"), QStringLiteral("垂直居中"));
    tlbtn_FontBottom = CheckButton(ToolBar8, QStringLiteral("下"), QStringLiteral("底端对齐"));
    tlbtn_FontColor = ColorButton(ToolBar8, QStringLiteral("文字颜色"));
    const auto group = [this](std::initializer_list<QToolButton*> buttons) {
        auto* g = new QButtonGroup(this);
        g->setExclusive(true);
        int tag = 0;
        for (QToolButton* button : buttons) {
            button->setProperty("Tag", tag++);
            g->addButton(button);
        }
    };
    group({tlbtn_FontLeft, tlbtn_FontCenter, tlbtn_FontRight});
    group({tlbtn_FontTop, tlbtn_FontVCenter, tlbtn_FontBottom});

    auto* ToolBar5 = addToolBar(QStringLiteral("填充"));
    cmb_BrushStyle = new QComboBox(ToolBar5);
    cmb_BrushStyle->addItems({QStringLiteral("颜色"), QStringLiteral("无"), QStringLiteral("水平线"),
                              QStringLiteral("垂直线"), QStringLiteral("315度斜线"), QStringLiteral("45度斜线"),
                              QStringLiteral("网格"), QStringLiteral("45度网格")});
    ToolBar5->addWidget(cmb_BrushStyle);
    tlbtn_BrushColor = ColorButton(ToolBar5, QStringLiteral("填充颜色"));

    auto* tlb_Pen = addToolBar(QStringLiteral("线条"));
    cmb_PenStyle = new QComboBox(tlb_Pen);
    cmb_PenStyle->addItems({QStringLiteral("实线"), QStringLiteral("虚线"), QStringLiteral("点线"),
                            QStringLiteral("点划线"), QStringLiteral("双点划线"), QStringLiteral("无"),
                            QStringLiteral("内实线")});
    tlb_Pen->addWidget(cmb_PenStyle);
    ud_PenWidth = new QSpinBox(tlb_Pen);
    ud_PenWidth->setRange(kMinPenWidth, kMaxPenWidth);
    ud_PenWidth->setValue(1);
    ud_PenWidth->findChild<QLineEdit*>()->setReadOnly(true);
    tlb_Pen->addWidget(ud_PenWidth);
    tbn_PenColor = ColorButton(tlb_Pen, QStringLiteral("线条颜色"));

    const auto onClick = [this](QToolButton* button, void (TForm1::*handler)()) {
        connect(button, &QToolButton::clicked, this, [this, handler] { Run([&] { (this->*handler)(); }); });
    };
    const auto onChoice = [this](QComboBox* combo, void (TForm1::*handler)(int)) {
        connect(combo, &QComboBox::activated, this, [this, handler](int index) { Run([&] { (this->*handler)(index); }); });
    };
    onChoice(cmb_FontName, &TForm1::cmb_FontNameClick);
    onChoice(cmb_FontSize, &TForm1::cmb_FontSizeClick);
    onChoice(cmb_BrushStyle, &TForm1::cmb_BrushStyleClick);
    onChoice(cmb_PenStyle, &TForm1::cmb_PenStyleClick);
    onClick(tlbtn_FontB, &TForm1::tlbtn_FontBClick);
    onClick(tlbtn_FontI, &TForm1::tlbtn_FontIClick);
    onClick(tlbtn_FontU, &TForm1::tlbtn_FontUClick);
    onClick(tlbtn_FontColor, &TForm1::tlbtn_FontColorClick);
    onClick(tlbtn_BrushColor, &TForm1::tlbtn_BrushColorClick);
    onClick(tbn_PenColor, &TForm1::tbn_PenColorClick);
    for (QToolButton* button : {tlbtn_FontLeft, tlbtn_FontCenter, tlbtn_FontRight})
        connect(button, &QToolButton::clicked, this, [this, button] { Run([&] { tlbtn_FontLeftClick(button); }); });
    for (QToolButton* button : {tlbtn_FontTop, tlbtn_FontVCenter, tlbtn_FontBottom})
        connect(button, &QToolButton::clicked, this, [this, button] { Run([&] { tlbtn_FontTopClick(button); }); });
    connect(ud_PenWidth, &QSpinBox::valueChanged, this, [this](int position) {
        if (FUpdatingBars)
            return;
        Run([&] { ud_PenWidthChangingEx(position); });
    });
}

void TForm1::ShowPen(const siteplan::TMapPen& pen)
{
    FUpdatingBars = true;
    cmb_PenStyle->setCurrentIndex(static_cast<int>(pen.Style()));
    ud_PenWidth->setValue(pen.Width());
    FUpdatingBars = false;
}

void TForm1::ShowBrush(const siteplan::TMapBrush& brush)
{
    cmb_BrushStyle->setCurrentIndex(static_cast<int>(brush.Style()));
}

void TForm1::ShowTextShow(const siteplan::TTextShowSet& textShow)
{
    const platform::TFont& font = textShow.Font;
    cmb_FontName->setCurrentIndex(cmb_FontName->findText(font.Name, Qt::MatchExactly));
    cmb_FontSize->setEditText(QString::number(font.Size));
    tlbtn_FontB->setChecked((font.Style & platform::fsBold) != 0);
    tlbtn_FontI->setChecked((font.Style & platform::fsItalic) != 0);
    tlbtn_FontU->setChecked((font.Style & platform::fsUnderline) != 0);
    QToolButton* const horizontal[] = {tlbtn_FontLeft, tlbtn_FontCenter, tlbtn_FontRight};
    QToolButton* const vertical[] = {tlbtn_FontTop, tlbtn_FontVCenter, tlbtn_FontBottom};
    // Other alignment values put no button down.
    if (textShow.HorzAlign() >= 0 && textShow.HorzAlign() <= 2)
        horizontal[textShow.HorzAlign()]->setChecked(true);
    if (textShow.VertAlign() >= 0 && textShow.VertAlign() <= 2)
        vertical[textShow.VertAlign()]->setChecked(true);
}

void TForm1::cmb_PenStyleClick(int index)
{
    siteplan::TPlaneMap* map = PlaneMap();
    if (!map || index < 0)
        return;
    map->CurPen()->SetStyle(static_cast<platform::TPenStyle>(index));
    map->SetSelectedAttribute(code::PenStyle, index);
}

bool TForm1::ud_PenWidthChangingEx(int newPosition)
{
    if (newPosition < kMinPenWidth || newPosition > kMaxPenWidth)
        return false;
    if (siteplan::TPlaneMap* map = PlaneMap()) {
        map->CurPen()->SetWidth(newPosition);
        map->SetSelectedAttribute(code::PenWidth, newPosition);
    }
    return true;
}

void TForm1::tbn_PenColorClick()
{
    siteplan::TPlaneMap* map = PlaneMap();
    if (!map)
        return;
    if (const std::optional<platform::TColor> color = FDialogs->ChooseColor(map->CurPen()->Color())) {
        map->CurPen()->SetColor(*color);
        map->SetSelectedAttribute(code::PenColor, *color);
    }
}

void TForm1::cmb_BrushStyleClick(int index)
{
    siteplan::TPlaneMap* map = PlaneMap();
    if (!map || index < 0)
        return;
    map->CurBrush()->SetStyle(static_cast<platform::TBrushStyle>(index));
    map->SetSelectedAttribute(code::BrushStyle, index);
}

void TForm1::tlbtn_BrushColorClick()
{
    siteplan::TPlaneMap* map = PlaneMap();
    if (!map)
        return;
    if (const std::optional<platform::TColor> color = FDialogs->ChooseColor(map->CurBrush()->Color())) {
        map->CurBrush()->SetColor(*color);
        map->SetSelectedAttribute(code::BrushColor, *color);
    }
}

void TForm1::cmb_FontNameClick(int index)
{
    siteplan::TPlaneMap* map = PlaneMap();
    if (!map || index < 0)
        return;
    const QString name = cmb_FontName->itemText(index);
    map->CurTextShow()->Font.Name = name;
    map->SetSelectedAttribute(code::FontName, name);
}

void TForm1::cmb_FontSizeClick(int index)
{
    siteplan::TPlaneMap* map = PlaneMap();
    if (!map || index < 0)
        return;
    const int size = cmb_FontSize->itemText(index).toInt();
    map->CurTextShow()->Font.Size = size;
    map->SetSelectedAttribute(code::FontSize, size);
}

void TForm1::tlbtn_FontBClick()
{
    if (siteplan::TPlaneMap* map = PlaneMap()) {
        SetStyleBit(map->CurTextShow()->Font, platform::fsBold, tlbtn_FontB->isChecked());
        map->SetSelectedAttribute(code::Bold, tlbtn_FontB->isChecked());
    }
}

void TForm1::tlbtn_FontIClick()
{
    if (siteplan::TPlaneMap* map = PlaneMap()) {
        SetStyleBit(map->CurTextShow()->Font, platform::fsItalic, tlbtn_FontI->isChecked());
        map->SetSelectedAttribute(code::Italic, tlbtn_FontI->isChecked());
    }
}

void TForm1::tlbtn_FontUClick()
{
    if (siteplan::TPlaneMap* map = PlaneMap()) {
        SetStyleBit(map->CurTextShow()->Font, platform::fsUnderline, tlbtn_FontU->isChecked());
        map->SetSelectedAttribute(code::Underline, tlbtn_FontU->isChecked());
    }
}

void TForm1::tlbtn_FontLeftClick(QToolButton* button)
{
    if (siteplan::TPlaneMap* map = PlaneMap()) {
        const auto align = static_cast<std::int16_t>(button->property("Tag").toInt());
        map->CurTextShow()->SetHorzAlign(align);
        map->SetSelectedAttribute(code::HorzAlign, align);
    }
}

void TForm1::tlbtn_FontTopClick(QToolButton* button)
{
    if (siteplan::TPlaneMap* map = PlaneMap()) {
        const auto align = static_cast<std::int16_t>(button->property("Tag").toInt());
        map->CurTextShow()->SetVertAlign(align);
        map->SetSelectedAttribute(code::VertAlign, align);
    }
}

void TForm1::tlbtn_FontColorClick()
{
    siteplan::TPlaneMap* map = PlaneMap();
    if (!map)
        return;
    if (const std::optional<platform::TColor> color = FDialogs->ChooseColor(map->CurTextShow()->Font.Color)) {
        map->CurTextShow()->Font.Color = *color;
        map->SetSelectedAttribute(code::FontColor, *color);
    }
}

} // namespace sitelay
