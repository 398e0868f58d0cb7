// What the framework's tests share: a fixture that brings the runtime up in
// the process and clears the windows table after each test, handlers that
// record how they were called, a few extra unit kinds, and the check that a
// statement ends the program with a given runtime error.
#pragma once

#include "support/test_kinds.h"

#include "platform/types.h"
#include "runtime/handler.h"
#include "runtime/runtime.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace uitest {

// Extra kinds, in a library of their own (number 9).
inline constexpr std::uint32_t kRecordingKind = 0x00090001; // records (message, wParam) pairs
inline constexpr std::uint32_t kInvisibleKind = 0x00090002; // flag 0x8000: no visible window
inline constexpr std::uint32_t kOuterKind = 0x00090003;     // flag 0x200000: its child window is the unit
inline constexpr std::uint32_t kEventsTooKind = 0x00090004; // events through flag 0x04 only

struct SeenMessage {
    std::uint32_t message = 0;
    platform::WParam wParam = 0;
};

class RecordingBox : public ui::UnitObject {
public:
    using ui::UnitObject::UnitObject;
    std::vector<SeenMessage> seen;
    platform::Hwnd inner = platform::Hwnd::Null; // the outer kind's child window
    platform::LResult windowProc(std::uint32_t message, platform::WParam wParam, platform::LParam lParam) override;
    int count(std::uint32_t message) const;

    // The stages of the window's opening, noted in Stages().
    void loadComplete() override;
    void windowShown() override;
    void showInitially() override;
};

// What recording boxes noted, in order: "load", "show" and "shown" with
// the unit's serial number, e.g. "load 12".
std::vector<std::string>& Stages();

void InstallExtraKinds();

// One handler call as a recording handler saw it.
struct Call {
    int tag = 0; // which recording handler
    std::vector<std::int64_t> args;
    std::vector<std::uint32_t> types;
    runtime::EventSource source;
};

struct Recorder {
    std::vector<Call> calls;
    runtime::HandlerResult answer;         // what the recording handlers give back
    std::function<void()> during;          // run inside every recording handler
};
Recorder& Recorded();

// Handlers that record their call under a tag and give back the recorder's
// answer.
runtime::HandlerFunction RecordingHandler(int tag);

class UiTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // A recording handler entered into this test's handler table.
    const runtime::HandlerEntry* recording(int tag);
    const runtime::HandlerEntry* handler(const char* name, runtime::HandlerFunction f);

    testsupport::Handlers handlers;
};

// Opens a window built in memory and fails the test when it does not open.
ui::LoadedWindow& OpenWindow(std::uint32_t windowId, std::vector<ui::UnitRecord> records);

// In the child process of a death test: answers the error box, and tells
// the parent on stderr whether it showed `message`.
void ReportErrorBoxes(const std::string& message);

inline constexpr const char* kErrorBoxSeen = "error box with the expected message";

} // namespace uitest

// The statement ends the program through the runtime error report with the
// given message: the error box shows it and the exit code is -1.
#define EXPECT_RUNTIME_ERROR(statement, message)                                                                     \
    EXPECT_EXIT(                                                                                                       \
        {                                                                                                              \
            ::uitest::ReportErrorBoxes(message);                                                                       \
            statement;                                                                                                 \
        },                                                                                                             \
        ::testing::ExitedWithCode(255), ::uitest::kErrorBoxSeen)
