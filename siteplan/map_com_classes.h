// The shape classes the plan's factory knows, by MapID. Each shape class
// registers its creator in map_com_classes.cpp; a test may register a class
// of its own under a kind no shape uses.
#pragma once

#include <QPoint>

#include <memory>
#include <span>

namespace siteplan {

class TPlaneMap;
class TVyrMapCom;

using TMapComCreator = std::unique_ptr<TVyrMapCom> (*)(TPlaneMap& map, std::span<const QPoint> points);

// The creator of a kind, or null when no class has that MapID.
TMapComCreator FindMapComClass(int mapID);

// Adds or replaces the creator of a kind.
void RegisterMapComClass(int mapID, TMapComCreator creator);

// A creator for any shape class with the base constructor's arguments.
template <class T>
std::unique_ptr<TVyrMapCom> CreateMapComOf(TPlaneMap& map, std::span<const QPoint> points)
{
    return std::make_unique<T>(&map, points);
}

} // namespace siteplan
