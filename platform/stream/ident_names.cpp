#include "ident_names.h"

#include "platform/colors.h"

#include <span>

namespace stream {

namespace {

struct NamedValue {
    std::int32_t value;
    const char* name;
};

using namespace platform;

// The first entry with a value is the name it is written under; later
// entries with the same value are accepted when reading.
constexpr NamedValue colorTable[] = {
    {clBlack, "clBlack"}, {clMaroon, "clMaroon"}, {clGreen, "clGreen"}, {clOlive, "clOlive"},
    {clNavy, "clNavy"}, {clPurple, "clPurple"}, {clTeal, "clTeal"}, {clGray, "clGray"},
    {clSilver, "clSilver"}, {clRed, "clRed"}, {clLime, "clLime"}, {clYellow, "clYellow"},
    {clBlue, "clBlue"}, {clFuchsia, "clFuchsia"}, {clAqua, "clAqua"}, {clWhite, "clWhite"},
    {clScrollBar, "clScrollBar"}, {clBackground, "clBackground"},
    {clActiveCaption, "clActiveCaption"}, {clInactiveCaption, "clInactiveCaption"},
    {clMenu, "clMenu"}, {clWindow, "clWindow"}, {clWindowFrame, "clWindowFrame"},
    {clMenuText, "clMenuText"}, {clWindowText, "clWindowText"}, {clCaptionText, "clCaptionText"},
    {clActiveBorder, "clActiveBorder"}, {clInactiveBorder, "clInactiveBorder"},
    {clAppWorkSpace, "clAppWorkSpace"}, {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"}, {clBtnFace, "clBtnFace"}, {clBtnShadow, "clBtnShadow"},
    {clGrayText, "clGrayText"}, {clBtnText, "clBtnText"},
    {clInactiveCaptionText, "clInactiveCaptionText"}, {clBtnHighlight, "clBtnHighlight"},
    {cl3DDkShadow, "cl3DDkShadow"}, {cl3DLight, "cl3DLight"}, {clInfoText, "clInfoText"},
    {clInfoBk, "clInfoBk"}, {clNone, "clNone"}, {clDefault, "clDefault"},
    {clGray, "clDkGray"}, {clSilver, "clLtGray"},
};

constexpr NamedValue cursorTable[] = {
    {0, "crDefault"}, {-1, "crNone"}, {-2, "crArrow"}, {-3, "crCross"}, {-4, "crIBeam"},
    {-6, "crSizeNESW"}, {-7, "crSizeNS"}, {-8, "crSizeNWSE"}, {-9, "crSizeWE"},
    {-10, "crUpArrow"}, {-11, "crHourGlass"}, {-12, "crDrag"}, {-13, "crNoDrop"},
    {-14, "crHSplit"}, {-15, "crVSplit"}, {-16, "crMultiDrag"}, {-17, "crSQLWait"},
    {-18, "crNo"}, {-19, "crAppStart"}, {-20, "crHelp"}, {-21, "crHandPoint"},
    {-22, "crSizeAll"}, {-22, "crSize"},
};

constexpr NamedValue charsetTable[] = {
    {0, "ANSI_CHARSET"}, {1, "DEFAULT_CHARSET"}, {2, "SYMBOL_CHARSET"}, {77, "MAC_CHARSET"},
    {128, "SHIFTJIS_CHARSET"}, {129, "HANGEUL_CHARSET"}, {130, "JOHAB_CHARSET"},
    {134, "GB2312_CHARSET"}, {136, "CHINESEBIG5_CHARSET"}, {161, "GREEK_CHARSET"},
    {162, "TURKISH_CHARSET"}, {163, "VIETNAMESE_CHARSET"}, {177, "HEBREW_CHARSET"},
    {178, "ARABIC_CHARSET"}, {186, "BALTIC_CHARSET"}, {204, "RUSSIAN_CHARSET"},
    {222, "THAI_CHARSET"}, {238, "EASTEUROPE_CHARSET"}, {255, "OEM_CHARSET"},
};

std::optional<QByteArray> NameOf(std::span<const NamedValue> table, std::int32_t value)
{
    for (const NamedValue& entry : table)
        if (entry.value == value)
            return QByteArray(entry.name);
    return std::nullopt;
}

std::optional<std::int32_t> ValueOf(std::span<const NamedValue> table, QByteArrayView name)
{
    for (const NamedValue& entry : table)
        if (name.compare(QByteArrayView(entry.name), Qt::CaseInsensitive) == 0)
            return entry.value;
    return std::nullopt;
}

} // namespace

const IdentNames ColorNames{
    [](std::int32_t v) { return NameOf(colorTable, v); },
    [](QByteArrayView n) { return ValueOf(colorTable, n); },
};
const IdentNames CursorNames{
    [](std::int32_t v) { return NameOf(cursorTable, v); },
    [](QByteArrayView n) { return ValueOf(cursorTable, n); },
};
const IdentNames CharsetNames{
    [](std::int32_t v) { return NameOf(charsetTable, v); },
    [](QByteArrayView n) { return ValueOf(charsetTable, n); },
};

} // namespace stream
