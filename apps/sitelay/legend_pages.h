// Placing a legend symbol: the picture shape of one item of the legend
// library, read afresh from its file for every placement.
#pragma once

#include <QPoint>
#include <QString>

#include <memory>
#include <span>

namespace siteplan {
class TPlaneMap;
class TVyrMapCom;
} // namespace siteplan

namespace sitelay {

// The picture of legend item index at the creation points; none for an
// index the library does not hold or an item without a picture. A library
// file that cannot be read is reported through the plan's services.
std::unique_ptr<siteplan::TVyrMapCom> CreateLegendPicture(siteplan::TPlaneMap& map, const QString& libraryFile,
                                                          int index, std::span<const QPoint> points);

} // namespace sitelay
