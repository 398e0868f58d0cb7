// How the description of a unit's kind-specific settings becomes the
// kind's stored data.  One binding per kind, derived from the kind's own
// description: each takes the keys it knows from the section (marking them
// used) and writes the kind data block.
#pragma once

#include "tools/template_compiler/build_context.h"
#include "tools/template_compiler/description.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tc {

struct KindBinding {
    using Builder = std::function<std::optional<Failure>(const Section& section, const BuildContext& context,
                                                         const std::string& file, std::vector<std::uint8_t>& kindData)>;
    std::string name;     // as written in [unit id Kind name]
    std::uint32_t kindId = 0;
    Builder build;        // fills the kind data; a failure names the offending line
    std::vector<std::string> repeatableKeys; // keys given once per record
    std::vector<std::int32_t> events;        // the kind's own events
    bool hasWindow = true;                   // ... and the common ones

    // Whether `on N` may bind event N of this kind.
    bool raises(std::int32_t event) const;
};

// The kinds the compiler knows, the window kind among them.
const std::vector<KindBinding>& KindBindings();
const KindBinding* FindKindBinding(const std::string& name);
const KindBinding* FindKindBinding(std::uint32_t kindId);

} // namespace tc
