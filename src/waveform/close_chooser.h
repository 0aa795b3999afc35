// The close dialog as the commands see it.
#pragma once

#include <array>
#include <optional>
#include <string>

namespace r470 {

// Which of the four slots to close, or nothing when cancelled.
class CloseChooser {
  public:
    virtual ~CloseChooser() = default;
    virtual std::optional<std::array<bool, 4>>
    ChooseClose(const std::array<std::string, 4>& fileNames) = 0;
};

} // namespace r470
