#include "platform/qt/button_keys.h"

#include "platform/button.h"
#include "platform/message_queue.h"
#include "platform/messages.h"
#include "platform/qt/button_class.h"
#include "platform/qt/button_control.h"
#include "platform/qt/registry.h"
#include "platform/window.h"

#include <QKeyEvent>

#include <functional>

namespace platform::qt {
namespace {

// The first button below `parent`, in z-order depth first, that is
// enabled, visible and passes `wanted`.
Hwnd findButton(Hwnd parent, const std::function<bool(const ButtonControl&)>& wanted)
{
    for (Hwnd child : GetChildWindows(parent)) {
        ButtonControl* button = buttonOf(child);
        if (button && button->isEnabled() && IsWindowVisible(child) && wanted(*button))
            return child;
        if (Hwnd below = findButton(child, wanted); below != Hwnd::Null)
            return below;
    }
    return Hwnd::Null;
}

const QString kWatcherName = QStringLiteral("velmoraDefaultButtonWatcher");

class DefaultButtonWatcher : public QObject {
public:
    explicit DefaultButtonWatcher(QWidget* topLevel) : QObject(topLevel)
    {
        setObjectName(kWatcherName);
        topLevel->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (!enter || (key->modifiers() & (Qt::AltModifier | Qt::ControlModifier)))
            return false;
        Hwnd top = Registry::windowOf(static_cast<QWidget*>(watched));
        Hwnd button = findButton(top, [](const ButtonControl& b) { return b.isDefaultPush(); });
        if (button == Hwnd::Null)
            return false;
        ToolkitScope scope;
        Button_Click(button);
        return true;
    }
};

} // namespace

void routeSystemCharacter(Hwnd hwnd, WParam character, LParam lParam)
{
    if (Hwnd parent = GetParent(hwnd); parent != Hwnd::Null) {
        SendMessage(parent, WM_SYSCHAR, character, lParam);
        return;
    }
    auto code = std::uint32_t(character);
    Hwnd button = findButton(hwnd, [code](const ButtonControl& b) { return b.parsedCaption().isAccessKey(code); });
    if (button != Hwnd::Null)
        Button_Click(button);
}

void watchForDefaultButton(QWidget* topLevel)
{
    // Found by name: without a meta-object of its own the class cannot be
    // told from any other QObject.
    if (!topLevel || topLevel->findChild<QObject*>(kWatcherName, Qt::FindDirectChildrenOnly))
        return;
    new DefaultButtonWatcher(topLevel);
}

} // namespace platform::qt
