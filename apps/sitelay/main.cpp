// Sitelay: draws the site plan of a construction site at 1 : N.
#include "apps/sitelay/main_window.h"
#include "apps/sitelay/resource_images.h"

#include "platform/qt/qt_window_services.h"
#include "platform/qt/toolkit_translation.h"

#include <QApplication>
#include <QScreen>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Sitelay"));
    platform::InstallToolkitTranslation();
    platform::QtWindowServices::SetApplicationTitle(sitelay::ApplicationTitle());
    sitelay::RegisterProgramCursors();
    sitelay::TForm1 window;
    // Where no window manager maximises it, the window still fills the screen.
    if (const QScreen* screen = window.screen())
        window.setGeometry(screen->availableGeometry());
    window.showMaximized();
    return QApplication::exec();
}
