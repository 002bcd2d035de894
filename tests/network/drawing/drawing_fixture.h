// A drawing-layer network on fake services, and helpers that build networks
// node by node and work by work.
#pragma once

#include "network/drawing/network_add_draw.h"
#include "platform/date_serial.h"
#include "platform/painter_canvas.h"
#include "tests/support/fake_window_services.h"

#include <QDate>
#include <QImage>
#include <QString>
#include <QStringList>

#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

// A call log as one text, one call a line, so that a failing comparison
// shows the calls.
inline std::string Join(const QStringList& lines) { return lines.join(QLatin1Char('\n')).toStdString(); }

namespace drawing_test {

using network::TNodeItem;
using network::TVYRNetworkAddDraw;
using network::TWorkItem;

struct ServicesHolder {
    FakeWindowServices services;
};

class DrawNetwork : private ServicesHolder, public TVYRNetworkAddDraw {
public:
    DrawNetwork()
        : TVYRNetworkAddDraw(ServicesHolder::services)
    {
        SetOnNetChanged([this](network::TVYRNetworkAddNodeWork&) { ++netChanged; });
    }
    FakeWindowServices& Fake() { return ServicesHolder::services; }
    int netChanged = 0;
};

// Adds nodes (NewIDs 2, 3, ... after the first one) until there are count,
// all on row.
inline void AddNodes(TVYRNetworkAddDraw& net, int count, int row = 101)
{
    net.Nodes().Items(0)->SetNodeY(row);
    while (net.Nodes().Count() < count)
        net.AddNode(row, 0.0f);
}

inline TWorkItem& AddWork(TVYRNetworkAddDraw& net, int prior, int next, float duration, float interval = 0.0f)
{
    net.Works().BeginUpdate();
    TWorkItem& work = net.Works().Add();
    work.SetPriorNode(prior);
    work.SetNextNode(next);
    work.SetContinueTime(duration);
    work.SetDiapause(interval);
    net.Works().EndUpdate();
    return work;
}

inline double Day(int year, int month, int day) { return *platform::DateToSerial(QDate(year, month, day)); }

// The network as the screen shows it on a black image of the given size.
inline QImage RenderScreen(TVYRNetworkAddDraw& net, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::black);
    platform::PainterCanvas canvas(image);
    net.SetCanvas(&canvas);
    net.Paint();
    net.SetCanvas(nullptr);
    return image;
}

} // namespace drawing_test
