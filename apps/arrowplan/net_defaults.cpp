#include "apps/arrowplan/net_defaults.h"

#include "platform/ini_file.h"
#include "platform/program_folders.h"

#include <QDir>

namespace arrowplan {

namespace {

using network::TTableTopStyle;
using network::TTableTopStyleMember;

constexpr int kMaxFontSize = 500;
// The last index of the system colour table.
constexpr int kLastSystemColor = 24;

platform::TFont FontOf(int size, platform::TColor color)
{
    platform::TFont font;
    font.Size = size;
    font.Color = color;
    return font;
}

const char* const kStyleKeys[] = {"", "Year", "Moon", "Period", "WorkWeek", "Week", "Day"};

bool ColorInRange(std::int32_t value)
{
    if (value >= 0)
        return value <= 0xFFFFFF;
    const auto bits = static_cast<std::uint32_t>(value);
    return (bits & 0x7F000000u) == 0 && (bits & 0xFFFFFFu) <= kLastSystemColor;
}

// Walks the keys in file order; Reader and Writer give the walk its meaning.
template <class Visitor>
void VisitKeys(TNetDefaults& d, Visitor& v)
{
    v.Font("Caption", d.CapFont);
    v.Integer("SmallLineSpace", d.SmallLineSpace, 1);
    v.Integer("LankLineWidth", d.LankLineWidth, 0);
    v.Integer("LeftLank", d.LeftLank, 0);
    v.Integer("RightLank", d.RightLank, 0);
    v.Integer("TopLank", d.TopLank, 0);
    v.Integer("BottomLank", d.BottomLank, 0);
    v.Font("Node", d.NodeFont);
    v.Integer("NodeRadii", d.NodeRadii, 0);
    v.Font("Work", d.WorkFont);
    v.Integer("ArrowHeight", d.ArrowHeight, 0);
    v.Integer("ArrowWidth", d.ArrowWidth, 0);
    v.Integer("CapInterval", d.CapInterval, 0);
    v.Integer("LineOffset", d.LineOffset, 0);
    v.Integer("IntersectionRadii", d.IntersectionRadii, 0);
    v.Integer("LineWidth", d.LineWidth, 0);
    v.Integer("KeyLineWidth", d.KeyLineWidth, 0);
    v.Color("LineColor", d.LineColor);
    v.Color("KeyLineColor", d.KeyLineColor);
    v.Font("Ruler", d.RulerFont);
    v.Color("RulerColor", d.RulerColor);
    v.Integer("SmallWidth", d.SmallWidth, 1);
    v.Integer("SmallDate", d.SmallDate, 1);
    v.Integer("ScheduleInterval", d.ScheduleInterval, 0);
    v.Integer("ScheduleHeight", d.ScheduleHeight, 0);
    v.Styles("TopStyle", d.TopStyle);
    v.Styles("BottomStyle", d.BottomStyle);
    v.Font("Duty", d.DutyFont);
    v.Font("Net", d.NetFont);
    v.Boolean("ShowDuty", d.ShowDuty);
    v.Integer("DutyWidth", d.DutyWidth, 0);
    v.Integer("DutyHeight", d.DutyHeight, 0);
}

struct Reader {
    const platform::IniFile& ini;
    TNetDefaultsReader reader;

    std::int32_t Read(const QString& key, std::int32_t fallback) const
    {
        return ini.ReadInteger(kNetRunInfoSection, key, fallback);
    }
    void Integer(const char* key, int& value, int minimum)
    {
        const std::int32_t read = Read(QString::fromLatin1(key), value);
        if (read >= minimum && read <= kNetDefaultMaximum)
            value = read;
    }
    void Color(const char* key, platform::TColor& value)
    {
        const std::int32_t read = Read(QString::fromLatin1(key), value);
        if (ColorInRange(read))
            value = read;
    }
    void Boolean(const char* key, bool& value) { value = ini.ReadBool(kNetRunInfoSection, QString::fromLatin1(key), value); }
    void Font(const char* prefix, platform::TFont& font)
    {
        const QString p = QString::fromLatin1(prefix);
        if (reader == TNetDefaultsReader::Dialog && p == QLatin1String("Node"))
            font.Color = 0x408000;
        font.Name = ini.ReadString(kNetRunInfoSection, p + QLatin1String("FontName"), font.Name);
        if (font.Name.isEmpty())
            font.Name = QStringLiteral("宋体");
        const std::int32_t size = Read(p + QLatin1String("FontSize"), font.Size);
        if (size > 0 && size <= kMaxFontSize)
            font.Size = size;
        Color((p + QLatin1String("FontColor")).toLatin1().constData(), font.Color);
        font.Style = 0;
        const std::pair<const char*, platform::TFontStyle> styles[] = {
            {"FontBold", platform::fsBold}, {"FontItalic", platform::fsItalic},
            {"FontUnderLine", platform::fsUnderline}, {"FontStrikeOut", platform::fsStrikeOut}};
        for (const auto& [key, bit] : styles)
            if (ini.ReadBool(kNetRunInfoSection, p + QLatin1String(key), false))
                font.Style = static_cast<platform::TFontStyles>(font.Style | bit);
    }
    void Styles(const char* prefix, TTableTopStyle& set)
    {
        const TTableTopStyle defaults = set;
        set = 0;
        for (int m = 0; m < 7; ++m) {
            const QString key = QString::fromLatin1(prefix) + QLatin1String(kStyleKeys[m]);
            if (ini.ReadBool(kNetRunInfoSection, key, (defaults >> m) & 1u))
                set = static_cast<TTableTopStyle>(set | (1u << m));
        }
    }
};

struct Writer {
    platform::IniFile& ini;

    void Write(const QString& key, std::int32_t value) { ini.WriteInteger(kNetRunInfoSection, key, value); }
    void Integer(const char* key, int& value, int) { Write(QString::fromLatin1(key), value); }
    void Color(const char* key, platform::TColor& value) { Write(QString::fromLatin1(key), value); }
    void Boolean(const char* key, bool& value) { ini.WriteBool(kNetRunInfoSection, QString::fromLatin1(key), value); }
    void Font(const char* prefix, platform::TFont& font)
    {
        const QString p = QString::fromLatin1(prefix);
        ini.WriteString(kNetRunInfoSection, p + QLatin1String("FontName"), font.Name);
        Write(p + QLatin1String("FontSize"), font.Size);
        Write(p + QLatin1String("FontColor"), font.Color);
        ini.WriteBool(kNetRunInfoSection, p + QLatin1String("FontBold"), font.Style & platform::fsBold);
        ini.WriteBool(kNetRunInfoSection, p + QLatin1String("FontItalic"), font.Style & platform::fsItalic);
        ini.WriteBool(kNetRunInfoSection, p + QLatin1String("FontUnderLine"), font.Style & platform::fsUnderline);
        ini.WriteBool(kNetRunInfoSection, p + QLatin1String("FontStrikeOut"), font.Style & platform::fsStrikeOut);
    }
    void Styles(const char* prefix, TTableTopStyle& set)
    {
        for (int m = 0; m < 7; ++m)
            ini.WriteBool(kNetRunInfoSection, QString::fromLatin1(prefix) + QLatin1String(kStyleKeys[m]),
                          (set >> m) & 1u);
    }
};

} // namespace

TNetDefaults::TNetDefaults()
    : CapFont(FontOf(18, platform::clBlack)), NodeFont(FontOf(9, platform::clGreen)),
      WorkFont(FontOf(9, platform::clGreen)), RulerFont(FontOf(9, platform::clBlue)),
      DutyFont(FontOf(9, platform::clBlack)), NetFont(FontOf(9, platform::clBlack))
{
}

QString NetRunInfoFileName()
{
    return QDir(platform::ProgramDataFolder()).filePath(QStringLiteral("NetRunInfo.ini"));
}

TNetDefaults ReadNetDefaults(const platform::IniFile& ini, TNetDefaultsReader reader)
{
    TNetDefaults defaults;
    Reader visitor{ini, reader};
    VisitKeys(defaults, visitor);
    return defaults;
}

void WriteNetDefaults(platform::IniFile& ini, const TNetDefaults& defaults)
{
    TNetDefaults copy = defaults;
    Writer visitor{ini};
    VisitKeys(copy, visitor);
}

bool SaveNetDefaults(const QString& fileName, const TNetDefaults& defaults)
{
    platform::IniFile ini(fileName);
    WriteNetDefaults(ini, defaults);
    return ini.UpdateFile();
}

void ApplyNetDefaults(network::TVYRNetwork& network, const TNetDefaults& d)
{
    network.SetCapFont(d.CapFont);
    network.SetSmallLineSpace(d.SmallLineSpace);
    network.SetLankLineWidth(d.LankLineWidth);
    network.SetLeftLank(d.LeftLank);
    network.SetRightLank(d.RightLank);
    network.SetTopLank(d.TopLank);
    network.SetBottomLank(d.BottomLank);
    network.Nodes().SetFont(d.NodeFont);
    network.Nodes().SetRadii(d.NodeRadii);
    network::TWorks& works = network.Works();
    works.SetFont(d.WorkFont);
    works.SetArrowHeight(d.ArrowHeight);
    works.SetArrowWidth(d.ArrowWidth);
    works.SetCapInterval(d.CapInterval);
    works.SetLineOffset(d.LineOffset);
    works.SetIntersectionRadii(d.IntersectionRadii);
    works.SetLineWidth(d.LineWidth);
    works.SetKeyLineWidth(d.KeyLineWidth);
    works.SetLineColor(d.LineColor);
    works.SetKeyLineColor(d.KeyLineColor);
    network.SetFont(d.RulerFont);
    network.SetRulerLineColor(d.RulerColor);
    network.SetSmallWidth(d.SmallWidth);
    network.SetSmallDate(d.SmallDate);
    network.SetScheduleInterval(d.ScheduleInterval);
    network.SetScheduleHeight(d.ScheduleHeight);
    network.SetTopStyle(d.TopStyle);
    network.SetBottomStyle(d.BottomStyle);
    network.SetDutyFont(d.DutyFont);
    network.SetNetFont(d.NetFont);
    network.SetShowDuty(d.ShowDuty);
    network.SetDutyWidth(d.DutyWidth);
    network.SetDutyHeight(d.DutyHeight);
    network.SetModified(true);
}

void LoadNetDefaults(network::TVYRNetwork& network, const QString& fileName)
{
    const platform::IniFile ini(fileName);
    ApplyNetDefaults(network, ReadNetDefaults(ini));
}

} // namespace arrowplan
