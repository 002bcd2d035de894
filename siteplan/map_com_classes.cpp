#include "map_com_classes.h"

#include "siteplan/shapes/vyr_b_splines.h"
#include "siteplan/shapes/vyr_curve.h"
#include "siteplan/shapes/vyr_line.h"
#include "siteplan/shapes/vyr_muliangle.h"
#include "siteplan/shapes/vyr_wei_qiang.h"

#include <map>

namespace siteplan {

namespace {

// The shape classes of the program, by MapID: each class adds its line to
// the initialiser.
std::map<int, TMapComCreator>& Classes()
{
    static std::map<int, TMapComCreator> classes = {
        {TVYRLine::Kind, &CreateMapComOf<TVYRLine>},
        {TVYRCurve::Kind, &CreateMapComOf<TVYRCurve>},
        {TVYRMuliangle::Kind, &CreateMapComOf<TVYRMuliangle>},
        {TVYRBSplines::Kind, &CreateMapComOf<TVYRBSplines>},
        {TVYRWeiQiang::Kind, &CreateMapComOf<TVYRWeiQiang>},
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
