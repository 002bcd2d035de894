// A string list as a stream sub-object: its lines are stored as
// "<Name>.Strings", written only when there is at least one line. Each line
// keeps the bytes it was read with.
#pragma once

#include "stream_object.h"

#include "platform/gbk_text.h"

#include <QList>
#include <QString>

namespace stream {

class StoredStrings : public StreamObject {
public:
    QList<platform::StoredText> Lines;

    int Count() const { return static_cast<int>(Lines.size()); }
    QString Text(int index) const { return Lines[index].Text(); }
    void Append(const QString& text) { Lines.append(platform::StoredText(text)); }
    // The index of the line equal to text (exact match), or -1.
    int IndexOf(const QString& text) const;

    const PropertyTable& Properties() const override;
};

} // namespace stream
