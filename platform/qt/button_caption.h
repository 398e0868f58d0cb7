// A button's caption as the classic interface writes it: "&" makes the
// next character the access key, drawn underlined; "&&" is a plain "&".
#pragma once

#include <QString>

#include <cstdint>

namespace platform::qt {

class ButtonCaption {
public:
    ButtonCaption() = default;
    explicit ButtonCaption(const QString& text);

    // The text as written, "&"s and all (the window text); Qt draws it
    // with the same convention (Qt::TextShowMnemonic).
    const QString& text() const { return m_text; }
    // The access character, empty when there is none.
    const QString& accessCharacter() const { return m_access; }
    // Whether a WM_SYSCHAR code is the access character (letters without
    // regard to case).
    bool isAccessKey(std::uint32_t characterCode) const;

private:
    QString m_text;
    QString m_access;
};

} // namespace platform::qt
