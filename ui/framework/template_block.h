// The template block: every window of the program with its units, menu
// items and event bindings, as the build stores it.
//
// Layout (all integers 32-bit little-endian; a text is GBK bytes ended by
// one zero byte; a counted block or text is a 32-bit length and the bytes):
//   directory length B (8 per window), B/2 bytes of ascending window ids,
//   B/2 bytes of reserved slots; then per window: reserved, program set id,
//   two counted texts, unit count N, table length S, N unit ids, N record
//   offsets (from the first record's length field), and N records, each a
//   32-bit length and its bytes.
#pragma once

#include "ui/framework/loaded_window.h"
#include "ui/framework/unit_record.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace ui {

struct WindowTemplate {
    std::uint32_t id = 0;
    std::uint32_t programSetId = 0;
    std::int32_t reserved = 0;
    std::string firstText;
    std::string secondText;
    std::vector<UnitRecord> records; // entry 0: the window's own unit
};

struct TemplateParse {
    std::vector<WindowTemplate> windows;
    std::string error; // empty when the block was read whole
};

// Reads the block strictly in order; every length, count and offset is
// checked against the block, and the read must end exactly at its end.
// Handler references are kept as stored (not resolved).
TemplateParse ParseTemplateBlock(std::span<const std::uint8_t> block);

// Writes the block the parser reads (handler references as stored).
std::vector<std::uint8_t> WriteTemplateBlock(std::span<const WindowTemplate> windows);

// The application's handler table, which handler references index by byte
// offset.
struct HandlerTable {
    const std::uint8_t* base = nullptr;
    std::size_t size = 0;
};

// Turns references into handlers: kNoHandler becomes none, any other value
// must be the offset of an entry of the table.
bool ResolveHandlers(WindowTemplate& window, HandlerTable table, std::string& error);

struct TemplateReadResult {
    std::vector<std::unique_ptr<LoadedWindow>> windows;
    std::string error;
};

// Parse, resolve, and make the loaded windows.
TemplateReadResult ReadTemplateBlock(std::span<const std::uint8_t> block, HandlerTable table);

} // namespace ui
