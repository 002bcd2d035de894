#include "apps/sitelay/methods_panel.h"

#include "apps/sitelay/resource_images.h"

#include "siteplan/plane_map.h"
#include "siteplan/vyr_map_com.h"

#include <QToolButton>

namespace sitelay {

namespace {

constexpr int kButtonWidth = 23;
constexpr int kButtonHeight = 22;

} // namespace

TMethodsPanle::TMethodsPanle(QWidget* parent) : QWidget(parent)
{
    setFixedWidth(28);
}

void TMethodsPanle::SetMapCom(siteplan::TVyrMapCom* shape)
{
    if (shape && shape == FMapCom)
        return;
    // Disarm in the plan of the shape shown so far: the plan would keep
    // the method armed for the next shape otherwise.
    SelectMethod(-1);
    FMapCom = shape;
    RebuildButtons(shape ? shape->MethodCount : 0);
}

void TMethodsPanle::RebuildButtons(int count)
{
    SelectMethod(-1);
    count = std::max(count, 0);
    while (FButtonCount > count) {
        --FButtonCount;
        FButtons.back()->hide();
        FButtons.back()->deleteLater();
        FButtons.pop_back();
    }
    for (int i = FButtonCount; i < count; ++i) {
        auto* button = new QToolButton(this);
        button->setGeometry(2, (kButtonHeight + 1) * i + 2, kButtonWidth, kButtonHeight);
        button->setCheckable(true);
        button->setAutoRaise(true);
        button->setProperty("Tag", i);
        connect(button, &QToolButton::clicked, this, [this, button] { MethodButtonClick(button); });
        button->show();
        FButtons.push_back(button);
    }
    FButtonCount = count;
    for (int i = 0; i < count; ++i) {
        QToolButton* button = FButtons[static_cast<std::size_t>(i)];
        const QPixmap glyph = FMapCom ? ResourceBitmap(FMapCom->GetMethodBitmap(i)) : QPixmap();
        button->setIcon(glyph.isNull() ? QIcon() : QIcon(glyph));
        button->setToolTip(FMapCom ? FMapCom->GetMethodHint(i) : QString());
        button->setChecked(false);
    }
}

void TMethodsPanle::SelectMethod(int index)
{
    if (index == FMethodIndex)
        return;
    if (FMethodIndex >= 0 && FMethodIndex < FButtonCount)
        FButtons[static_cast<std::size_t>(FMethodIndex)]->setChecked(false);
    FMethodIndex = index;
    if (FMethodIndex >= 0 && FMethodIndex < FButtonCount)
        FButtons[static_cast<std::size_t>(FMethodIndex)]->setChecked(true);
    if (FMapCom && FMapCom->PlaneMap())
        FMapCom->PlaneMap()->SetEditMethod(FMethodIndex);
}

void TMethodsPanle::MethodButtonClick(QToolButton* button)
{
    SelectMethod(button->isChecked() ? button->property("Tag").toInt() : -1);
    if (OnSelectTool)
        OnSelectTool();
}

} // namespace sitelay
