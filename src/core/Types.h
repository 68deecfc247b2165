// The integer types every layer shares, and the clamp that keeps numbers
// from outside inside the range of a 32-bit setting.
#pragma once

#include <cstdint>

using u64 = std::uint64_t;
using u32 = std::uint32_t;
using u16 = std::uint16_t;
using u8 = std::uint8_t;
using i8 = std::int8_t;
using i16 = std::int16_t;
using i32 = std::int32_t;
using i64 = std::int64_t;

// The value, saturated to the range of a 32-bit setting.
inline i32 ClampToI32(long long v) { return i32(v > INT32_MAX ? INT32_MAX : v < INT32_MIN ? INT32_MIN : v); }
