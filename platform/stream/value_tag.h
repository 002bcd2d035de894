// The tag byte in front of every value of the component stream.
#pragma once

#include <cstdint>

namespace stream {

enum class ValueTag : std::uint8_t {
    Null = 0x00,
    List = 0x01,
    Int8 = 0x02,
    Int16 = 0x03,
    Int32 = 0x04,
    Extended = 0x05,
    String = 0x06,
    Ident = 0x07,
    False = 0x08,
    True = 0x09,
    Binary = 0x0A,
    Set = 0x0B,
    LString = 0x0C,
    Nil = 0x0D,
    Collection = 0x0E,
    Single = 0x0F,
    Currency = 0x10,
    Date = 0x11,
    WideString = 0x12,
    Int64 = 0x13,
};

// The four bytes every stream starts with.
inline constexpr char Signature[4] = {'T', 'P', 'F', '0'};

} // namespace stream
