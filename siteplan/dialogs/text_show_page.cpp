#include "text_show_page.h"

#include "font_panel.h"
#include "radio_group.h"

#include "siteplan/text_show_set.h"

#include <QGridLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace siteplan {

TTextShowPage::TTextShowPage(QWidget* top, QWidget* parent)
    : QWidget(parent),
      rgp_HorzAlign(new TRadioGroup(QStringLiteral("水平对齐方式"),
                                    {QStringLiteral("左对齐"), QStringLiteral("居中"), QStringLiteral("右对齐")}, this)),
      rgp_VertAlign(new TRadioGroup(QStringLiteral("垂直对齐方式"),
                                    {QStringLiteral("上对齐"), QStringLiteral("居中"), QStringLiteral("下对齐")}, this)),
      Button1(new QPushButton(QStringLiteral("字体..."), this)),
      pnl_Font(new TFontPanel(this))
{
    rgp_HorzAlign->setFixedWidth(120);
    rgp_VertAlign->setFixedWidth(120);
    pnl_Font->setFixedSize(150, 90);
    auto* font = new QVBoxLayout;
    font->addWidget(Button1, 0, Qt::AlignLeft);
    font->addWidget(pnl_Font);
    font->addStretch();

    auto* grid = new QGridLayout;
    grid->addWidget(rgp_HorzAlign, 0, 0);
    grid->addWidget(rgp_VertAlign, 0, 1);
    grid->addLayout(font, 0, 2);
    grid->setColumnStretch(3, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    if (top)
        layout->addWidget(top);
    layout->addLayout(grid);
    layout->addStretch();

    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
}

void TTextShowPage::LoadFrom(const TTextShowSet& textShow)
{
    pnl_Font->SetFont(textShow.Font);
    rgp_HorzAlign->SetItemIndex(textShow.HorzAlign());
    rgp_VertAlign->SetItemIndex(textShow.VertAlign());
}

void TTextShowPage::SaveTo(TTextShowSet& textShow) const
{
    textShow.Font = pnl_Font->Font();
    if (rgp_HorzAlign->ItemIndex() >= 0)
        textShow.SetHorzAlign(static_cast<std::int16_t>(rgp_HorzAlign->ItemIndex()));
    if (rgp_VertAlign->ItemIndex() >= 0)
        textShow.SetVertAlign(static_cast<std::int16_t>(rgp_VertAlign->ItemIndex()));
}

void TTextShowPage::Button1Click()
{
    platform::TFont font = pnl_Font->Font();
    if (ChooseFont(this, font))
        pnl_Font->SetFont(font);
}

} // namespace siteplan
