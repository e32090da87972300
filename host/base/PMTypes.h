// Basic types shared by the host and its plug-ins.
#pragma once

#include <cstdint>

using int16 = int16_t;
using int32 = int32_t;
using int64 = int64_t;
using uint8 = uint8_t;
using uint16 = uint16_t;
using uint32 = uint32_t;
using uint64 = uint64_t;
using uchar = unsigned char;
using UTF16TextChar = char16_t;
using UTF32TextChar = char32_t;

// Lengths in points and angles in degrees.
using PMReal = double;

// Result of a host call or a command; kSuccess is the only success value.
using ErrorCode = int32;
constexpr ErrorCode kSuccess = 0;
constexpr ErrorCode kFailure = 1;
constexpr ErrorCode kCancel = 2;
constexpr ErrorCode kOutOfMemoryError = 3;
constexpr ErrorCode kFileNotFoundError = 4;
constexpr ErrorCode kIOReadError = 5;
constexpr ErrorCode kIOWriteError = 6;
constexpr ErrorCode kInvalidParameterError = 7;

// Magnitudes of lengths and angles up to this are taken as zero when compared.
constexpr PMReal kPMRealEpsilon = 1e-8;
