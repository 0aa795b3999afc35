// Renders the display to a picture file (BMP or PNG by the file's extension) without a
// window. Needs a QGuiApplication; the offscreen platform will do.
#pragma once

#include "output/picture_job.h"

#include <ostream>
#include <string>

namespace r470 {

// Returns "" on success, else what went wrong. Load problems are also told to `messages`.
std::string RenderPictureFile(const PictureOptions& options, const std::string& outPath,
                              std::ostream& messages);

} // namespace r470
