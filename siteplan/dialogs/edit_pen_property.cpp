#include "edit_pen_property.h"

#include "color_swatch.h"

#include "platform/fonts.h"

#include "siteplan/map_pen.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace siteplan {

TUpDown::TUpDown(QWidget* parent) : QSpinBox(parent)
{
    lineEdit()->setReadOnly(true);
}

Tfra_EditPenProperty::Tfra_EditPenProperty(QWidget* parent)
    : QWidget(parent),
      ud_PenWidth(new TUpDown(this)),
      Edit1(ud_PenWidth->Edit()),
      GroupBox1(new QGroupBox(QStringLiteral("线条类型"), this)),
      GroupBox2(new QGroupBox(QStringLiteral("线条颜色"), this)),
      lb_PenColor(new TColorSwatch({137, 81}, GroupBox2)),
      Button1(new QPushButton(QStringLiteral("颜色..."), GroupBox2)),
      FStyleGroup(new QButtonGroup(this))
{
    platform::InstallFontSubstitutes();
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(12);
    setFont(font);

    ud_PenWidth->setRange(1, 50);
    ud_PenWidth->SetPosition(1);
    ud_PenWidth->setFixedWidth(60);
    auto* widthRow = new QHBoxLayout;
    widthRow->addWidget(new QLabel(QStringLiteral("线条宽度："), this));
    widthRow->addWidget(ud_PenWidth);
    widthRow->addWidget(new QLabel(QStringLiteral("（象素）"), this));
    widthRow->addStretch();

    const QStringList captions = {QStringLiteral("实线"), QStringLiteral("虚线"), QStringLiteral("点线"),
                                  QStringLiteral("点划线"), QStringLiteral("双点划线"), QStringLiteral("无"),
                                  QStringLiteral("内实线")};
    auto* styles = new QGridLayout(GroupBox1);
    styles->setVerticalSpacing(4);
    for (int tag = 0; tag < captions.size(); ++tag) {
        auto* button = new QRadioButton(captions[tag], GroupBox1);
        auto* preview = new TPaintBox(tag, {90, 17}, GroupBox1);
        preview->OnPaint = [this](TPaintBox& sender, platform::Canvas& canvas) { PaintBox1Paint(sender, canvas); };
        FStyleGroup->addButton(button, tag);
        styles->addWidget(button, tag, 0);
        styles->addWidget(preview, tag, 1);
        StyleButtons.push_back(button);
        StylePreviews.push_back(preview);
    }
    StyleButtons.front()->setChecked(true);

    auto* colour = new QVBoxLayout(GroupBox2);
    colour->addWidget(lb_PenColor, 0, Qt::AlignHCenter);
    colour->addWidget(Button1, 0, Qt::AlignHCenter);
    colour->addStretch();

    auto* groups = new QHBoxLayout;
    groups->addWidget(GroupBox1);
    groups->addWidget(GroupBox2, 0, Qt::AlignTop);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(widthRow);
    layout->addLayout(groups);
    layout->addStretch();

    connect(ud_PenWidth, &QSpinBox::valueChanged, this, [this] { RepaintPreviews(); });
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
}

void Tfra_EditPenProperty::LoadFromPen(TMapPen& pen)
{
    FPen = &pen;
    lb_PenColor->SetColor(pen.Color());
    ud_PenWidth->SetPosition(pen.Width());
    SetStyle(static_cast<int>(pen.Style()));
    RepaintPreviews();
}

void Tfra_EditPenProperty::SaveToPen()
{
    if (!FPen)
        return;
    FPen->SetColor(lb_PenColor->Color());
    FPen->SetWidth(ud_PenWidth->Position());
    FPen->SetStyle(static_cast<platform::TPenStyle>(GetStyle()));
}

int Tfra_EditPenProperty::GetStyle() const
{
    for (QRadioButton* button : StyleButtons)
        if (button->isChecked())
            return FStyleGroup->id(button);
    return 0;
}

void Tfra_EditPenProperty::SetStyle(int tag)
{
    for (QRadioButton* button : StyleButtons) {
        if (FStyleGroup->id(button) == tag) {
            button->setChecked(true);
            return;
        }
    }
}

void Tfra_EditPenProperty::RepaintPreviews()
{
    for (TPaintBox* preview : StylePreviews)
        preview->update();
}

void Tfra_EditPenProperty::PaintBox1Paint(TPaintBox& sender, platform::Canvas& canvas)
{
    canvas.FillRect(canvas.ClipRect());
    canvas.Pen.Style = static_cast<platform::TPenStyle>(sender.Tag());
    canvas.Pen.Color = lb_PenColor->Color();
    canvas.Pen.Width = ud_PenWidth->Position();
    canvas.MoveTo(0, sender.height() / 2);
    canvas.LineTo(sender.width(), sender.height() / 2);
}

void Tfra_EditPenProperty::Button1Click()
{
    platform::TColor colour = lb_PenColor->Color();
    if (ChooseColor(this, colour)) {
        lb_PenColor->SetColor(colour);
        RepaintPreviews();
    }
}

} // namespace siteplan
