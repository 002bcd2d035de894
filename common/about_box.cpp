#include "common/about_box.h"

#include "platform/qt/fixed_dialog_border.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace common {

namespace {

QLabel* NavyLabel(const QString& text, int pixelHeight, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(pixelHeight);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(0, 0, 128));
    label->setPalette(palette);
    return label;
}

} // namespace

AboutBoxContent AboutBoxContent::Sitelay()
{
    return {QPixmap(), QStringLiteral("朔衡zevavev"), QStringLiteral("版本 V1.5")};
}

AboutBoxContent AboutBoxContent::Arrowplan()
{
    return {QPixmap(), QStringLiteral("dodiridezu"), QStringLiteral("版本 V3.0")};
}

TAboutBox::TAboutBox(const AboutBoxContent& content, QWidget* parent) : QDialog(parent)
{
    platform::UseFixedDialogBorder(*this);
    setWindowTitle(QStringLiteral("关于系统..."));
    setFixedSize(358, 182);

    auto* panel = new QFrame(this);
    panel->setFrameStyle(QFrame::Box | QFrame::Sunken); // lowered outside, raised inside
    panel->setGeometry(8, 8, 345, 137);

    programIcon_ = new QLabel(panel);
    programIcon_->setGeometry(8, 8, 65, 57);
    programIcon_->setScaledContents(true);
    programIcon_->setPixmap(content.picture.isNull() ? QApplication::windowIcon().pixmap(65, 57) : content.picture);

    productName_ = NavyLabel(content.productName, 16, panel);
    productName_->setGeometry(88, 12, 249, 20);
    version_ = NavyLabel(content.version, 16, panel);
    version_->setGeometry(88, 38, 249, 20);
    QLabel* maker = NavyLabel(QStringLiteral("工地规划工具开发组 编制"), 16, panel);
    maker->setGeometry(88, 64, 249, 20);
    QLabel* os = NavyLabel(QStringLiteral("通信地址、电话：请向软件提供者询问"), 12, panel);
    os->setGeometry(8, 92, 329, 16);
    QLabel* label1 = NavyLabel(QStringLiteral("网址、电子邮件：请向软件提供者询问"), 12, panel);
    label1->setGeometry(8, 112, 329, 16);

    okButton_ = new QPushButton(QStringLiteral("OK"), this);
    okButton_->setGeometry(141, 151, 75, 25);
    okButton_->setDefault(true);
    connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);
}

void ShowAboutBox(const AboutBoxContent& content, QWidget* parent)
{
    TAboutBox box(content, parent ? parent->window() : nullptr);
    if (const QScreen* screen = box.screen())
        box.move(screen->availableGeometry().center() - box.rect().center());
    box.exec();
}

} // namespace common
