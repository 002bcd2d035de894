#include "apps/sitelay/add_legend.h"

#include "apps/sitelay/legend_prompts.h"
#include "apps/sitelay/main_window.h"

#include "siteplan/legends/legend_item.h"

#include "platform/painter_canvas.h"
#include "platform/qt/fixed_dialog_border.h"
#include "platform/window_services.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace sitelay {

namespace {

constexpr int kPanelLeft = 240;
constexpr int kPanelTop = 16;
constexpr int kPanelSize = 185;

// The picture at its own size, shrunk to fit the panel when larger.
QPixmap PreviewOf(const platform::TPicture& picture, int room)
{
    if (picture.Empty())
        return {};
    QSize size(std::max(1, picture.Width()), std::max(1, picture.Height()));
    if (size.width() > room || size.height() > room)
        size.scale(room, room, Qt::KeepAspectRatio);
    QImage image(size.expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        platform::PainterCanvas canvas(image);
        picture.Draw(canvas, QRect(QPoint(0, 0), image.size()));
    }
    return QPixmap::fromImage(image);
}

} // namespace

Tfrm_AddLegend::Tfrm_AddLegend(platform::WindowServices& messages, TLegendPrompts& prompts, QWidget* parent)
    : QDialog(parent), FMessages(messages), FPrompts(prompts)
{
    platform::UseFixedDialogBorder(*this);
    setWindowTitle(ApplicationTitle());
    QFont dialogFont(QStringLiteral("宋体"));
    dialogFont.setPixelSize(12);
    setFont(dialogFont);
    setFixedSize(443, 257);

    auto* pageLabel = new QLabel(QStringLiteral("所在页："), this);
    pageLabel->setGeometry(16, 24, 72, 16);
    ComboBox1 = new QComboBox(this);
    ComboBox1->setGeometry(88, 20, 137, 22);
    auto* nameLabel = new QLabel(QStringLiteral("图例名称："), this);
    nameLabel->setGeometry(16, 64, 72, 16);
    Edit1 = new QLineEdit(this);
    Edit1->setGeometry(88, 60, 137, 22);
    CheckBox1 = new QCheckBox(QStringLiteral("显示"), this);
    CheckBox1->setGeometry(88, 100, 97, 17);
    Button2 = new QPushButton(QStringLiteral("调入图例图形..."), this);
    Button2->setGeometry(88, 140, 137, 25);

    auto* panel = new QFrame(this);
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    panel->setGeometry(kPanelLeft, kPanelTop, kPanelSize, kPanelSize);
    auto* panelLayout = new QVBoxLayout(panel);
    panelLayout->setContentsMargins(2, 2, 2, 2);
    Image2 = new QLabel(panel);
    Image2->setAlignment(Qt::AlignCenter);
    panelLayout->addWidget(Image2);

    BitBtn1 = new QPushButton(QStringLiteral("确认"), this);
    BitBtn1->setGeometry(264, 220, 75, 25);
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(QStringLiteral("取消"), this);
    BitBtn2->setGeometry(352, 220, 75, 25);

    connect(BitBtn1, &QPushButton::clicked, this, &Tfrm_AddLegend::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
    connect(Button2, &QPushButton::clicked, this, &Tfrm_AddLegend::Button2Click);
}

void Tfrm_AddLegend::LoadItem(const QStringList& pages, const legends::TLegendItem& item)
{
    ComboBox1->clear();
    ComboBox1->addItems(pages);
    ComboBox1->setCurrentIndex(static_cast<int>(pages.indexOf(item.ShowPanel())));
    SetPicture(item.Picture());
    Edit1->setText(item.MapHint());
    CheckBox1->setChecked(item.Visible());
}

void Tfrm_AddLegend::SetPicture(const platform::TPicture& picture)
{
    FPicture = picture;
    Image2->setPixmap(PreviewOf(FPicture, kPanelSize - 8));
}

bool Tfrm_AddLegend::Refuse(QWidget* field, const QString& message)
{
    FMessages.ShowError(message);
    field->setFocus();
    if (auto* edit = qobject_cast<QLineEdit*>(field))
        edit->selectAll();
    return false;
}

bool Tfrm_AddLegend::CheckFields()
{
    if (ComboBox1->currentIndex() < 0)
        return Refuse(ComboBox1, QStringLiteral("必须选择显示页！"));
    // The text is read again here: a paste may have put anything there.
    const QString name = Edit1->text();
    if (name.trimmed().isEmpty())
        return Refuse(Edit1, QStringLiteral("必须输入图例名称！"));
    if (!StorableText(name))
        return Refuse(Edit1, QStringLiteral("图例名称中有图例库无法保存的字符，请修改。"));
    if (FPicture.Empty())
        return Refuse(Button2, QStringLiteral("必须选择图例！"));
    return true;
}

void Tfrm_AddLegend::BitBtn1Click()
{
    if (CheckFields())
        accept();
}

bool Tfrm_AddLegend::ApplyToItem(legends::TLegendItem& item)
{
    if (!CheckFields())
        return false;
    item.SetShowPanel(ComboBox1->currentText());
    item.SetPicture(FPicture);
    item.SetMapHint(Edit1->text());
    item.SetVisible(CheckBox1->isChecked());
    return true;
}

void Tfrm_AddLegend::Button2Click()
{
    const QString fileName = FPrompts.OpenPictureFile(this);
    if (fileName.isEmpty())
        return;
    platform::TPicture picture;
    try {
        picture.LoadFromFile(fileName);
    } catch (const platform::EPictureError& e) {
        FMessages.ShowError(e.Message());
        return;
    }
    SetPicture(picture);
}

bool ExecuteAddLegend(const QStringList& pages, legends::TLegendItem& item, platform::WindowServices& messages,
                      TLegendPrompts& prompts, QWidget* parent)
{
    Tfrm_AddLegend dialog(messages, prompts, parent);
    dialog.LoadItem(pages, item);
    return dialog.exec() == QDialog::Accepted && dialog.ApplyToItem(item);
}

} // namespace sitelay
