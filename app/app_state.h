// The texts the handlers share: what the node window adds to, what the
// node and content windows are opened for, whether the list shows a
// category's entries, the statement last built, and the entry the
// content window shows.  They live on the runtime heap and are freed by
// the program's clean-up routine.
#pragma once

#include <string>
#include <string_view>

namespace app {

class TextVariable {
public:
    void set(std::string_view text);
    std::string_view get() const;
    void release();

private:
    char* m_text = nullptr;
};

struct AppState {
    TextVariable nodeAddTarget; // "-1": the node window adds a top-level node
    TextVariable windowMode;    // 添加菜单, 修改菜单, 添加外链, 修改外链
    TextVariable listMode;      // 外链 once a category was selected
    TextVariable statement;     // the current statement
    // The key of the entry the content window was prepared with: the one
    // its change writes, whichever row of the list is current by then.
    TextVariable entryShown;
};

AppState& State();
// The clean-up routine: frees the texts.
void FreeGlobalTexts();

} // namespace app
