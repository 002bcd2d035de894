#include "font_panel.h"

#include "chinese_texts.h"

#include "platform/fonts.h"

#include <QFontDialog>
#include <QFontInfo>
#include <QLabel>
#include <QVBoxLayout>

namespace siteplan {

namespace {

// The font as the font dialog shows it: in points, not pixels, and under
// the installed family that stands in for a stored face name, which the
// dialog's list of families does not hold.
QFont ToDialogFont(const platform::TFont& font)
{
    QFont result(QFontInfo(QFont(font.Name)).family());
    result.setPointSize(font.Size > 0 ? font.Size : 1);
    result.setBold((font.Style & platform::fsBold) != 0);
    result.setItalic((font.Style & platform::fsItalic) != 0);
    result.setUnderline((font.Style & platform::fsUnderline) != 0);
    result.setStrikeOut((font.Style & platform::fsStrikeOut) != 0);
    return result;
}

} // namespace

TFontPanel::TFontPanel(QWidget* parent) : QFrame(parent), FSample(new QLabel(QStringLiteral("中华民族"), this))
{
    platform::InstallFontSubstitutes();
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    FSample->setAlignment(Qt::AlignCenter);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(FSample);
    SetFont(FFont);
}

void TFontPanel::SetFont(const platform::TFont& font)
{
    FFont = font;
    platform::TFont upright = font;
    upright.Escapement = 0;
    FSample->setFont(platform::ToQFont(upright, logicalDpiY()));
    QPalette palette = FSample->palette();
    palette.setColor(QPalette::WindowText, platform::ToQColor(font.Color));
    FSample->setPalette(palette);
}

bool ChooseFont(QWidget* parent, platform::TFont& font)
{
    QFontDialog dialog(ToDialogFont(font), parent);
    dialog.setOption(QFontDialog::DontUseNativeDialog);
    UseChineseTexts(dialog, QStringLiteral("字体"));
    if (dialog.exec() != QDialog::Accepted)
        return false;
    const QFont chosen = dialog.selectedFont();
    // A stored face name that an installed font stands in for ("宋体")
    // comes back as that font's family: keep the stored name then.
    if (chosen.family() != ToDialogFont(font).family())
        font.Name = chosen.family();
    if (chosen.pointSize() > 0)
        font.Size = chosen.pointSize();
    platform::TFontStyles style = 0;
    if (chosen.bold())
        style |= platform::fsBold;
    if (chosen.italic())
        style |= platform::fsItalic;
    if (chosen.underline())
        style |= platform::fsUnderline;
    if (chosen.strikeOut())
        style |= platform::fsStrikeOut;
    font.Style = style;
    return true;
}

} // namespace siteplan
