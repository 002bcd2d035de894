// A hash of a key made of integers, for the canvas's caches of figures.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform {

struct IntKeyHash {
    std::size_t operator()(const std::vector<int>& key) const
    {
        std::size_t hash = key.size();
        for (const int value : key)
            hash = hash * 0x100000001B3ull ^ static_cast<std::uint32_t>(value);
        return hash;
    }
};

} // namespace platform
