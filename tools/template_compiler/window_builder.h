// Builds one window's template from its description.
#pragma once

#include "tools/template_compiler/build_context.h"
#include "tools/template_compiler/description.h"
#include "ui/framework/template_block.h"

#include <variant>

namespace tc {

using BuildResult = std::variant<ui::WindowTemplate, Failure>;

BuildResult BuildWindow(const Description& description, const BuildContext& context);

} // namespace tc
