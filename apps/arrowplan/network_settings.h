// What the work and network dialog edits, without the window: the drawing
// settings it applies on OK (read from a network, checked from the texts
// typed, written back through the setters in one pass), the fields of one
// work and one node it applies at once, and the read-only facts it shows.
//
// Every text is checked before anything is written: a refused text leaves
// the network as it was and names the field, so the dialog can keep itself
// open on it.
#pragma once

#include "network/control/vyr_network.h"

#include <QString>

#include <map>
#include <optional>

namespace arrowplan {

// The settings applied by OK, in the order they are applied.
struct TNetworkSettings {
    QString Caption;
    double StartDate = 0.0;
    float WorkLimit = 0.0f;
    network::TRecessDate RecessDate;

    platform::TFont NodeFont;
    int NodeRadii = 0;

    platform::TFont WorkFont;
    int ArrowHeight = 0;
    int ArrowWidth = 0;
    int CapInterval = 0;
    int LineOffset = 0;
    int IntersectionRadii = 0;
    int LineWidth = 0;
    int KeyLineWidth = 0;
    platform::TColor LineColor = 0;
    platform::TColor KeyLineColor = 0;
    platform::TColor WaveLineColor = 0;

    platform::TColor RulerLineColor = 0;
    platform::TFont RulerFont;
    int SmallWidth = 0;
    int SmallDate = 0;
    int ScheduleInterval = 0;
    int ScheduleHeight = 0;
    network::TTableTopStyle TopStyle = 0;
    network::TTableTopStyle BottomStyle = 0;

    platform::TFont CapFont;
    int SmallLineSpace = 0;
    int LankLineWidth = 0;
    int LeftLank = 0;
    int RightLank = 0;
    int TopLank = 0;
    int BottomLank = 0;
    bool ShowDayLine = false;
    platform::TColor RedFlagColor = 0;

    bool ShowDuty = false;
    int DutyWidth = 0;
    int DutyHeight = 0;
    QString DutyName;
    QString DutyEngineer;
    QString DutyPlot;
    QString DutyAuditing;
    QString DutyCollate;
    platform::TFont DutyFont;
    platform::TFont NetFont;
    QString NetText;

    network::TResourceStyle ResourceStyle = 0;
    platform::TColor ResourceColor = 0;
    int ResourceHeight = 0;
};

TNetworkSettings ReadNetworkSettings(const network::TVYRNetwork& net);
void ApplyNetworkSettings(network::TVYRNetwork& net, const TNetworkSettings& settings);

// A refused text: the name of its field and the message to show.
struct TFieldError {
    QString Field;
    QString Message;
};

// The texts of the settings fields by field name (edtCaption,
// edtStartDate, edtWorkLimit, edtNodeRadii, cmbNodeFontName,
// edtNodeFontSize, edtArrowHeight, ...; see SettingsFieldNames). Reads them
// into settings, start date first, then in the order of the apply pass;
// the first refused text stops the reading and is returned.
using TFieldTexts = std::map<QString, QString>;
std::optional<TFieldError> ReadSettingsFields(const TFieldTexts& texts, TNetworkSettings& settings);
// The field texts of settings, as the dialog shows them.
TFieldTexts SettingsFieldTexts(const TNetworkSettings& settings);
// Every field name ReadSettingsFields reads, in reading order.
const std::vector<QString>& SettingsFieldNames();

// A start date read back from its text (DateTimeText: "2026-12-10", with
// " 8:30:00" when it has a time of day); nothing for other text.
std::optional<double> ReadStartDate(const QString& text);

// The messages of a text that is no number.
QString NotAFloatMessage(const QString& text);
QString NotAnIntegerMessage(const QString& text);

// True when the network file can store the text as it is (GBK).
bool FileCanStore(const QString& text);

// The fields of one work applied as soon as they are left.
enum class TWorkField { Caption, ContinueTime, Diapause, ParallelTime, Labor, Workforce };
// Writes text into the field through the work's setter when its value
// differs; the message for a refused text (the work unchanged) or nothing.
std::optional<QString> SetWorkField(network::TWorkItem& work, TWorkField field, const QString& text);
QString WorkFieldText(const network::TWorkItem& work, TWorkField field);

// The node fields applied as soon as they are left. A new Offset rebuilds
// the offset columns; a new Number may be refused by the node itself (its
// message goes through the network's services).
enum class TNodeField { Number, NodeY, Offset };
std::optional<QString> SetNodeField(network::TVYRNetwork& net, network::TNodeItem& node, TNodeField field,
                                    const QString& text);
QString NodeFieldText(const network::TNodeItem& node, TNodeField field);

// The read-only values of the work page.
struct TWorkFacts {
    int WorksInto = 0;     // works ending where this one starts
    int WorksFrom = 0;     // works starting where this one ends
    int StartPosition = 0; // collection position + 1 of the start node, 0 when missing
    int EndPosition = 0;
    bool Key = false;
    int WorkCount = 0;
    float EarliestStart = 0, LatestStart = 0, EarliestFinish = 0, LatestFinish = 0, TotalFloat = 0, FreeFloat = 0;
};
TWorkFacts WorkFactsOf(const network::TVYRNetwork& net, const network::TWorkItem& work);

// The read-only values of the node page.
struct TNodeFacts {
    int WorksFrom = 0;
    int WorksInto = 0;
    int NodeCount = 0;
    float Earliest = 0, Latest = 0;
};
TNodeFacts NodeFactsOf(const network::TVYRNetwork& net, const network::TNodeItem& node);

// A time or float as the pages show it (shortest form: 2.5, 3).
QString GeneralText(float value);

} // namespace arrowplan
