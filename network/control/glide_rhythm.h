// The rhythm of a flow process as the user types it: a decimal number in
// the C locale (leading blanks, an optional sign, digits with a point, an
// optional exponent, nothing after), greater than zero and finite in single
// precision.
#pragma once

#include <QString>

#include <optional>

namespace network {

// The rhythm of text, or nullopt with the refusal in message.
std::optional<float> ParseRhythm(const QString& text, QString& message);

} // namespace network
