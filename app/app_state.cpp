#include "app/app_state.h"

#include "runtime/memory.h"

namespace app {

void TextVariable::set(std::string_view text)
{
    char* old = m_text;
    m_text = runtime::NewText(text);
    runtime::Free(old);
}

std::string_view TextVariable::get() const
{
    return runtime::TextOf(m_text);
}

void TextVariable::release()
{
    runtime::Free(m_text);
    m_text = nullptr;
}

AppState& State()
{
    static AppState state;
    return state;
}

void FreeGlobalTexts()
{
    AppState& s = State();
    for (TextVariable* t : {&s.nodeAddTarget, &s.windowMode, &s.listMode, &s.statement, &s.entryShown})
        t->release();
}

} // namespace app
