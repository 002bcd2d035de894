#include "chinese_texts.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>

namespace siteplan {

void UseChineseTexts(QDialog& dialog, const QString& title)
{
    dialog.setWindowTitle(title);
    for (QDialogButtonBox* box : dialog.findChildren<QDialogButtonBox*>()) {
        if (QPushButton* ok = box->button(QDialogButtonBox::Ok))
            ok->setText(QStringLiteral("确定"));
        if (QPushButton* cancel = box->button(QDialogButtonBox::Cancel))
            cancel->setText(QStringLiteral("取消"));
    }
}

} // namespace siteplan
