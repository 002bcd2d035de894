// A top-layer network on fake services, helpers that build networks node by
// node and work by work, and a writer of expected stream bytes.
#pragma once

#include "network/control/vyr_network.h"
#include "platform/gbk_text.h"
#include "platform/stream/extended_float.h"
#include "tests/support/fake_window_services.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

namespace control_test {

using network::TNodeItem;
using network::TVYRNetwork;
using network::TWorkItem;

struct ServicesHolder {
    FakeWindowServices services;
};

class Network : private ServicesHolder, public TVYRNetwork {
public:
    Network()
        : TVYRNetwork(ServicesHolder::services)
    {
    }
    FakeWindowServices& Fake() { return ServicesHolder::services; }
};

// Adds nodes (NewIDs 2, 3, ... after the first one) until there are count.
inline void AddNodes(TVYRNetwork& net, int count, int row = 101)
{
    net.Nodes().Items(0)->SetNodeY(row);
    while (net.Nodes().Count() < count)
        net.AddNode(row, 0.0f);
}

inline TWorkItem& AddWork(TVYRNetwork& net, int prior, int next, float duration)
{
    net.Works().BeginUpdate();
    TWorkItem& work = net.Works().Add();
    work.SetPriorNode(prior);
    work.SetNextNode(next);
    work.SetContinueTime(duration);
    net.Works().EndUpdate();
    return work;
}

// The small foundation network of the export and preview tests: nodes 1 to
// 4, node 3 on row 103, the others on row 101; works 1-2 "挖土" (3 days,
// critical), 2-4 "浇筑" (2 days), 1-3 "放线" (1 day) and the dummy 3-4.
inline void BuildFoundationNetwork(TVYRNetwork& net)
{
    AddNodes(net, 4);
    net.Nodes().Items(2)->SetNodeY(103);
    AddWork(net, 1, 2, 3.0f).SetCaption(QStringLiteral("挖土"));
    AddWork(net, 2, 4, 2.0f).SetCaption(QStringLiteral("浇筑"));
    AddWork(net, 1, 3, 1.0f).SetCaption(QStringLiteral("放线"));
    AddWork(net, 3, 4, 0.0f);
    net.SetText(QStringLiteral("基础施工网络图"));
}

// Expected component stream bytes, value by value.
class StreamBytes {
public:
    StreamBytes& Raw(const QByteArray& bytes) { b_ += bytes; return *this; }
    StreamBytes& Byte(int v) { b_ += static_cast<char>(v); return *this; }
    StreamBytes& Short(const QByteArray& text) { return Byte(static_cast<int>(text.size())).Raw(text); }
    StreamBytes& Name(const char* name) { return Short(name); }
    StreamBytes& Int(std::int32_t v)
    {
        if (v >= -128 && v <= 127)
            return Byte(0x02).Byte(v);
        if (v >= -32768 && v <= 32767)
            return Byte(0x03).Byte(v & 0xFF).Byte((v >> 8) & 0xFF);
        Byte(0x04);
        for (int i = 0; i < 4; ++i)
            Byte((v >> (8 * i)) & 0xFF);
        return *this;
    }
    StreamBytes& Ident(const char* name) { return Byte(0x07).Short(name); }
    StreamBytes& Str(const QString& text) { return Byte(0x06).Short(platform::ToGbk(text)); }
    StreamBytes& Bool(bool v) { return Byte(v ? 0x09 : 0x08); }
    StreamBytes& Ext(double v)
    {
        Byte(0x05);
        const stream::Extended e = stream::DoubleToExtended(v);
        b_.append(reinterpret_cast<const char*>(e.data()), static_cast<qsizetype>(e.size()));
        return *this;
    }
    StreamBytes& Set(std::initializer_list<const char*> members)
    {
        Byte(0x0B);
        for (const char* m : members)
            Short(m);
        return Byte(0);
    }
    StreamBytes& Font(const char* prefix, const char* charset, const char* color, int height,
                      std::initializer_list<const char*> style = {})
    {
        const QByteArray p(prefix);
        Short(p + ".Charset").Ident(charset).Short(p + ".Color").Ident(color);
        Short(p + ".Height").Int(height).Short(p + ".Name").Str(QStringLiteral("宋体"));
        return Short(p + ".Style").Set(style);
    }
    const QByteArray& Bytes() const { return b_; }

private:
    QByteArray b_;
};

} // namespace control_test
