// The picture-box dialog "编辑图片属性": the picture with its preview, the
// frame switch, the stretch switch (shown, not changeable) and the frame
// pen. A picture file that cannot be read is reported and the dialog stays
// open with the picture it had.
#pragma once

#include "edit_property.h"

class QCheckBox;
class QFrame;
class QPushButton;

namespace platform {
class TPicture;
}

namespace siteplan {

class TMapPen;
class TPictureImage;
class Tfra_EditPenProperty;

class TFrm_EditPicture : public TFrm_EditProperty {
public:
    explicit TFrm_EditPicture(QWidget* parent = nullptr);

    void LoadFrom(TMapPen& pen, const platform::TPicture& picture, bool showOutRect, bool stretch);
    // Pen, frame switch, then the picture.
    void SaveTo(platform::TPicture& picture, bool& showOutRect);

    // Image1 reads the file; false, after the message, when it cannot.
    bool LoadPictureFile(const QString& fileName);

    QFrame* Panel2;
    TPictureImage* Image1;
    QCheckBox* ckb_ShowOutRect;
    QCheckBox* ckb_Stretch;
    QPushButton* Button1;
    QPushButton* Button2;
    Tfra_EditPenProperty* fra_EditPenProperty1;

private:
    void Button1Click();
    void Button2Click();
    void ckb_StretchClick();
};

bool ExecuteEditPicture(TMapPen& pen, platform::TPicture& picture, bool& showOutRect, bool stretch);

// The open-picture dialog "打开图片" over the picture formats; true with the
// chosen file on OK.
bool ChoosePictureFile(QWidget* parent, QString& fileName);

} // namespace siteplan
