#include "platform/qt/classic_style.h"

#include <QPainter>
#include <QStyleFactory>
#include <QStyleOptionComboBox>

#include <memory>
#include <vector>

namespace platform::qt {

ClassicStyle::ClassicStyle(const Variant& variant) : QProxyStyle(QStyleFactory::create(QStringLiteral("Windows"))),
                                                     m_variant(variant)
{
}

ClassicStyle* ClassicStyle::get(const Variant& variant)
{
    static std::vector<std::unique_ptr<ClassicStyle>> styles;
    for (const auto& s : styles)
        if (s->m_variant == variant)
            return s.get();
    styles.push_back(std::unique_ptr<ClassicStyle>(new ClassicStyle(variant)));
    return styles.back().get();
}

ClassicStyle* ClassicStyle::get()
{
    return get(Variant{});
}

int ClassicStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                            QStyleHintReturn* returnData) const
{
    switch (hint) {
    case SH_LineEdit_PasswordCharacter:
        return int(m_variant.passwordCharacter);
    case SH_ComboBox_Popup:
        return 0; // the list drops below the field, never over it
    default:
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
}

QRect ClassicStyle::subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl part,
                                   const QWidget* widget) const
{
    if (control == CC_ComboBox && !m_variant.comboArrow) {
        // A simple combo box: the field takes the whole width.
        if (part == SC_ComboBoxArrow)
            return {};
        if (part == SC_ComboBoxEditField)
            return option->rect.adjusted(2, 2, -2, -2);
    }
    return QProxyStyle::subControlRect(control, option, part, widget);
}

void ClassicStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                                      const QWidget* widget) const
{
    const auto* combo = control == CC_ComboBox ? qstyleoption_cast<const QStyleOptionComboBox*>(option) : nullptr;
    if (!combo) {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        return;
    }
    // The "Windows" style fills the whole box with the button colour; the
    // classic field has the field's own background, only its arrow the
    // button face.  The painter's pen is the caption's colour afterwards.
    painter->save();
    QStyleOptionComboBox field = *combo;
    field.subControls &= ~SC_ComboBoxArrow;
    field.palette.setBrush(QPalette::Button, combo->palette.brush(QPalette::Base));
    QProxyStyle::drawComplexControl(control, &field, painter, widget);
    if (m_variant.comboArrow && (combo->subControls & SC_ComboBoxArrow)) {
        QStyleOptionComboBox arrow = *combo;
        arrow.subControls = SC_ComboBoxArrow;
        QProxyStyle::drawComplexControl(control, &arrow, painter, widget);
    }
    painter->restore();
}

} // namespace platform::qt
