#include "apps/sitelay/file_dialogs.h"

#include <QColorDialog>
#include <QFileDialog>

namespace sitelay {

namespace {

const QString kPlanFilter = QStringLiteral("平面图文件(*.Plm)");

QString RunFileDialog(QWidget* window, QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(window);
    dialog.setAcceptMode(mode);
    dialog.setNameFilter(kPlanFilter);
    dialog.setDefaultSuffix(QStringLiteral("Plm"));
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().front();
}

} // namespace

QString TQtFileDialogs::OpenPlanFile()
{
    return RunFileDialog(window_, QFileDialog::AcceptOpen);
}

QString TQtFileDialogs::SavePlanFile()
{
    return RunFileDialog(window_, QFileDialog::AcceptSave);
}

std::optional<platform::TColor> TQtFileDialogs::ChooseColor(platform::TColor initial)
{
    const QColor color = QColorDialog::getColor(platform::ToQColor(initial), window_);
    if (!color.isValid())
        return std::nullopt;
    return platform::FromQColor(color);
}

} // namespace sitelay
