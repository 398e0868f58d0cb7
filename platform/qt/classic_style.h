// The look of the standard controls: Qt's "Windows" style, the classic
// bevels and arrows, with what a control may vary per window (the
// character a password box shows, a combo box without its arrow).
#pragma once

#include <QProxyStyle>

namespace platform::qt {

class ClassicStyle : public QProxyStyle {
public:
    struct Variant {
        char32_t passwordCharacter = U'*';
        bool comboArrow = true;
        friend bool operator==(const Variant&, const Variant&) = default;
    };

    // One shared style per variant, alive for the whole process: widgets do
    // not own their style, and a widget may be torn down after whatever
    // created it.
    static ClassicStyle* get(const Variant& variant);
    static ClassicStyle* get();

    const Variant& variant() const { return m_variant; }

    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override;
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl part,
                         const QWidget* widget) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                            const QWidget* widget) const override;

private:
    explicit ClassicStyle(const Variant& variant);
    Variant m_variant;
};

} // namespace platform::qt
