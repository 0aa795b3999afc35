// Little-endian field access for the packed records the instrument and our files use.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace r470 {

inline std::uint16_t GetU16(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}
inline std::int16_t GetI16(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::int16_t>(GetU16(b, at));
}
inline void PutU16(std::span<std::uint8_t> b, std::size_t at, std::uint16_t v) {
    b[at] = static_cast<std::uint8_t>(v & 0xFF);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
inline void PutI16(std::span<std::uint8_t> b, std::size_t at, std::int16_t v) {
    PutU16(b, at, static_cast<std::uint16_t>(v));
}

// Fixed-width text field: the bytes as stored, padding kept.
inline std::string GetChars(std::span<const std::uint8_t> b, std::size_t at, std::size_t width) {
    return std::string(reinterpret_cast<const char*>(b.data() + at), width);
}
// Writes exactly `width` bytes: the text cut to the field, the rest filled with `pad`.
inline void PutChars(std::span<std::uint8_t> b, std::size_t at, std::size_t width,
                     const std::string& text, std::uint8_t pad) {
    for (std::size_t i = 0; i < width; ++i)
        b[at + i] = i < text.size() ? static_cast<std::uint8_t>(text[i]) : pad;
}

} // namespace r470
