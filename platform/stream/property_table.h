// The published properties of a stream class, in stream order. One row per
// property: its stored name, its kind, the declared default that lets the
// writer skip it, and the getter and setter the reader and writer go
// through. Sub-objects (fonts, string lists, pictures) are rows of kind
// Object whose own table gives the dotted names ("Font.Name").
#pragma once

#include "ident_names.h"

#include <QByteArray>
#include <QList>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace stream {

class StreamObject;
class StreamCollection;

enum class PropertyKind {
    Integer,     // int32; skipped at the declared default; named values as identifiers
    Enumeration, // ordinal, stored as the name; skipped at the declared default
    Boolean,     // stored as the bare False / True tags; skipped at the declared default
    Set,         // bit mask of member ordinals; skipped at the declared default
    Float,       // skipped when 0.0
    Text,        // GBK bytes; skipped when empty
    Lines,       // a list of texts; skipped when it has no line
    Binary,      // opaque bytes; skipped when empty
    Object,      // a sub-object whose properties follow with a dotted path; skipped when nil
    Collection,  // items with their own properties; always written
};

struct PropertyRow {
    QByteArray name;
    PropertyKind kind = PropertyKind::Integer;
    std::optional<std::int64_t> declaredDefault;
    const IdentNames* idents = nullptr;  // Integer: names of particular values
    std::vector<QByteArray> names;       // Enumeration, Set: member names by ordinal
    bool single = false;                 // Float: rounded to single precision when read

    std::function<std::int64_t(const StreamObject&)> getOrdinal;
    std::function<void(StreamObject&, std::int64_t)> setOrdinal;
    std::function<double(const StreamObject&)> getFloat;
    std::function<void(StreamObject&, double)> setFloat;
    std::function<QByteArray(const StreamObject&)> getBytes;
    std::function<void(StreamObject&, const QByteArray&)> setBytes;
    std::function<QList<QByteArray>(const StreamObject&)> getLines;
    std::function<void(StreamObject&, const QList<QByteArray>&)> setLines;
    // Object and Collection rows: the sub-object the object owns (nullptr for
    // nil). The writer only reads through it.
    std::function<StreamObject*(StreamObject&)> object;
    std::function<StreamCollection*(StreamObject&)> collection;
};

class PropertyTable {
public:
    PropertyTable() = default;
    explicit PropertyTable(std::vector<PropertyRow> rows) : rows_(std::move(rows)) {}

    const std::vector<PropertyRow>& Rows() const { return rows_; }
    // The row of a property name, in any letter case, or nullptr.
    const PropertyRow* Find(QByteArrayView name) const;

private:
    std::vector<PropertyRow> rows_;
};

// Builds the table of class T from its accessors, row by row in stream order:
//   TableBuilder<Item>().Text("Caption", get, set).Boolean("Visible", get, set).Build()
template <class T>
class TableBuilder {
public:
    // Starts from the rows of an ancestor class.
    TableBuilder() = default;
    explicit TableBuilder(const PropertyTable& base) : rows_(base.Rows()) {}

    template <class Get, class Put>
    TableBuilder& Integer(const char* name, Get get, Put set, std::optional<std::int32_t> declaredDefault = {},
                          const IdentNames* idents = nullptr)
    {
        PropertyRow& r = Add(name, PropertyKind::Integer);
        if (declaredDefault)
            r.declaredDefault = *declaredDefault;
        r.idents = idents;
        SetOrdinalAccess(r, get, set);
        return *this;
    }

    template <class Get, class Put>
    TableBuilder& Enumeration(const char* name, std::vector<QByteArray> names, Get get, Put set,
                              std::optional<std::int64_t> declaredDefault = {})
    {
        PropertyRow& r = Add(name, PropertyKind::Enumeration);
        r.names = std::move(names);
        r.declaredDefault = declaredDefault;
        SetOrdinalAccess(r, get, set);
        return *this;
    }

    template <class Get, class Put>
    TableBuilder& Boolean(const char* name, Get get, Put set, std::optional<bool> declaredDefault = {})
    {
        PropertyRow& r = Add(name, PropertyKind::Boolean);
        if (declaredDefault)
            r.declaredDefault = *declaredDefault ? 1 : 0;
        r.getOrdinal = [get](const StreamObject& o) -> std::int64_t { return get(Cast(o)) ? 1 : 0; };
        r.setOrdinal = [set](StreamObject& o, std::int64_t v) { set(Cast(o), v != 0); };
        return *this;
    }

    template <class Get, class Put>
    TableBuilder& Set(const char* name, std::vector<QByteArray> names, Get get, Put set,
                      std::optional<std::int64_t> declaredDefault = {})
    {
        PropertyRow& r = Add(name, PropertyKind::Set);
        r.names = std::move(names);
        r.declaredDefault = declaredDefault;
        SetOrdinalAccess(r, get, set);
        return *this;
    }

    template <class Get, class Put>
    TableBuilder& Float(const char* name, Get get, Put set, bool single = false)
    {
        PropertyRow& r = Add(name, PropertyKind::Float);
        r.single = single;
        r.getFloat = [get](const StreamObject& o) { return static_cast<double>(get(Cast(o))); };
        r.setFloat = [set](StreamObject& o, double v) { set(Cast(o), v); };
        return *this;
    }

    template <class Get, class Put>
    TableBuilder& Text(const char* name, Get get, Put set) { return Bytes(name, PropertyKind::Text, get, set); }

    template <class Get, class Put>
    TableBuilder& Binary(const char* name, Get get, Put set) { return Bytes(name, PropertyKind::Binary, get, set); }

    template <class Get, class Put>
    TableBuilder& Lines(const char* name, Get get, Put set)
    {
        PropertyRow& r = Add(name, PropertyKind::Lines);
        r.getLines = [get](const StreamObject& o) { return get(Cast(o)); };
        r.setLines = [set](StreamObject& o, const QList<QByteArray>& v) { set(Cast(o), v); };
        return *this;
    }

    // access(T&) returns the owned sub-object (a StreamObject*), or nullptr.
    template <class Access>
    TableBuilder& Object(const char* name, Access access)
    {
        PropertyRow& r = Add(name, PropertyKind::Object);
        r.object = [access](StreamObject& o) -> StreamObject* { return access(Cast(o)); };
        return *this;
    }

    // access(T&) returns the owned collection (a StreamCollection*).
    template <class Access>
    TableBuilder& Collection(const char* name, Access access)
    {
        PropertyRow& r = Add(name, PropertyKind::Collection);
        r.collection = [access](StreamObject& o) -> StreamCollection* { return access(Cast(o)); };
        return *this;
    }

    PropertyTable Build() { return PropertyTable(std::move(rows_)); }

private:
    static T& Cast(StreamObject& o) { return static_cast<T&>(o); }
    static const T& Cast(const StreamObject& o) { return static_cast<const T&>(o); }

    PropertyRow& Add(const char* name, PropertyKind kind)
    {
        rows_.push_back(PropertyRow{});
        rows_.back().name = name;
        rows_.back().kind = kind;
        return rows_.back();
    }

    template <class Get, class Put>
    static void SetOrdinalAccess(PropertyRow& r, Get get, Put set)
    {
        r.getOrdinal = [get](const StreamObject& o) { return static_cast<std::int64_t>(get(Cast(o))); };
        r.setOrdinal = [set](StreamObject& o, std::int64_t v) { set(Cast(o), v); };
    }

    template <class Get, class Put>
    TableBuilder& Bytes(const char* name, PropertyKind kind, Get get, Put set)
    {
        PropertyRow& r = Add(name, kind);
        r.getBytes = [get](const StreamObject& o) { return QByteArray(get(Cast(o))); };
        r.setBytes = [set](StreamObject& o, const QByteArray& v) { set(Cast(o), v); };
        return *this;
    }

    std::vector<PropertyRow> rows_;
};

} // namespace stream
