#include "edit_picture.h"

#include "edit_pen_property.h"
#include "picture_image.h"

#include "platform/qt/qt_window_services.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QFrame>
#include <QGridLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include <exception>
#include <memory>

namespace siteplan {

TFrm_EditPicture::TFrm_EditPicture(QWidget* parent)
    : TFrm_EditProperty(parent),
      Panel2(new QFrame),
      Image1(new TPictureImage(Panel2)),
      ckb_ShowOutRect(new QCheckBox(QStringLiteral("显示外框矩形"))),
      ckb_Stretch(new QCheckBox(QStringLiteral("拉伸图片"))),
      Button1(new QPushButton(QStringLiteral("选择图片..."))),
      Button2(new QPushButton(QStringLiteral("清除图片"))),
      fra_EditPenProperty1(new Tfra_EditPenProperty)
{
    setWindowTitle(QStringLiteral("编辑图片属性"));

    Panel2->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel2->setFixedSize(240, 190);
    auto* panel = new QVBoxLayout(Panel2);
    panel->setContentsMargins(2, 2, 2, 2);
    panel->addWidget(Image1);
    ckb_Stretch->setEnabled(false);

    auto* controls = new QVBoxLayout;
    controls->addWidget(ckb_ShowOutRect);
    controls->addWidget(ckb_Stretch);
    controls->addStretch();
    controls->addWidget(Button1);
    controls->addWidget(Button2);
    auto* basic = new QWidget;
    auto* layout = new QHBoxLayout(basic);
    layout->addWidget(Panel2, 0, Qt::AlignTop);
    layout->addLayout(controls);
    AddTab(QStringLiteral("基本属性"), basic);
    AddTab(QStringLiteral("外框设置"), fra_EditPenProperty1);

    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
    connect(ckb_Stretch, &QCheckBox::toggled, this, [this] { ckb_StretchClick(); });
}

void TFrm_EditPicture::LoadFrom(TMapPen& pen, const platform::TPicture& picture, bool showOutRect, bool stretch)
{
    fra_EditPenProperty1->LoadFromPen(pen);
    Image1->SetPicture(picture);
    ckb_ShowOutRect->setChecked(showOutRect);
    ckb_Stretch->setChecked(stretch);
    Image1->SetStretch(stretch);
}

void TFrm_EditPicture::SaveTo(platform::TPicture& picture, bool& showOutRect)
{
    fra_EditPenProperty1->SaveToPen();
    showOutRect = ckb_ShowOutRect->isChecked();
    picture = Image1->Picture();
}

bool TFrm_EditPicture::LoadPictureFile(const QString& fileName)
{
    QString message;
    try {
        Image1->Picture().LoadFromFile(fileName);
        Image1->update();
        return true;
    } catch (const platform::EPictureError& error) {
        message = error.Message();
    } catch (const std::exception& error) {
        message = QString::fromLocal8Bit(error.what());
    }
    // The program's own message box, whose button reads "确定".
    platform::QtWindowServices(this).ShowError(message);
    return false;
}

bool ChoosePictureFile(QWidget* parent, QString& fileName)
{
    QFileDialog dialog(parent);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setWindowTitle(QStringLiteral("打开图片"));
    dialog.setLabelText(QFileDialog::LookIn, QStringLiteral("查找范围："));
    dialog.setLabelText(QFileDialog::FileName, QStringLiteral("文件名："));
    dialog.setLabelText(QFileDialog::FileType, QStringLiteral("文件类型："));
    dialog.setLabelText(QFileDialog::Accept, QStringLiteral("打开"));
    dialog.setLabelText(QFileDialog::Reject, QStringLiteral("取消"));
    dialog.setNameFilters({QStringLiteral("图片文件 (*.bmp *.ico *.emf *.wmf *.jpg *.jpeg)"),
                           QStringLiteral("位图 (*.bmp)"), QStringLiteral("图标 (*.ico)"),
                           QStringLiteral("图元文件 (*.emf *.wmf)"), QStringLiteral("JPEG 图像 (*.jpg *.jpeg)"),
                           QStringLiteral("所有文件 (*)")});
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    fileName = dialog.selectedFiles().front();
    return true;
}

void TFrm_EditPicture::Button1Click()
{
    QString fileName;
    if (ChoosePictureFile(this, fileName))
        LoadPictureFile(fileName);
}

void TFrm_EditPicture::Button2Click()
{
    Image1->Picture().Clear();
    Image1->update();
}

void TFrm_EditPicture::ckb_StretchClick()
{
    Image1->SetStretch(ckb_Stretch->isChecked());
}

bool ExecuteEditPicture(TMapPen& pen, platform::TPicture& picture, bool& showOutRect, bool stretch)
{
    const auto form = std::make_unique<TFrm_EditPicture>(DialogParent());
    form->LoadFrom(pen, picture, showOutRect, stretch);
    if (!ShowModalOk(*form))
        return false;
    form->SaveTo(picture, showOutRect);
    return true;
}

} // namespace siteplan
