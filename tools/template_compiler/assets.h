// Values that name files: pictures, icons, sounds, and image lists packed
// from picture files.
#pragma once

#include "tools/template_compiler/build_context.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace tc {

// file("path") → the file's bytes; imagelist("a.png", ...) → an image list
// block ("MITL", 4 bytes, the image list stream) of the pictures, which
// must all have one size.
std::optional<Failure> BytesValue(const Value& v, const BuildContext& ctx, const std::string& file,
                                  std::vector<std::uint8_t>& out);

} // namespace tc
