// Arrowplan: draws and schedules activity-on-arrow networks.
#include "apps/arrowplan/glide_wizard.h"
#include "apps/arrowplan/hint_window.h"
#include "apps/arrowplan/main_window.h"
#include "apps/arrowplan/preview_form.h"

#include "platform/qt/qt_window_services.h"
#include "platform/qt/toolkit_translation.h"

#include <QApplication>
#include <QScreen>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Arrowplan"));
    platform::InstallToolkitTranslation();
    platform::QtWindowServices::SetApplicationTitle(arrowplan::ApplicationTitle());
    // The wizard, the hint and the thumbnail outlive the main window, which
    // drives them.
    arrowplan::TFrmGlide glide;
    arrowplan::TFrmHint hint;
    arrowplan::Tfrm_PreviewForm thumbnail;
    arrowplan::TFrmMainOptions options;
    options.Glide = &glide;
    options.Hint = &hint;
    options.Thumbnail = &thumbnail;
    arrowplan::TFrmMain window(options);
    if (const QScreen* screen = window.screen()) {
        const QRect area = screen->availableGeometry();
        window.setGeometry(area);
        thumbnail.move(area.right() - thumbnail.width() - 40, area.top() + 66);
    }
    window.showMaximized();
    return QApplication::exec();
}
