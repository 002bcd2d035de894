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

bool Tfrm_PreviewForm::event(QEvent* event)
{
    if (event->type() == QEvent::WindowBlocked && isVisible()) {
        hiddenByModal_ = true;
        hide();
    } else if (event->type() == QEvent::WindowUnblocked && hiddenByModal_) {
        hiddenByModal_ = false;
        show();
    }
    return QWidget::event(event);
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
