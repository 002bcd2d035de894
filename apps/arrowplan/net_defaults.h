// The drawing defaults of new networks, kept in "NetRunInfo.ini" (section
// "RunInfo") in the program data folder: fonts, line widths and colours,
// arrow sizes, the node radius, margins, ruler rows and sizes and the size
// of the duty table.
//
// Reading bounds every value: a missing key, text that is no integer, a
// value outside its key's range, a font size of 0 or below and a system
// colour outside the colour table all read as the key's default. Writing
// puts every key into the file in one atomic save.
#pragma once

#include "network/control/vyr_network.h"

#include "platform/canvas.h"
#include "platform/colors.h"

#include <QString>

namespace platform {
class IniFile;
}

namespace arrowplan {

struct TNetDefaults {
    platform::TFont CapFont;
    int SmallLineSpace = 40;
    int LankLineWidth = 4;
    int LeftLank = 20;
    int RightLank = 20;
    int TopLank = 20;
    int BottomLank = 20;
    platform::TFont NodeFont;
    int NodeRadii = 10;
    platform::TFont WorkFont;
    int ArrowHeight = 5;
    int ArrowWidth = 10;
    int CapInterval = 5;
    int LineOffset = 4;
    int IntersectionRadii = 5;
    int LineWidth = 1;
    int KeyLineWidth = 3;
    platform::TColor LineColor = platform::clBlue;
    platform::TColor KeyLineColor = platform::clRed;
    platform::TFont RulerFont;
    platform::TColor RulerColor = 0x408000;
    int SmallWidth = 20;
    int SmallDate = 2;
    int ScheduleInterval = 10;
    int ScheduleHeight = 16;
    network::TTableTopStyle TopStyle = network::TopStyleOf({network::tsSchedule, network::tsMoon, network::tsDay});
    network::TTableTopStyle BottomStyle = network::TopStyleOf({network::tsSchedule, network::tsMoon, network::tsDay});
    platform::TFont DutyFont;
    platform::TFont NetFont;
    bool ShowDuty = true;
    int DutyWidth = 200;
    int DutyHeight = 16;

    TNetDefaults();
    friend bool operator==(const TNetDefaults&, const TNetDefaults&) = default;
};

// Which reader asks: the defaults dialog shows a missing node font colour
// as 0x408000, a new network takes 0x008000.
enum class TNetDefaultsReader { Network, Dialog };

inline const QString kNetRunInfoSection = QStringLiteral("RunInfo");

// "NetRunInfo.ini" in the program data folder.
QString NetRunInfoFileName();

TNetDefaults ReadNetDefaults(const platform::IniFile& ini, TNetDefaultsReader reader = TNetDefaultsReader::Network);
// Sets every key in memory; the caller saves the file.
void WriteNetDefaults(platform::IniFile& ini, const TNetDefaults& defaults);
// Reads the file and writes it whole; false when it could not be written
// (the previous file then stays).
bool SaveNetDefaults(const QString& fileName, const TNetDefaults& defaults);

// Applies the defaults through the network's setters, so that their minima
// apply and the network counts as modified.
void ApplyNetDefaults(network::TVYRNetwork& network, const TNetDefaults& defaults);
// Reads the file and applies it.
void LoadNetDefaults(network::TVYRNetwork& network, const QString& fileName = NetRunInfoFileName());

// The largest value an integer key accepts; larger values read as the
// default. Wide enough for any drawing, small enough that sizes computed
// from it stay far from overflow.
inline constexpr int kNetDefaultMaximum = 10000;

} // namespace arrowplan
