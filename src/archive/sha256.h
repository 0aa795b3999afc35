// SHA-256 of a waveform's bytes: what the archive files a test under and checks it by.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace r470 {

using Sha256Digest = std::array<std::uint8_t, 32>;

Sha256Digest Sha256(std::span<const std::uint8_t> bytes);
// 64 lower-case hex digits.
std::string Sha256Hex(std::span<const std::uint8_t> bytes);

} // namespace r470
