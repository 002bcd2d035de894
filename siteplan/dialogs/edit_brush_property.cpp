#include "edit_brush_property.h"

#include "color_swatch.h"

#include "platform/fonts.h"

#include "siteplan/map_brush.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <utility>

namespace siteplan {

Tfra_EditBrushProperty::Tfra_EditBrushProperty(QWidget* parent)
    : QWidget(parent),
      GroupBox1(new QGroupBox(QStringLiteral("充填类型"), this)),
      GroupBox3(new QGroupBox(QStringLiteral("充填颜色"), this)),
      lb_BrushColor(new TColorSwatch({89, 33}, GroupBox3)),
      Button1(new QPushButton(QStringLiteral("颜色..."), GroupBox3)),
      GroupBox2(new QGroupBox(QStringLiteral("充填位图"), this)),
      Button2(new QPushButton(QStringLiteral("文件..."), GroupBox2)),
      Image1(new QLabel(GroupBox2)),
      FStyleGroup(new QButtonGroup(this))
{
    platform::InstallFontSubstitutes();
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(12);
    setFont(font);

    // Column by column, top to bottom: the control order.
    const std::pair<const char16_t*, int> items[] = {
        {u"颜色", 0}, {u"无", 1}, {u"45度斜线", 5}, {u"315度斜线", 4},
        {u"网格", 6}, {u"45度网格", 7}, {u"水平线", 2}, {u"垂直线", 3},
    };
    auto* styles = new QGridLayout(GroupBox1);
    styles->setContentsMargins(6, 6, 6, 6);
    styles->setHorizontalSpacing(4);
    for (int i = 0; i < 8; ++i) {
        const auto& [caption, tag] = items[i];
        auto* button = new QRadioButton(QString::fromUtf16(caption), GroupBox1);
        auto* preview = new TPaintBox(tag, {57, 25}, GroupBox1);
        preview->OnPaint = [this](TPaintBox& sender, platform::Canvas& canvas) { PaintBox1Paint(sender, canvas); };
        FStyleGroup->addButton(button, tag);
        const int row = i % 4;
        const int column = (i / 4) * 2;
        styles->addWidget(button, row, column);
        styles->addWidget(preview, row, column + 1);
        StyleButtons.push_back(button);
        StylePreviews.push_back(preview);
    }
    StyleButtons[1]->setChecked(true);

    auto* colour = new QVBoxLayout(GroupBox3);
    colour->addWidget(lb_BrushColor, 0, Qt::AlignHCenter);
    colour->addWidget(Button1, 0, Qt::AlignHCenter);

    Button2->setEnabled(false);
    Image1->setFixedSize(32, 32);
    Image1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto* bitmap = new QVBoxLayout(GroupBox2);
    bitmap->addWidget(Image1, 0, Qt::AlignHCenter);
    bitmap->addWidget(Button2, 0, Qt::AlignHCenter);
    for (QPushButton* button : {Button1, Button2})
        button->setFixedWidth(60);

    auto* right = new QVBoxLayout;
    right->addWidget(GroupBox3);
    right->addWidget(GroupBox2);
    right->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(GroupBox1, 1, Qt::AlignTop);
    layout->addLayout(right);

    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
}

void Tfra_EditBrushProperty::LoadFromBrush(TMapBrush& brush)
{
    FBrush = &brush;
    lb_BrushColor->SetColor(brush.Color());
    SetStyle(static_cast<int>(brush.Style()));
    RepaintPreviews();
}

void Tfra_EditBrushProperty::SaveToBrush()
{
    if (!FBrush)
        return;
    FBrush->SetColor(lb_BrushColor->Color());
    FBrush->SetStyle(static_cast<platform::TBrushStyle>(GetStyle()));
}

int Tfra_EditBrushProperty::GetStyle() const
{
    for (QRadioButton* button : StyleButtons)
        if (button->isChecked())
            return FStyleGroup->id(button);
    return 0;
}

void Tfra_EditBrushProperty::SetStyle(int tag)
{
    for (QRadioButton* button : StyleButtons) {
        if (FStyleGroup->id(button) == tag) {
            button->setChecked(true);
            return;
        }
    }
}

void Tfra_EditBrushProperty::RepaintPreviews()
{
    for (TPaintBox* preview : StylePreviews)
        preview->update();
}

void Tfra_EditBrushProperty::PaintBox1Paint(TPaintBox& sender, platform::Canvas& canvas)
{
    canvas.Pen.Style = platform::TPenStyle::psClear;
    canvas.Brush.Color = lb_BrushColor->Color();
    canvas.Brush.Style = static_cast<platform::TBrushStyle>(sender.Tag());
    const QRect clip = canvas.ClipRect();
    canvas.Rectangle(clip.left(), clip.top(), clip.left() + clip.width(), clip.top() + clip.height());
}

void Tfra_EditBrushProperty::Button1Click()
{
    platform::TColor colour = lb_BrushColor->Color();
    if (ChooseColor(this, colour)) {
        lb_BrushColor->SetColor(colour);
        RepaintPreviews();
    }
}

} // namespace siteplan
