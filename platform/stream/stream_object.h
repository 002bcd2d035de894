// What the component stream reads and writes: objects that describe their
// published properties with a PropertyTable, collections of such objects,
// and the child components of a root.
//
// Ownership: an object owns its sub-objects, collections and children;
// the reader hands the root it creates to the caller.
#pragma once

#include "property_table.h"

#include <memory>
#include <vector>

namespace stream {

class StreamObject {
public:
    virtual ~StreamObject() = default;

    // The class name stored in front of a root or child object; sub-objects
    // and collection items have none.
    virtual QByteArray ClassName() const { return {}; }
    virtual const PropertyTable& Properties() const = 0;

    // Child components, written after the properties in child order.
    virtual std::vector<const StreamObject*> Children() const { return {}; }
    // Takes a child read from the stream. Objects that keep no stored
    // children let it go.
    virtual void AddChild(std::unique_ptr<StreamObject> child) { child.reset(); }
};

class StreamCollection {
public:
    virtual ~StreamCollection() = default;
    virtual int Count() const = 0;
    virtual StreamObject& Item(int index) = 0;
    virtual void Clear() = 0;
    // Appends an item made by the item constructor and returns it.
    virtual StreamObject& Add() = 0;
};

} // namespace stream
