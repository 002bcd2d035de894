#include "apps/arrowplan/file_dialogs.h"

#include <QDir>
#include <QFileDialog>

namespace arrowplan {

namespace {

const QString kNetworkFilter = QStringLiteral("网络图文件(*.nwm)");

QString RunFileDialog(QWidget* window, QFileDialog::AcceptMode mode, const QString& folder)
{
    const bool open = mode == QFileDialog::AcceptOpen;
    QFileDialog dialog(window, open ? QStringLiteral("打开网络图文件") : QStringLiteral("保存网络图文件"));
    dialog.setAcceptMode(mode);
    dialog.setNameFilter(kNetworkFilter);
    dialog.setDefaultSuffix(QStringLiteral("nwm"));
    dialog.setFileMode(open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (QDir(folder).exists())
        dialog.setDirectory(folder);
    if (!open)
        dialog.selectFile(QStringLiteral("网络图"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().front();
}

} // namespace

QString TQtFileDialogs::OpenNetworkFile(const QString& folder)
{
    return RunFileDialog(window_, QFileDialog::AcceptOpen, folder);
}

QString TQtFileDialogs::SaveNetworkFile(const QString& folder)
{
    return RunFileDialog(window_, QFileDialog::AcceptSave, folder);
}

} // namespace arrowplan
