#include "apps/arrowplan/network_settings.h"

#include "apps/arrowplan/hint_window.h"

#include "platform/date_serial.h"
#include "platform/gbk_text.h"
#include "platform/numbers.h"

#include <QTime>

#include <cmath>
#include <variant>

namespace arrowplan {

namespace {

using S = TNetworkSettings;

// A field read from its text: an integer with an optional lowest value,
// a float, a stored text, or a member of a font.
struct IntegerSpec {
    int S::*member;
    std::optional<int> minimum;
    const char* belowMinimum;
};
struct FloatSpec {
    float S::*member;
};
struct TextSpec {
    QString S::*member;
};
struct FontNameSpec {
    platform::TFont S::*font;
};
struct FontSizeSpec {
    platform::TFont S::*font;
};
using FieldSpec = std::variant<IntegerSpec, FloatSpec, TextSpec, FontNameSpec, FontSizeSpec>;

struct Field {
    const char* name;
    FieldSpec spec;
};

IntegerSpec Int(int S::*member) { return {member, std::nullopt, nullptr}; }

// Reading order: the start date (read on its own first), then the order of
// the apply pass.
const std::vector<Field>& Fields()
{
    static const std::vector<Field> fields = {
        {"edtCaption", TextSpec{&S::Caption}},
        {"edtWorkLimit", FloatSpec{&S::WorkLimit}},
        {"cmbNodeFontName", FontNameSpec{&S::NodeFont}},
        {"edtNodeFontSize", FontSizeSpec{&S::NodeFont}},
        {"edtNodeRadii", Int(&S::NodeRadii)},
        {"edtArrowHeight", Int(&S::ArrowHeight)},
        {"edtArrowWidth", Int(&S::ArrowWidth)},
        {"edtCapInterval", Int(&S::CapInterval)},
        {"edtLineOffset", Int(&S::LineOffset)},
        {"edtIntersectionRadii", Int(&S::IntersectionRadii)},
        {"edtLineWidth", Int(&S::LineWidth)},
        {"edtKeyLineWidth", Int(&S::KeyLineWidth)},
        {"edtSmallWidth", IntegerSpec{&S::SmallWidth, 1, "单位标尺宽度必须大于零，请重新输入！"}},
        {"edtSmallDate", IntegerSpec{&S::SmallDate, 1, "单位标尺表示天数必须大于零，请重新输入！"}},
        {"edtScheduleInterval", Int(&S::ScheduleInterval)},
        {"edtScheduleHeight", Int(&S::ScheduleHeight)},
        {"edtSmallLineSpace", IntegerSpec{&S::SmallLineSpace, 1, "垂直方向线距必须大于零，请重新输入！"}},
        {"edtLankLineWidth", Int(&S::LankLineWidth)},
        {"edtLeftLank", Int(&S::LeftLank)},
        {"edtRightLank", Int(&S::RightLank)},
        {"edtTopLank", Int(&S::TopLank)},
        {"edtBottomLank", Int(&S::BottomLank)},
        {"edtDutyWidth", IntegerSpec{&S::DutyWidth, 0, "责任栏宽度不能小于零，请重新输入！"}},
        {"edtDutyHeight", Int(&S::DutyHeight)},
        {"edtDutyName", TextSpec{&S::DutyName}},
        {"edtDutyEngineer", TextSpec{&S::DutyEngineer}},
        {"edtDutyPlot", TextSpec{&S::DutyPlot}},
        {"edtDutyAuditing", TextSpec{&S::DutyAuditing}},
        {"edtDutyCollate", TextSpec{&S::DutyCollate}},
        {"memNetText", TextSpec{&S::NetText}},
    };
    return fields;
}

const QString kStartDate = QStringLiteral("edtStartDate");

std::optional<int> ReadInteger(const QString& text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

// A float that single precision holds as a finite value.
std::optional<float> ReadFloat(const QString& text)
{
    double value = 0;
    if (!platform::TryStrToFloat(text, value) || !std::isfinite(static_cast<float>(value)))
        return std::nullopt;
    return static_cast<float>(value);
}

QString UnstorableMessage(const QString& text)
{
    return QStringLiteral("“%1”中有网络图文件不能保存的字符，请重新输入！").arg(text);
}

QString LinesText(const stream::StoredStrings& lines)
{
    QStringList list;
    for (int i = 0; i < lines.Count(); ++i)
        list.append(lines.Text(i));
    return list.join(QLatin1Char('\n'));
}

} // namespace

QString NotAFloatMessage(const QString& text)
{
    return QStringLiteral("'%1' is not a valid floating point value").arg(text);
}

QString NotAnIntegerMessage(const QString& text)
{
    return QStringLiteral("'%1' is not a valid integer value").arg(text);
}

bool FileCanStore(const QString& text)
{
    return platform::FromGbk(platform::ToGbk(text)) == text;
}

QString GeneralText(float value)
{
    return platform::FloatToStr(value);
}

std::optional<double> ReadStartDate(const QString& text)
{
    const QStringList parts = text.simplified().split(QLatin1Char(' '));
    if (parts.isEmpty() || parts.size() > 2)
        return std::nullopt;
    const std::optional<QDate> date = platform::TextToDate(parts[0]);
    if (!date)
        return std::nullopt;
    const std::optional<std::int32_t> serial = platform::DateToSerial(*date);
    if (!serial)
        return std::nullopt;
    double value = *serial;
    if (parts.size() == 2) {
        QTime time = QTime::fromString(parts[1], QStringLiteral("H:mm:ss"));
        if (!time.isValid())
            time = QTime::fromString(parts[1], QStringLiteral("H:mm"));
        if (!time.isValid())
            return std::nullopt;
        value += time.msecsSinceStartOfDay() / 86400000.0;
    }
    return value;
}

TNetworkSettings ReadNetworkSettings(const network::TVYRNetwork& n)
{
    TNetworkSettings s;
    s.Caption = n.Text();
    s.StartDate = n.StartDate();
    s.WorkLimit = n.WorkLimit();
    s.RecessDate = n.RecessDate();
    s.NodeFont = n.Nodes().Font();
    s.NodeRadii = n.Nodes().Radii();
    const network::TWorks& w = n.Works();
    s.WorkFont = w.Font();
    s.ArrowHeight = w.ArrowHeight();
    s.ArrowWidth = w.ArrowWidth();
    s.CapInterval = w.CapInterval();
    s.LineOffset = w.LineOffset();
    s.IntersectionRadii = w.IntersectionRadii();
    s.LineWidth = w.LineWidth();
    s.KeyLineWidth = w.KeyLineWidth();
    s.LineColor = w.LineColor();
    s.KeyLineColor = w.KeyLineColor();
    s.WaveLineColor = w.WaveLineColor();
    s.RulerLineColor = n.RulerLineColor();
    s.RulerFont = n.Font();
    s.SmallWidth = n.SmallWidth();
    s.SmallDate = n.SmallDate();
    s.ScheduleInterval = n.ScheduleInterval();
    s.ScheduleHeight = n.ScheduleHeight();
    s.TopStyle = n.TopStyle();
    s.BottomStyle = n.BottomStyle();
    s.CapFont = n.CapFont();
    s.SmallLineSpace = n.SmallLineSpace();
    s.LankLineWidth = n.LankLineWidth();
    s.LeftLank = n.LeftLank();
    s.RightLank = n.RightLank();
    s.TopLank = n.TopLank();
    s.BottomLank = n.BottomLank();
    s.ShowDayLine = n.ShowDayLine();
    s.RedFlagColor = n.RedFlagColor();
    s.ShowDuty = n.ShowDuty();
    s.DutyWidth = n.DutyWidth();
    s.DutyHeight = n.DutyHeight();
    s.DutyName = n.DutyName();
    s.DutyEngineer = n.DutyEngineer();
    s.DutyPlot = n.DutyPlot();
    s.DutyAuditing = n.DutyAuditing();
    s.DutyCollate = n.DutyCollate();
    s.DutyFont = n.DutyFont();
    s.NetFont = n.NetFont();
    s.NetText = LinesText(n.NetText());
    s.ResourceStyle = n.ResourceStyle();
    s.ResourceColor = n.ResourceColor();
    s.ResourceHeight = n.ResourceHeight();
    return s;
}

void ApplyNetworkSettings(network::TVYRNetwork& n, const TNetworkSettings& s)
{
    n.SetText(s.Caption);
    n.SetStartDate(s.StartDate);
    n.SetWorkLimit(s.WorkLimit);
    n.SetRecessDate(s.RecessDate);
    n.Nodes().SetFont(s.NodeFont);
    n.Nodes().SetRadii(s.NodeRadii);
    network::TWorks& w = n.Works();
    w.SetFont(s.WorkFont);
    w.SetArrowHeight(s.ArrowHeight);
    w.SetArrowWidth(s.ArrowWidth);
    w.SetCapInterval(s.CapInterval);
    w.SetLineOffset(s.LineOffset);
    w.SetIntersectionRadii(s.IntersectionRadii);
    w.SetLineWidth(s.LineWidth);
    w.SetKeyLineWidth(s.KeyLineWidth);
    w.SetLineColor(s.LineColor);
    w.SetKeyLineColor(s.KeyLineColor);
    w.SetWaveLineColor(s.WaveLineColor);
    n.SetRulerLineColor(s.RulerLineColor);
    n.SetFont(s.RulerFont);
    n.SetSmallWidth(s.SmallWidth);
    n.SetSmallDate(s.SmallDate);
    n.SetScheduleInterval(s.ScheduleInterval);
    n.SetScheduleHeight(s.ScheduleHeight);
    n.SetTopStyle(s.TopStyle);
    n.SetBottomStyle(s.BottomStyle);
    n.SetCapFont(s.CapFont);
    n.SetSmallLineSpace(s.SmallLineSpace);
    n.SetLankLineWidth(s.LankLineWidth);
    n.SetLeftLank(s.LeftLank);
    n.SetRightLank(s.RightLank);
    n.SetTopLank(s.TopLank);
    n.SetBottomLank(s.BottomLank);
    n.SetShowDayLine(s.ShowDayLine);
    n.SetRedFlagColor(s.RedFlagColor);
    n.SetShowDuty(s.ShowDuty);
    n.SetDutyWidth(s.DutyWidth);
    n.SetDutyHeight(s.DutyHeight);
    n.SetDutyName(s.DutyName);
    n.SetDutyEngineer(s.DutyEngineer);
    n.SetDutyPlot(s.DutyPlot);
    n.SetDutyAuditing(s.DutyAuditing);
    n.SetDutyCollate(s.DutyCollate);
    n.SetDutyFont(s.DutyFont);
    n.SetNetFont(s.NetFont);
    if (s.NetText != LinesText(n.NetText())) {
        n.NetText().Lines.clear();
        if (!s.NetText.isEmpty())
            for (const QString& line : s.NetText.split(QLatin1Char('\n')))
                n.NetText().Append(line);
    }
    n.SetResourceStyle(s.ResourceStyle);
    n.SetResourceColor(s.ResourceColor);
    n.SetResourceHeight(s.ResourceHeight);
    n.SetModified(true);
}

const std::vector<QString>& SettingsFieldNames()
{
    static const std::vector<QString> names = [] {
        std::vector<QString> list{kStartDate};
        for (const Field& field : Fields())
            list.push_back(QString::fromLatin1(field.name));
        return list;
    }();
    return names;
}

TFieldTexts SettingsFieldTexts(const TNetworkSettings& s)
{
    TFieldTexts texts;
    texts[kStartDate] = DateTimeText(s.StartDate);
    for (const Field& field : Fields()) {
        QString& text = texts[QString::fromLatin1(field.name)];
        std::visit(
            [&](const auto& spec) {
                using T = std::decay_t<decltype(spec)>;
                if constexpr (std::is_same_v<T, IntegerSpec>)
                    text = QString::number(s.*spec.member);
                else if constexpr (std::is_same_v<T, FloatSpec>)
                    text = GeneralText(s.*spec.member);
                else if constexpr (std::is_same_v<T, TextSpec>)
                    text = s.*spec.member;
                else if constexpr (std::is_same_v<T, FontNameSpec>)
                    text = (s.*spec.font).Name;
                else
                    text = QString::number((s.*spec.font).Size);
            },
            field.spec);
    }
    return texts;
}

std::optional<TFieldError> ReadSettingsFields(const TFieldTexts& texts, TNetworkSettings& settings)
{
    const auto textOf = [&](const QString& name) {
        const auto it = texts.find(name);
        return it == texts.end() ? QString() : it->second;
    };
    TNetworkSettings s = settings;
    const QString dateText = textOf(kStartDate);
    const std::optional<double> date = ReadStartDate(dateText);
    if (!date)
        return TFieldError{kStartDate, QStringLiteral("开工日期\"%1\"无效, 请重新输入！").arg(dateText)};
    s.StartDate = *date;
    for (const Field& field : Fields()) {
        const QString name = QString::fromLatin1(field.name);
        const QString text = textOf(name);
        std::optional<QString> refusal;
        std::visit(
            [&](const auto& spec) {
                using T = std::decay_t<decltype(spec)>;
                if constexpr (std::is_same_v<T, IntegerSpec> || std::is_same_v<T, FontSizeSpec>) {
                    const std::optional<int> value = ReadInteger(text);
                    if (!value) {
                        refusal = NotAnIntegerMessage(text);
                    } else if constexpr (std::is_same_v<T, IntegerSpec>) {
                        if (spec.minimum && *value < *spec.minimum)
                            refusal = QString::fromUtf8(spec.belowMinimum);
                        else
                            s.*spec.member = *value;
                    } else if (*value < 1) {
                        refusal = QStringLiteral("字体大小必须大于零，请重新输入！");
                    } else {
                        (s.*spec.font).Size = *value;
                    }
                } else if constexpr (std::is_same_v<T, FloatSpec>) {
                    if (const std::optional<float> value = ReadFloat(text))
                        s.*spec.member = *value;
                    else
                        refusal = NotAFloatMessage(text);
                } else {
                    if (!FileCanStore(text)) {
                        refusal = UnstorableMessage(text);
                    } else if constexpr (std::is_same_v<T, TextSpec>) {
                        s.*spec.member = text;
                    } else {
                        (s.*spec.font).Name = text;
                    }
                }
            },
            field.spec);
        if (refusal)
            return TFieldError{name, *refusal};
    }
    settings = s;
    return std::nullopt;
}

std::optional<QString> SetWorkField(network::TWorkItem& work, TWorkField field, const QString& text)
{
    if (field == TWorkField::Caption) {
        if (!FileCanStore(text))
            return UnstorableMessage(text);
        if (text != work.Caption())
            work.SetCaption(text);
        return std::nullopt;
    }
    if (field == TWorkField::Workforce) {
        const std::optional<int> value = ReadInteger(text);
        if (!value)
            return NotAnIntegerMessage(text);
        if (*value != work.Workforce())
            work.SetWorkforce(*value);
        return std::nullopt;
    }
    const std::optional<float> value = ReadFloat(text);
    if (!value)
        return NotAFloatMessage(text);
    switch (field) {
    case TWorkField::ContinueTime:
        if (*value != work.ContinueTime())
            work.SetContinueTime(*value);
        break;
    case TWorkField::Diapause:
        if (*value != work.Diapause())
            work.SetDiapause(*value);
        break;
    case TWorkField::ParallelTime:
        if (*value != work.ParallelTime())
            work.SetParallelTime(*value);
        break;
    default:
        if (*value != work.Labor())
            work.SetLabor(*value);
        break;
    }
    return std::nullopt;
}

QString WorkFieldText(const network::TWorkItem& work, TWorkField field)
{
    switch (field) {
    case TWorkField::Caption:
        return work.Caption();
    case TWorkField::ContinueTime:
        return GeneralText(work.ContinueTime());
    case TWorkField::Diapause:
        return GeneralText(work.Diapause());
    case TWorkField::ParallelTime:
        return GeneralText(work.ParallelTime());
    case TWorkField::Labor:
        return GeneralText(work.Labor());
    case TWorkField::Workforce:
        return QString::number(work.Workforce());
    }
    return {};
}

std::optional<QString> SetNodeField(network::TVYRNetwork& net, network::TNodeItem& node, TNodeField field,
                                    const QString& text)
{
    if (field == TNodeField::Offset) {
        const std::optional<float> value = ReadFloat(text);
        if (!value)
            return NotAFloatMessage(text);
        if (*value != node.Offset()) {
            node.SetOffset(*value);
            net.BuildOffsetColumns();
        }
        return std::nullopt;
    }
    const std::optional<int> value = ReadInteger(text);
    if (!value)
        return NotAnIntegerMessage(text);
    if (field == TNodeField::NodeY) {
        if (*value != node.NodeY())
            node.SetNodeY(*value);
    } else if (*value != node.Number()) {
        node.SetNumber(*value);
    }
    return std::nullopt;
}

QString NodeFieldText(const network::TNodeItem& node, TNodeField field)
{
    switch (field) {
    case TNodeField::Number:
        return QString::number(node.Number());
    case TNodeField::NodeY:
        return QString::number(node.NodeY());
    case TNodeField::Offset:
        return GeneralText(node.Offset());
    }
    return {};
}

TWorkFacts WorkFactsOf(const network::TVYRNetwork& net, const network::TWorkItem& work)
{
    TWorkFacts f;
    f.WorksInto = net.CountWorksInto(work.PriorNode());
    f.WorksFrom = net.CountWorksFrom(work.NextNode());
    if (const network::TNodeItem* s = net.Nodes().FindByNewID(work.PriorNode()))
        f.StartPosition = s->Index() + 1;
    if (const network::TNodeItem* e = net.Nodes().FindByNewID(work.NextNode()))
        f.EndPosition = e->Index() + 1;
    f.Key = net.IsKeyWork(work);
    f.WorkCount = net.Works().Count();
    f.EarliestStart = net.GetWorkEarliestStart(work);
    f.LatestStart = net.GetWorkLatestStart(work);
    f.EarliestFinish = net.GetWorkEarliestFinish(work);
    f.LatestFinish = net.GetWorkLatestFinish(work);
    f.TotalFloat = net.GetWorkTotalFloat(work);
    f.FreeFloat = net.GetWorkFreeTime(work);
    return f;
}

TNodeFacts NodeFactsOf(const network::TVYRNetwork& net, const network::TNodeItem& node)
{
    TNodeFacts f;
    f.WorksFrom = net.CountOutWorks(&node);
    f.WorksInto = net.CountInWorks(&node);
    f.NodeCount = net.Nodes().Count();
    f.Earliest = net.GetNodeEarliest(&node);
    f.Latest = net.GetNodeLatest(&node);
    return f;
}

} // namespace arrowplan
