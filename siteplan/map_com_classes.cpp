#include "map_com_classes.h"

#include "siteplan/shapes/vyr_arc.h"
#include "siteplan/shapes/vyr_ellipse.h"
#include "siteplan/shapes/vyr_line.h"
#include "siteplan/shapes/vyr_picture.h"
#include "siteplan/shapes/vyr_rectangle.h"
#include "siteplan/shapes/vyr_round_rect_range.h"

#include <map>

namespace siteplan {

namespace {

// The shape classes of the program, by MapID: each class adds its line to
// the initialiser.
std::map<int, TMapComCreator>& Classes()
{
    static std::map<int, TMapComCreator> classes = {
        {TVYRLine::Kind, &CreateMapComOf<TVYRLine>},
        {TVyrEllipse::Kind, &CreateMapComOf<TVyrEllipse>},
        {TVYRRectangle::Kind, &CreateMapComOf<TVYRRectangle>},
        {TVYRRoundRectRangle::Kind, &CreateMapComOf<TVYRRoundRectRangle>},
        {TVyrPicture::Kind, &CreateMapComOf<TVyrPicture>},
        {TVyrArc::Kind, &CreateMapComOf<TVyrArc>},
    };
    return classes;
}

} // namespace

TMapComCreator FindMapComClass(int mapID)
{
    const auto it = Classes().find(mapID);
    return it == Classes().end() ? nullptr : it->second;
}

void RegisterMapComClass(int mapID, TMapComCreator creator)
{
    Classes()[mapID] = creator;
}

} // namespace siteplan
