// Names under which integer properties of the colour, cursor and character
// set types are stored: a value that has a name is written as its
// identifier, any other value as a plain integer.
#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>
#include <optional>

namespace stream {

struct IdentNames {
    std::optional<QByteArray> (*toName)(std::int32_t value);
    std::optional<std::int32_t> (*fromName)(QByteArrayView name); // any letter case
};

extern const IdentNames ColorNames;   // clBlack, clWindow, clNone, ...
extern const IdentNames CursorNames;  // crDefault, crSizeAll, ...
extern const IdentNames CharsetNames; // DEFAULT_CHARSET, GB2312_CHARSET, ...

constexpr std::int32_t clNone = 0x1FFFFFFF;
constexpr std::int32_t clDefault = 0x20000000;
constexpr std::int32_t DEFAULT_CHARSET = 1;
constexpr std::int32_t GB2312_CHARSET = 134;
constexpr std::int32_t crDefault = 0;
constexpr std::int32_t crSizeNS = -7;
constexpr std::int32_t crHandPoint = -21;
constexpr std::int32_t crSizeAll = -22;

} // namespace stream
