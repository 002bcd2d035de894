// Durations and node offsets are kept as whole multiples of half a day.
#pragma once

namespace network {

// Round(value / 0.5) * 0.5 in single precision, halves to even
// (2.25 -> 2.0, 2.75 -> 3.0). Values too large to carry a fraction are
// returned as they are.
float RoundToHalfDay(float value);

} // namespace network
