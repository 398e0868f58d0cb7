// Unit kinds for tests of the framework and the runtime: a plain top-level
// window, a plain child unit, menu items, a kind that has no code and one
// that may not raise events.  Each records the messages it sees.
#pragma once

#include "runtime/handler.h"
#include "runtime/program_info.h"
#include "ui/framework/framework.h"
#include "ui/framework/unit_object.h"

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace testsupport {

inline constexpr std::uint32_t kTestWindowKind = 0x00010001;
inline constexpr std::uint32_t kTestMenuKind = 0x00010003;
inline constexpr std::uint32_t kTestBoxKind = 0x00010005;     // a child unit
inline constexpr std::uint32_t kTestSilentKind = 0x00010006;  // may not raise events
inline constexpr std::uint32_t kTestComboKind = 0x00010007;   // a child window counts as the unit
inline constexpr std::uint32_t kTestMissingKind = 0x00020001; // no code: the placeholder

// Kind-specific properties of the test box: 8 integer, 9 logical, 10 text,
// 11 font, 12 bytes.  Property 13 asks for re-creation when written.
struct TestBoxState {
    std::int64_t integer = 0;
    bool logical = false;
    std::string text;
    platform::LogFont font{};
    std::vector<std::uint8_t> bytes;
    int recreations = 0;
};

class TestBox : public ui::UnitObject {
public:
    using ui::UnitObject::UnitObject;
    TestBoxState state;
    std::vector<std::uint32_t> messages;
    platform::Hwnd child = platform::Hwnd::Null; // for the combo kind
    platform::LResult windowProc(std::uint32_t message, platform::WParam wParam, platform::LParam lParam) override;
};

// Creates the child window of a test unit object as its create routine is
// asked to, with an inner child window when `innerChild` is set.  False
// (the object deleted) when the window cannot be made.
bool CreateChildWindowFor(ui::UnitObject* object, const ui::UnitCreateParams& p, const char* className,
                          platform::Hwnd* innerChild = nullptr);

// Installs the test kinds (once per process) into the framework; a window
// kind given takes the place of the test window.
void InstallTestKinds(const ui::UnitKindDescriptor* windowKind = nullptr);

// A handler table that outlives the tests; references are byte offsets.
class Handlers {
public:
    // Adds a handler and returns its reference.
    std::uint32_t add(const char* name, runtime::HandlerFunction f);
    const runtime::HandlerEntry* at(std::uint32_t ref) const;
    const std::uint8_t* base() const { return reinterpret_cast<const std::uint8_t*>(m_entries.data()); }
    std::size_t size() const { return m_count * sizeof(runtime::HandlerEntry); }

private:
    std::array<runtime::HandlerEntry, 256> m_entries{};
    std::size_t m_count = 0;
};

// Records for windows built in memory.
ui::UnitRecord WindowRecord(std::uint32_t ownId, int width = 300, int height = 200);
ui::UnitRecord BoxRecord(std::uint32_t id, const char* name, int left, int top, int width, int height,
                         std::uint32_t kind = kTestBoxKind);
ui::UnitRecord MenuRecord(std::uint32_t id, const char* caption, int level, std::uint32_t flags = 0);
// Binds a handler to an event of a record (a menu item's click for items).
void Bind(ui::UnitRecord& record, std::int32_t event, const runtime::HandlerEntry* handler);

// Enters a window into the runtime's table, replacing one of the same id.
ui::LoadedWindow& AddWindow(std::uint32_t windowId, std::vector<ui::UnitRecord> records);

// Brings the runtime up in this process once: program information with no
// templates, the framework, the start-up sequence up to the main loop.
void StartRuntimeInProcess(const ui::UnitKindDescriptor* windowKind = nullptr);

// Runs the runtime's message dispatch and the toolkit until `done` holds
// or the time is up.
bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 3000);
void Pump(int milliseconds);

// The live handle of a unit (0: the window itself).
platform::Hwnd HandleOf(std::uint32_t windowId, std::uint32_t unitId = 0);
TestBox* BoxOf(std::uint32_t windowId, std::uint32_t unitId);

} // namespace testsupport
