// A detached group of works with its nodes, as the network control copies
// and pastes it: the root object "TGlideTemplet" of its own component
// stream, with the work collection GWorks and then the node collection
// GNodes. Template works name their nodes by the NewID the node had in the
// network the group was copied from.
//
// Ownership: the templet owns its collections and their items; each work
// item owns its font.
#pragma once

#include "platform/canvas.h"
#include "platform/stream/stored_font.h"
#include "platform/stream/stream_object.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <deque>
#include <memory>

namespace network {

class TGNodeItem : public stream::StreamObject {
public:
    // -1 in a stored template; while pasting, the NewID of the network node
    // that stands for this template node.
    int New = -1;
    int NewID = 0;
    int NodeY = 0;
    float Offset = 0.0f;
    int Number = 0;

    const stream::PropertyTable& Properties() const override;
};

class TGWorkItem : public stream::StreamObject {
public:
    QString Caption;
    int PriorNode = 0;
    int NextNode = 0;
    float ContinueTime = 0.0f;
    float Labor = 0.0f;
    int Workforce = 0;
    float ParallelTime = 0.0f;
    float Diapause = 0.0f;
    int Offset = 0;
    bool HorizontalLine = true;
    bool ParentFont = true;

    platform::TFont Font() const { return m_font.Font; }
    // Copies the attributes into the item's own font.
    void SetFont(const platform::TFont& value) { m_font.Font = value; }

    const stream::PropertyTable& Properties() const override;

private:
    stream::StoredFont m_font;
};

template <class TItem>
class TGCollection : public stream::StreamCollection {
public:
    int Count() const override { return static_cast<int>(m_items.size()); }
    TItem& Item(int index) override { return m_items[static_cast<std::size_t>(index)]; }
    const TItem& Item(int index) const { return m_items[static_cast<std::size_t>(index)]; }
    void Clear() override { m_items.clear(); }
    TItem& Add() override { return m_items.emplace_back(); }

private:
    std::deque<TItem> m_items;
};

using TGWorks = TGCollection<TGWorkItem>;
using TGNodes = TGCollection<TGNodeItem>;

class TGlideTemplet : public stream::StreamObject {
public:
    TGWorks& GWorks() { return m_works; }
    const TGWorks& GWorks() const { return m_works; }
    TGNodes& GNodes() { return m_nodes; }
    const TGNodes& GNodes() const { return m_nodes; }

    // True when some template work ends at the node ID.
    bool HasWorkInto(int id) const;
    // The first template node with NewID id, or nullptr.
    TGNodeItem* FindNode(int id);
    // True when the works, taken in order, start from exactly one node that
    // no template work enters (false for an empty template).
    bool HasSingleStart() const;

    QByteArray ClassName() const override { return "TGlideTemplet"; }
    const stream::PropertyTable& Properties() const override;

private:
    TGWorks m_works;
    TGNodes m_nodes;
};

// Registers TGlideTemplet with the stream's class registry.
void RegisterGlideTemplet();

QByteArray WriteGlideTemplet(const TGlideTemplet& templet);
// Raises stream::StreamError for damaged data: a stream that is not a
// templet, values out of range, two template nodes with one NewID, or works
// whose links close a cycle or enter the first template node, from which a
// paste starts.
std::unique_ptr<TGlideTemplet> ReadGlideTemplet(QByteArrayView bytes);

} // namespace network
