#include "stored_strings.h"

namespace stream {

int StoredStrings::IndexOf(const QString& text) const
{
    for (int i = 0; i < Count(); ++i)
        if (Text(i) == text)
            return i;
    return -1;
}

const PropertyTable& StoredStrings::Properties() const
{
    static const PropertyTable table = TableBuilder<StoredStrings>()
        .Lines("Strings",
            [](const StoredStrings& s) {
                QList<QByteArray> lines;
                for (const auto& line : s.Lines)
                    lines.append(line.Bytes());
                return lines;
            },
            [](StoredStrings& s, const QList<QByteArray>& lines) {
                s.Lines.clear();
                for (const QByteArray& line : lines)
                    s.Lines.append(platform::StoredText::FromBytes(line));
            })
        .Build();
    return table;
}

} // namespace stream
