#include "edit_property.h"

#include "platform/fonts.h"
#include "platform/qt/fixed_dialog_border.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>
#include <QVBoxLayout>

namespace siteplan {

TFrm_EditProperty::TFrm_EditProperty(QWidget* parent)
    : QDialog(parent),
      PageControl1(new QTabWidget(this)),
      Panel1(new QWidget(this)),
      bbtn_OK(new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("确认"), Panel1)),
      bbtn_Cancel(new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton), QStringLiteral("取消"), Panel1))
{
    platform::InstallFontSubstitutes();
    platform::UseFixedDialogBorder(*this);
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(12);
    setFont(font);
    setFixedSize(448, 299);

    Panel1->setFixedHeight(41);
    bbtn_OK->setDefault(true);
    for (QPushButton* button : {bbtn_OK, bbtn_Cancel})
        button->setFixedSize(75, 25);
    auto* buttons = new QHBoxLayout(Panel1);
    buttons->setContentsMargins(8, 8, 8, 8);
    buttons->addStretch();
    buttons->addWidget(bbtn_OK);
    buttons->addSpacing(8);
    buttons->addWidget(bbtn_Cancel);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 0);
    layout->setSpacing(0);
    layout->addWidget(PageControl1);
    layout->addWidget(Panel1);

    connect(bbtn_OK, &QPushButton::clicked, this, &QDialog::accept);
    connect(bbtn_Cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TFrm_EditProperty::AddTab(const QString& caption, QWidget* content)
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(content);
    PageControl1->addTab(page, caption);
}

bool ShowModalOk(TFrm_EditProperty& form)
{
    return form.exec() == QDialog::Accepted;
}

QWidget* DialogParent()
{
    return QApplication::activeWindow();
}

} // namespace siteplan
