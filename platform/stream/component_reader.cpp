#include "component_reader.h"

#include "class_registry.h"
#include "stream_error.h"
#include "value_reader.h"

#include "platform/gbk_text.h"

#include <limits>

namespace stream {

namespace {

constexpr std::uint8_t prefixMark = 0xF0;
constexpr std::uint8_t childPositionFlag = 0x02;

const std::vector<QByteArray>& BooleanNames()
{
    static const std::vector<QByteArray> names{"False", "True"};
    return names;
}

std::int64_t MemberIndex(const std::vector<QByteArray>& names, QByteArrayView name)
{
    for (std::size_t i = 0; i < names.size(); ++i)
        if (name.compare(QByteArrayView(names[i]), Qt::CaseInsensitive) == 0)
            return static_cast<std::int64_t>(i);
    ThrowInvalidValue();
}

class ComponentReader {
public:
    explicit ComponentReader(QByteArrayView data) : r_(data) {}

    std::unique_ptr<StreamObject> ReadObject(int depth)
    {
        if (depth > MaxNestingDepth)
            ThrowReadError();
        const std::uint8_t first = r_.PeekByte();
        if ((first & prefixMark) == prefixMark) {
            r_.Byte();
            if ((first & childPositionFlag) != 0 && !r_.Integer(r_.Tag()))
                ThrowReadError();
        }
        const QByteArrayView className = r_.ShortText();
        const QString objectName = platform::FromGbk(r_.ShortText());
        std::unique_ptr<StreamObject> object = CreateObject(className);
        if (!object)
            ThrowClassNotFound(platform::FromGbk(className));
        ReadProperties(*object, objectName, depth);
        while (r_.PeekByte() != 0)
            object->AddChild(ReadObject(depth + 1));
        r_.Byte();
        return object;
    }

private:
    void ReadProperties(StreamObject& object, const QString& objectName, int depth)
    {
        while (r_.PeekByte() != 0) {
            const QByteArray name = r_.ShortText().toByteArray();
            try {
                ReadProperty(object, name, depth);
            } catch (const StreamError& e) {
                if (e.Final())
                    throw;
                throw StreamError(PropertyErrorText(objectName, platform::FromGbk(name), e.Message()));
            }
        }
        r_.Byte();
    }

    void ReadProperty(StreamObject& object, const QByteArray& path, int depth)
    {
        const QList<QByteArray> segments = path.split('.');
        StreamObject* target = &object;
        for (qsizetype i = 0; i + 1 < segments.size(); ++i) {
            const PropertyRow* row = target->Properties().Find(segments[i]);
            if (!row)
                ThrowUnknownProperty();
            if (row->kind != PropertyKind::Object)
                ThrowInvalidPath();
            target = row->object(*target);
            if (!target)
                ThrowInvalidPath();
        }
        const PropertyRow* row = target->Properties().Find(segments.back());
        if (!row)
            ThrowUnknownProperty();
        ReadValue(*target, *row, depth);
    }

    void ReadValue(StreamObject& object, const PropertyRow& row, int depth)
    {
        const ValueTag tag = r_.Tag();
        switch (row.kind) {
        case PropertyKind::Integer: {
            std::int64_t value = 0;
            if (const auto i = r_.Integer(tag)) {
                value = *i;
            } else {
                const auto ident = row.idents ? r_.Ident(tag) : std::nullopt;
                const auto named = ident ? row.idents->fromName(*ident) : std::nullopt;
                if (!named)
                    ThrowInvalidValue();
                value = *named;
            }
            if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max())
                ThrowInvalidValue();
            row.setOrdinal(object, value);
            return;
        }
        case PropertyKind::Enumeration:
        case PropertyKind::Boolean: {
            const auto ident = r_.Ident(tag);
            if (!ident)
                ThrowInvalidValue();
            const auto& names = row.kind == PropertyKind::Boolean ? BooleanNames() : row.names;
            row.setOrdinal(object, MemberIndex(names, *ident));
            return;
        }
        case PropertyKind::Set: {
            if (tag != ValueTag::Set)
                ThrowInvalidValue();
            std::uint64_t mask = 0;
            for (QByteArrayView member = r_.ShortText(); !member.isEmpty(); member = r_.ShortText()) {
                const std::int64_t index = MemberIndex(row.names, member);
                if (index >= 63)
                    ThrowInvalidValue();
                mask |= std::uint64_t{1} << index;
            }
            row.setOrdinal(object, static_cast<std::int64_t>(mask));
            return;
        }
        case PropertyKind::Float: {
            const auto value = r_.Float(tag, row.single);
            if (!value)
                ThrowInvalidValue();
            row.setFloat(object, *value);
            return;
        }
        case PropertyKind::Text: {
            const auto text = r_.Text(tag);
            if (!text)
                ThrowInvalidValue();
            row.setBytes(object, *text);
            return;
        }
        case PropertyKind::Lines: {
            if (tag != ValueTag::List)
                ThrowInvalidValue();
            QList<QByteArray> lines;
            while (r_.PeekTag() != ValueTag::Null) {
                const auto line = r_.Text(r_.Tag());
                if (!line)
                    ThrowInvalidValue();
                lines.append(*line);
            }
            r_.Byte();
            row.setLines(object, lines);
            return;
        }
        case PropertyKind::Binary: {
            if (tag != ValueTag::Binary)
                ThrowInvalidValue();
            const QByteArray bytes = r_.Take(r_.Int32()).toByteArray();
            row.setBytes(object, bytes);
            return;
        }
        case PropertyKind::Object:
            ThrowInvalidValue();
        case PropertyKind::Collection: {
            StreamCollection* collection = tag == ValueTag::Collection ? row.collection(object) : nullptr;
            if (!collection)
                ThrowInvalidValue();
            ReadCollection(*collection, depth + 1);
            return;
        }
        }
    }

    void ReadCollection(StreamCollection& collection, int depth)
    {
        if (depth > MaxNestingDepth)
            ThrowReadError();
        bool first = true;
        while (r_.PeekByte() != 0) {
            ValueTag tag = r_.Tag();
            if (r_.Integer(tag)) // the item's order index, not used
                tag = r_.Tag();
            if (tag != ValueTag::List)
                ThrowInvalidValue();
            if (first) {
                collection.Clear();
                first = false;
            }
            ReadProperties(collection.Add(), QString(), depth);
        }
        r_.Byte();
    }

    ValueReader r_;
};

} // namespace

std::unique_ptr<StreamObject> ReadComponent(QByteArrayView data)
{
    if (!data.startsWith(QByteArrayView(Signature, sizeof Signature)))
        ThrowInvalidFormat();
    ComponentReader reader(data.sliced(sizeof Signature));
    return reader.ReadObject(0);
}

} // namespace stream
