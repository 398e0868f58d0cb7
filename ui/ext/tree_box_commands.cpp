#include "ui/ext/tree_box_commands.h"

#include "runtime/memory.h"
#include "ui/ext/tree_box_unit.h"
#include "ui/framework/command_arguments.h"

#include <algorithm>

namespace ui {
namespace {

// Argument slots of TreeBox.AddItem after the unit.
enum AddItemSlot : std::size_t {
    kParent = 1,
    kText = 2,
    kImage = 3,
    kSelectedImage = 4,
    kData = 5,
    kBold = 6,
    kStateImage = 7,
};
// Bold and the state image count only when the call carries every slot.
constexpr std::size_t kAllAddItemSlots = 8;

TreeBoxUnit& unitOf(const CommandArguments& a)
{
    return a.unit<TreeBoxUnit>(0);
}

// A number slot of AddItem; the bold slot may hold a logical (true is 1).
std::int32_t numberOf(const TypedValue& v)
{
    if (v.isEmpty())
        return 0;
    return v.is(runtime::ValueType::Logical) ? (v.asLogical() ? 1 : 0) : runtime::ConvertToInteger(v);
}

TypedValue textResult(const std::string& text)
{
    return TypedValue::text(text.empty() ? nullptr : runtime::NewText(text));
}

// The parts of an item that the bold and state slots give.
void applyBoldAndState(const CommandArguments& a, TreeBoxNewItem& item, std::int32_t bold, std::int32_t state)
{
    if (a.count() < kAllAddItemSlots)
        return;
    item.bold = a.given(kBold) && bold == 1;
    if (a.given(kStateImage))
        item.stateSlot = state + 1;
}

TypedValue addOne(TreeBoxUnit& unit, const CommandArguments& a)
{
    TreeBoxNewItem item;
    item.parent = a.integer(kParent, -1);
    item.text = std::string(a.text(kText));
    item.image = std::max(0, a.integer(kImage));
    std::int32_t selected = a.integer(kSelectedImage, -1);
    item.selectedImage = selected >= 0 ? selected : item.image;
    item.data = a.integer(kData);
    applyBoldAndState(a, item, numberOf(a[kBold]), a.integer(kStateImage));
    return TypedValue::integer(unit.addItem(item));
}

// A slot of the array form: element i of an array (its last element once
// it runs out), the value itself when it is no array, 0 when left out.
class ArraySlot {
public:
    ArraySlot(const CommandArguments& a, std::size_t slot) : m_value(a[slot])
    {
        if (m_value.isArray())
            m_view.emplace(m_value.asPointer(), m_value.basicType());
    }
    std::int32_t integer(std::size_t i) const
    {
        if (m_value.isEmpty())
            return 0;
        if (!m_view)
            return numberOf(m_value);
        std::size_t n = m_view->elementCount();
        return n == 0 ? 0 : numberOf(m_view->element(std::min(i, n - 1)));
    }

private:
    const TypedValue& m_value;
    std::optional<runtime::ArrayView> m_view;
};

TypedValue addMany(TreeBoxUnit& unit, const CommandArguments& a)
{
    const TypedValue& texts = a[kText];
    runtime::ArrayView view(texts.asPointer(), texts.basicType());
    if (!view.valid() || view.dimensionCount() != 1 || texts.basicType() != runtime::ValueType::Text)
        return TypedValue::integer(-1);
    ArraySlot image(a, kImage), selected(a, kSelectedImage), data(a, kData), bold(a, kBold), state(a, kStateImage);
    int parent = a.integer(kParent, -1);
    for (std::size_t i = 0; i < view.elementCount(); ++i) {
        TreeBoxNewItem item;
        item.parent = parent;
        item.text = std::string(runtime::TextOf(view.element(i).asText()));
        item.image = image.integer(i);
        std::int32_t s = selected.integer(i);
        item.selectedImage = s >= 0 ? s : item.image;
        item.data = data.integer(i);
        applyBoldAndState(a, item, bold.integer(i), state.integer(i));
        unit.addItem(item);
    }
    return TypedValue::integer(0);
}

} // namespace

TypedValue TreeBoxGetItemCount(std::span<const TypedValue> args)
{
    CommandArguments a(args);
    return TypedValue::integer(unitOf(a).itemCount());
}

TypedValue TreeBoxGetItemText(std::span<const TypedValue> args)
{
    CommandArguments a(args);
    return textResult(unitOf(a).itemText(a.integer(1, -1)));
}

TypedValue TreeBoxGetItemData(std::span<const TypedValue> args)
{
    CommandArguments a(args);
    return TypedValue::integer(unitOf(a).itemData(a.integer(1, -1)));
}

TypedValue TreeBoxExpandItem(std::span<const TypedValue> args)
{
    CommandArguments a(args);
    unitOf(a).expand(a.integer(1, -1));
    return {};
}

TypedValue TreeBoxAddItem(std::span<const TypedValue> args)
{
    CommandArguments a(args);
    TreeBoxUnit& unit = unitOf(a);
    return a[kText].isArray() ? addMany(unit, a) : addOne(unit, a);
}

TypedValue TreeBoxClear(std::span<const TypedValue> args)
{
    CommandArguments a(args);
    unitOf(a).clear();
    return {};
}

TypedValue TreeBoxGetParent(std::span<const TypedValue> args)
{
    CommandArguments a(args);
    return TypedValue::integer(unitOf(a).parentOf(a.integer(1, -1)));
}

TypedValue TreeBoxHasChildren(std::span<const TypedValue> args)
{
    CommandArguments a(args);
    return TypedValue::logical(unitOf(a).hasChildren(a.integer(1, -1)));
}

} // namespace ui
