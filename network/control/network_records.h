// The stream records of a network file's contents: node and work items read
// and written through the control's collections, and the handle panels
// stored as child objects. A record refers to a model item; the control
// owns the records.
#pragma once

#include "network/control/vyr_network.h"

#include <deque>

namespace network {

class NodeRecord : public stream::StreamObject {
public:
    TNodeItem* node = nullptr;
    const stream::PropertyTable& Properties() const override;
};

class NodeRecords : public stream::StreamCollection {
public:
    explicit NodeRecords(TVYRNetwork& owner) : m_owner(owner) {}
    int Count() const override { return m_owner.Nodes().Count(); }
    stream::StreamObject& Item(int index) override;
    void Clear() override { m_owner.Nodes().Clear(); }
    stream::StreamObject& Add() override;

private:
    TVYRNetwork& m_owner;
    std::deque<NodeRecord> m_records;
};

class WorkRecord : public stream::StreamObject {
public:
    TVYRNetwork* owner = nullptr;
    TWorkItem* work = nullptr;
    // The font as written; the reader fills the control's stored work font.
    stream::StoredFont written;
    const stream::PropertyTable& Properties() const override;
};

class WorkRecords : public stream::StreamCollection {
public:
    explicit WorkRecords(TVYRNetwork& owner) : m_owner(owner) {}
    int Count() const override { return m_owner.Works().Count(); }
    stream::StreamObject& Item(int index) override;
    void Clear() override { m_owner.Works().Clear(); }
    stream::StreamObject& Add() override;

private:
    TVYRNetwork& m_owner;
    std::deque<WorkRecord> m_records;
};

// A handle panel as stored: the reader creates these for the stored child
// records, which the control then drops.
class StoredLankPanel : public stream::StreamObject {
public:
    int Left = 0;
    int Top = 0;
    int Width = 8;
    int Height = 8;
    int Cursor = 0;
    int BevelOuter = 0; // bvNone
    platform::TColor Color = platform::clBlue;
    int TabOrder = -1;
    bool Visible = false;

    QByteArray ClassName() const override { return "TLankPanel"; }
    const stream::PropertyTable& Properties() const override;
};

// Fails the read with "Invalid property value" unless the value is finite.
double FiniteValue(double value);

} // namespace network
