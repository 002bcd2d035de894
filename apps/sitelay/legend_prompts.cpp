#include "apps/sitelay/legend_prompts.h"

#include "apps/sitelay/main_window.h"

#include "platform/gbk_text.h"

#include <QFileDialog>
#include <QInputDialog>

namespace sitelay {

namespace {

class TQtLegendPrompts final : public TLegendPrompts {
public:
    std::optional<QString> InputText(QWidget* parent, const QString& prompt, const QString& initial) override
    {
        bool ok = false;
        const QString text = QInputDialog::getText(parent, ApplicationTitle(), prompt, QLineEdit::Normal, initial, &ok);
        if (!ok)
            return std::nullopt;
        return text;
    }

    QString OpenPictureFile(QWidget* parent) override
    {
        return QFileDialog::getOpenFileName(
            parent, QString(), QString(),
            QStringLiteral("所有图片 (*.bmp *.ico *.emf *.wmf *.jpg *.jpeg);;位图 (*.bmp);;图标 (*.ico);;"
                           "增强型图元文件 (*.emf);;图元文件 (*.wmf);;JPEG 图像 (*.jpg *.jpeg)"));
    }
};

} // namespace

TLegendPrompts& QtLegendPrompts()
{
    static TQtLegendPrompts prompts;
    return prompts;
}

bool StorableText(const QString& text)
{
    return platform::FromGbk(platform::ToGbk(text)) == text;
}

} // namespace sitelay
