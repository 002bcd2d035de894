#include "color_swatch.h"

#include "chinese_texts.h"

#include <QColorDialog>
#include <QPainter>

namespace siteplan {

TColorSwatch::TColorSwatch(QSize size, QWidget* parent) : QFrame(parent)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setFixedSize(size);
}

void TColorSwatch::SetColor(platform::TColor color)
{
    FColor = color;
    update();
}

void TColorSwatch::paintEvent(QPaintEvent* event)
{
    {
        QPainter painter(this);
        painter.fillRect(contentsRect(), platform::ToQColor(FColor));
    }
    QFrame::paintEvent(event);
}

bool ChooseColor(QWidget* parent, platform::TColor& color)
{
    QColorDialog dialog(platform::ToQColor(color), parent);
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    UseChineseTexts(dialog, QStringLiteral("颜色"));
    if (dialog.exec() != QDialog::Accepted)
        return false;
    color = platform::FromQColor(dialog.selectedColor());
    return true;
}

} // namespace siteplan
