#include "platform/qt/button_caption.h"

#include "platform/qt/input.h"

namespace platform::qt {

ButtonCaption::ButtonCaption(const QString& text) : m_text(text)
{
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text.at(i) != QLatin1Char('&'))
            continue;
        if (text.at(i + 1) == QLatin1Char('&')) {
            ++i; // "&&": a plain "&"
            continue;
        }
        qsizetype units = text.at(i + 1).isHighSurrogate() && i + 2 < text.size() ? 2 : 1;
        m_access = text.mid(i + 1, units);
        return;
    }
}

bool ButtonCaption::isAccessKey(std::uint32_t characterCode) const
{
    if (m_access.isEmpty() || characterCode == 0)
        return false;
    return unpackCharCode(characterCode).compare(m_access, Qt::CaseInsensitive) == 0;
}

} // namespace platform::qt
