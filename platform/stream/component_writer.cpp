#include "component_writer.h"

#include "stream_error.h"
#include "value_writer.h"

#include <QIODevice>

namespace stream {

namespace {

void WriteProperties(ValueWriter& w, const StreamObject& object, const QByteArray& prefix);

bool AtDefault(const PropertyRow& row, std::int64_t value)
{
    return row.declaredDefault && *row.declaredDefault == value;
}

QList<QByteArray> SetMembers(const PropertyRow& row, std::int64_t mask)
{
    QList<QByteArray> members;
    for (std::size_t i = 0; i < row.names.size() && i < 64; ++i)
        if ((static_cast<std::uint64_t>(mask) >> i) & 1u)
            members.append(row.names[i]);
    return members;
}

void WriteCollection(ValueWriter& w, StreamCollection& collection)
{
    w.Tag(ValueTag::Collection);
    for (int i = 0; i < collection.Count(); ++i) {
        w.Tag(ValueTag::List);
        WriteProperties(w, collection.Item(i), QByteArray());
        w.Tag(ValueTag::Null);
    }
    w.Tag(ValueTag::Null);
}

void WriteProperty(ValueWriter& w, const StreamObject& object, const PropertyRow& row, const QByteArray& prefix)
{
    const QByteArray name = prefix + row.name;
    // Sub-objects and collections are owned by the object; the writer only
    // reads through the accessor.
    auto& mutableObject = const_cast<StreamObject&>(object);
    switch (row.kind) {
    case PropertyKind::Integer: {
        const std::int64_t v = row.getOrdinal(object);
        if (AtDefault(row, v))
            return;
        w.ShortText(name);
        const auto ident = row.idents ? row.idents->toName(static_cast<std::int32_t>(v)) : std::nullopt;
        if (ident)
            w.Ident(*ident);
        else
            w.Integer(v);
        return;
    }
    case PropertyKind::Enumeration: {
        const std::int64_t v = row.getOrdinal(object);
        if (AtDefault(row, v))
            return;
        if (v < 0 || static_cast<std::size_t>(v) >= row.names.size())
            ThrowWriteError();
        w.ShortText(name);
        w.Ident(row.names[static_cast<std::size_t>(v)]);
        return;
    }
    case PropertyKind::Boolean: {
        const std::int64_t v = row.getOrdinal(object);
        if (AtDefault(row, v))
            return;
        w.ShortText(name);
        w.Boolean(v != 0);
        return;
    }
    case PropertyKind::Set: {
        const std::int64_t v = row.getOrdinal(object);
        if (AtDefault(row, v))
            return;
        w.ShortText(name);
        w.Set(SetMembers(row, v));
        return;
    }
    case PropertyKind::Float: {
        const double v = row.getFloat(object);
        if (v == 0.0)
            return;
        w.ShortText(name);
        w.Float(v);
        return;
    }
    case PropertyKind::Text: {
        const QByteArray v = row.getBytes(object);
        if (v.isEmpty())
            return;
        w.ShortText(name);
        w.String(v);
        return;
    }
    case PropertyKind::Binary: {
        const QByteArray v = row.getBytes(object);
        if (v.isEmpty())
            return;
        w.ShortText(name);
        w.Binary(v);
        return;
    }
    case PropertyKind::Lines: {
        const QList<QByteArray> v = row.getLines(object);
        if (v.isEmpty())
            return;
        w.ShortText(name);
        w.Lines(v);
        return;
    }
    case PropertyKind::Object:
        if (const StreamObject* sub = row.object(mutableObject))
            WriteProperties(w, *sub, name + '.');
        return;
    case PropertyKind::Collection:
        if (StreamCollection* collection = row.collection(mutableObject)) {
            w.ShortText(name);
            WriteCollection(w, *collection);
        }
        return;
    }
}

void WriteProperties(ValueWriter& w, const StreamObject& object, const QByteArray& prefix)
{
    for (const PropertyRow& row : object.Properties().Rows())
        WriteProperty(w, object, row, prefix);
}

void WriteObject(ValueWriter& w, const StreamObject& object)
{
    w.ShortText(object.ClassName());
    w.ShortText(QByteArray()); // object name: always empty in the stores
    WriteProperties(w, object, QByteArray());
    w.Tag(ValueTag::Null);
    for (const StreamObject* child : object.Children())
        WriteObject(w, *child);
    w.Tag(ValueTag::Null);
}

} // namespace

QByteArray WriteComponent(const StreamObject& root)
{
    QByteArray out(Signature, sizeof Signature);
    ValueWriter w(out);
    WriteObject(w, root);
    return out;
}

void WriteComponent(QIODevice& device, const StreamObject& root)
{
    const QByteArray bytes = WriteComponent(root);
    if (device.write(bytes) != bytes.size())
        ThrowWriteError();
}

} // namespace stream
