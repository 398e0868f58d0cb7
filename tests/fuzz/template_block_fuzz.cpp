// Fuzz entry for the template block reader.  Whatever the bytes, parsing
// either fails with a message and no windows, or succeeds; a block that
// parses is written out again, and that block must parse to the same
// windows and write out byte for byte the same.  Handler references that
// resolve must land on an entry of the table.

#include "template_compare.h"

#include "runtime/handler.h"
#include "ui/framework/template_block.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void fail(const char* what, const std::string& detail = {})
{
    std::fprintf(stderr, "template block fuzz: %s %s\n", what, detail.c_str());
    std::abort();
}

void checkResolution(ui::WindowTemplate window)
{
    static const runtime::HandlerEntry kTable[4] = {};
    const auto* base = reinterpret_cast<const std::uint8_t*>(kTable);
    ui::HandlerTable table{base, sizeof kTable};
    std::string error;
    if (!ui::ResolveHandlers(window, table, error)) {
        if (error.empty())
            fail("handler resolution failed without a message");
        return;
    }
    auto check = [&](std::uint32_t ref, const runtime::HandlerEntry* h) {
        if (ref == ui::kNoHandler ? h != nullptr : h != &kTable[ref / sizeof(runtime::HandlerEntry)])
            fail("handler reference resolved wrongly");
    };
    for (const ui::UnitRecord& u : window.records) {
        check(u.clickHandlerRef, u.clickHandler);
        for (const ui::EventBinding& b : u.bindings)
            check(b.handlerRef, b.handler);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ui::TemplateParse first = ui::ParseTemplateBlock({data, size});
    if (!first.error.empty()) {
        if (!first.windows.empty())
            fail("a failed parse kept windows");
        return 0;
    }
    for (const ui::WindowTemplate& w : first.windows) {
        if (w.records.empty() || !w.records[0].isOwnUnit())
            fail("a window without its own unit first");
        checkResolution(w);
    }
    std::vector<std::uint8_t> written = ui::WriteTemplateBlock(first.windows);
    ui::TemplateParse second = ui::ParseTemplateBlock(written);
    if (!second.error.empty())
        fail("the written block does not parse:", second.error);
    if (std::string d = templatetest::TemplateDifference(first.windows, second.windows); !d.empty())
        fail("the written block reads differently:", d);
    if (ui::WriteTemplateBlock(second.windows) != written)
        fail("writing twice gives different blocks");
    return 0;
}
