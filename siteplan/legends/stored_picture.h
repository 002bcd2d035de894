// A picture as a stream sub-object: its graphic is stored as the binary
// "Data" (class name, then the graphic's bytes), written only when the
// picture holds a graphic.
#pragma once

#include "platform/stream/stream_object.h"

#include "platform/picture/picture.h"

namespace legends {

class StoredPicture : public stream::StreamObject {
public:
    explicit StoredPicture(platform::TPicture& picture) : picture_(picture) {}

    const stream::PropertyTable& Properties() const override;

private:
    platform::TPicture& picture_;
};

} // namespace legends
