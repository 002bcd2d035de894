#include "fonts.h"

#include "numbers.h"

#include <QFontDatabase>
#include <QStringList>

#include <cstdlib>
#include <mutex>

namespace platform {

namespace {

// Installed families tried in order; the first one present is used.
QString InstalledCjkFamily()
{
    const QStringList preferred = {
        QStringLiteral("WenQuanYi Zen Hei"),
        QStringLiteral("AR PL UMing CN"),
        QStringLiteral("AR PL SungtiL GB"),
        QStringLiteral("Noto Serif CJK SC"),
        QStringLiteral("Noto Sans CJK SC"),
        QStringLiteral("Droid Sans Fallback"),
    };
    const QStringList installed = QFontDatabase::families(QFontDatabase::SimplifiedChinese);
    for (const QString& family : preferred) {
        if (installed.contains(family, Qt::CaseInsensitive))
            return family;
    }
    return installed.isEmpty() ? QString() : installed.front();
}

} // namespace

void InstallFontSubstitutes()
{
    static std::once_flag once;
    std::call_once(once, [] {
        const QString family = InstalledCjkFamily();
        if (family.isEmpty())
            return;
        const QStringList storedNames = {
            QStringLiteral("宋体"),   QStringLiteral("新宋体"), QStringLiteral("黑体"),
            QStringLiteral("楷体"),   QStringLiteral("楷体_GB2312"), QStringLiteral("仿宋"),
            QStringLiteral("仿宋_GB2312"), QStringLiteral("隶书"), QStringLiteral("幼圆"),
           
            QStringLiteral("SimSun"), QStringLiteral("NSimSun"), QStringLiteral("SimHei"),
            QStringLiteral("KaiTi"), QStringLiteral("FangSong"), QStringLiteral("LiSu"),
            QStringLiteral("YouYuan"),
        };
        for (const QString& name : storedNames) {
            if (!QFontDatabase::hasFamily(name))
                QFont::insertSubstitution(name, family);
        }
    });
}

QFont ToQFont(const TFont& font, int pixelsPerInch)
{
    QFont result(font.Name);
    const int pixels = MulDiv(std::abs(font.Size), pixelsPerInch, 72);
    result.setPixelSize(pixels > 0 ? pixels : 1);
    result.setBold((font.Style & fsBold) != 0);
    result.setItalic((font.Style & fsItalic) != 0);
    result.setUnderline((font.Style & fsUnderline) != 0);
    result.setStrikeOut((font.Style & fsStrikeOut) != 0);
    result.setStyleStrategy(QFont::NoAntialias);
    result.setKerning(false);
    return result;
}

} // namespace platform
