// What the child process of a death test tells its parent: the message
// boxes it was shown (each answered with OK) and the marks it writes, all
// on standard error, which the parent matches.
#pragma once

#include "platform/messages.h"
#include "platform/testing/ui_driver.h"

#include <cstdio>
#include <string>

namespace runtimetest {

// Every box is written as "[box caption=C style=0xS]TEXT[/box]".
inline void AnswerBoxesOnStderr()
{
    platform::testing::AnswerMessageBoxes([](const platform::testing::MessageBoxInfo& box) {
        std::fprintf(stderr, "[box caption=%s style=0x%X]%s[/box]\n", box.caption.c_str(), unsigned(box.style),
                     box.text.c_str());
        return int(platform::IDOK);
    });
}

inline void Mark(const std::string& text)
{
    std::fprintf(stderr, "%s\n", text.c_str());
}

// The box the parent expects for a report of `text`.
inline std::string ErrorBox(const std::string& text)
{
    return "[box caption=错误 style=0x10]" + text + "[/box]";
}

} // namespace runtimetest
