#pragma once

#include <cstdint>

// The tag byte in front of each value of the tagged value stream.
namespace ValueTag {

constexpr uint8_t EndOfList = 0;
constexpr uint8_t ListBegin = 1;
constexpr uint8_t Integer8 = 2;
constexpr uint8_t Integer16 = 3;
constexpr uint8_t Integer32 = 4;
constexpr uint8_t Extended = 5;
constexpr uint8_t ShortString = 6;
constexpr uint8_t Identifier = 7;
constexpr uint8_t False = 8;
constexpr uint8_t True = 9;
constexpr uint8_t Binary = 10;
constexpr uint8_t Set = 11;
constexpr uint8_t LongString = 12;
constexpr uint8_t Nil = 13;
constexpr uint8_t Collection = 14;
constexpr uint8_t Single = 15;
constexpr uint8_t Currency = 16;
constexpr uint8_t Date = 17;
constexpr uint8_t WideString = 18;
constexpr uint8_t Integer64 = 19;
constexpr uint8_t Utf8String = 20;

} // namespace ValueTag
