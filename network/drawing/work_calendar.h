// The working-day calendar of a network: which dates are rest days, how many
// working days lie in a span, and the date of the n-th working day. Dates
// are day serials (days since 1899-12-30) that may carry a time of day as
// their fraction.
#pragma once

#include <cstdint>
#include <initializer_list>

namespace network {

// Members of the rest-day set, by bit position.
enum TRecessDay : std::uint8_t { rdSunday, rdSaturday, rdNational, rdNewyear, rdLabor };

// A set of TRecessDay members; bit n is member n.
class TRecessDate {
public:
    constexpr TRecessDate() = default;
    constexpr TRecessDate(std::initializer_list<TRecessDay> days)
    {
        for (const TRecessDay day : days)
            m_bits = static_cast<std::uint8_t>(m_bits | (1u << day));
    }
    static constexpr TRecessDate FromBits(std::uint8_t bits)
    {
        TRecessDate set;
        set.m_bits = static_cast<std::uint8_t>(bits & 0x1Fu);
        return set;
    }
    constexpr std::uint8_t Bits() const { return m_bits; }
    constexpr bool Contains(TRecessDay day) const { return (m_bits >> day) & 1u; }
    friend constexpr bool operator==(TRecessDate, TRecessDate) = default;

private:
    std::uint8_t m_bits = 0;
};

// False on a chosen rest day: a Sunday or Saturday, 1 to 3 October, 1 and
// 2 January, 1 to 3 May. The holiday ranges end at the start of their last
// day, so a date with a time of day on 3 May is a working day. Dates
// outside years 1 to 9999 are working days.
bool IsWorkDay(double date, TRecessDate rest);

// Working days d with from <= d <= to, counted day by day; 0 when from > to.
// The span is cut to years 1 to 9999.
std::int32_t CountWorkDays(double from, double to, TRecessDate rest);

// The n-th working day counted from start (start itself being the first
// candidate); start when n <= 0. The walk never passes 9999-12-31: a count
// that runs past it gives that date.
double WorkDayToDate(std::int64_t n, double start, TRecessDate rest);

} // namespace network
