#include "NumberFormatter.h"

#include <charconv>
#include <cmath>

namespace {
constexpr PMReal kScale = 1e6;           // a millionth of a point
constexpr PMReal kRoundingLimit = 1e12;  // above this every double step is coarser than kScale
}

std::string NumberFormatter::FormatReal(PMReal value)
{
    if (!std::isfinite(value)) return "0";
    if (std::fabs(value) < kRoundingLimit) value = std::round(value * kScale) / kScale;
    if (value == 0) return "0";  // also turns -0 into 0
    char buffer[400];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    if (result.ec != std::errc()) return "0";
    return std::string(buffer, result.ptr);
}

std::string NumberFormatter::FormatInteger(int64 value) { return std::to_string(value); }
