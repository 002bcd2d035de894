#include "apps/arrowplan/preview_form.h"

#include "platform/painter_canvas.h"

#include <QCloseEvent>
#include <QPainter>

namespace arrowplan {

Tfrm_PreviewForm::Tfrm_PreviewForm(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setWindowTitle(QStringLiteral("网络图略图"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setGeometry(528, 66, 253, 227);
}

void Tfrm_PreviewForm::SetPicture(const platform::TPicture& metafile)
{
    picture_ = metafile;
    update();
}

void Tfrm_PreviewForm::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    platform::PainterCanvas canvas(painter);
    picture_.Draw(canvas, rect());
}

void Tfrm_PreviewForm::closeEvent(QCloseEvent* event)
{
    event->accept();
    if (OnClosed)
        OnClosed();
}

} // namespace arrowplan
