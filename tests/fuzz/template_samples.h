// Window templates for tests of the block reader and for the fuzzer's seed
// corpus: windows with units, menu items, event bindings and child lists.
#pragma once

#include "ui/framework/template_block.h"

#include <string>
#include <vector>

namespace templatetest {

struct Sample {
    std::string name;
    std::vector<ui::WindowTemplate> windows;
};

// The samples, each a valid block when written.  Handler references are
// -1 or multiples of the handler entry size below 4 entries.
std::vector<Sample> Samples();

// One window with its own unit, a menu, a container with a paged child
// list, units in it and bindings: the richest sample.
std::vector<ui::WindowTemplate> RichSample();

} // namespace templatetest
