#include "stored_picture.h"

#include "platform/stream/stream_error.h"

namespace legends {

const stream::PropertyTable& StoredPicture::Properties() const
{
    static const stream::PropertyTable table = stream::TableBuilder<StoredPicture>()
        .Binary("Data",
            [](const StoredPicture& p) { return p.picture_.HasGraphic() ? p.picture_.WriteData() : QByteArray(); },
            [](StoredPicture& p, const QByteArray& data) {
                try {
                    p.picture_.ReadData(data);
                } catch (const platform::EPictureError& e) {
                    throw stream::StreamError(e.Message());
                }
            })
        .Build();
    return table;
}

} // namespace legends
