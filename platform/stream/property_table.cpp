#include "property_table.h"

namespace stream {

const PropertyRow* PropertyTable::Find(QByteArrayView name) const
{
    for (const PropertyRow& row : rows_)
        if (name.compare(QByteArrayView(row.name), Qt::CaseInsensitive) == 0)
            return &row;
    return nullptr;
}

} // namespace stream
