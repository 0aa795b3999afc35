// The settings file sits beside the program where anything may overwrite it: any bytes must
// decode or be refused, and a decoded record must encode back to the same values.
#include "shell/settings.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto s = r470::DecodeSettings(std::span(data, size));
    if (size < r470::kSettingsSize) {
        if (s)
            std::abort();
        return 0;
    }
    if (!s)
        std::abort();
    auto bytes = r470::EncodeSettings(*s);
    auto back = r470::DecodeSettings(bytes);
    if (!back || !(*back == *s))
        std::abort();
    return 0;
}
