#include "platform/qt/registry.h"

#include "platform/qt/button_class.h"
#include "platform/qt/combo_box_class.h"
#include "platform/qt/edit_class.h"
#include "platform/qt/list_view_class.h"
#include "platform/qt/tree_view_class.h"
#include "platform/qt/up_down_class.h"

#include <QCoreApplication>
#include <QEvent>
#include <QVariant>

#include <algorithm>

namespace platform::qt {
namespace {
constexpr const char* kHwndProperty = "velmoraHwnd";
}

Registry::Registry()
{
    addClass(treeViewClassInfo());
    addClass(listViewClassInfo());
    addClass(editClassInfo());
    addClass(buttonClassInfo());
    addClass(comboBoxClassInfo());
    addClass(upDownClassInfo());
}

Registry& Registry::instance()
{
    static Registry registry;
    return registry;
}

WindowRecord* Registry::find(Hwnd hwnd)
{
    auto it = m_windows.find(std::uintptr_t(hwnd));
    return it == m_windows.end() ? nullptr : it->second.get();
}

Hwnd Registry::nextHandle()
{
    m_next += 2;
    return Hwnd(m_next);
}

WindowRecord& Registry::add(std::unique_ptr<WindowRecord> record)
{
    WindowRecord& r = *record;
    if (!r.isChild())
        m_topLevels.push_back(r.hwnd);
    m_windows[std::uintptr_t(r.hwnd)] = std::move(record);
    return r;
}

void Registry::remove(Hwnd hwnd)
{
    m_topLevels.erase(std::remove(m_topLevels.begin(), m_topLevels.end(), hwnd), m_topLevels.end());
    m_windows.erase(std::uintptr_t(hwnd));
}

const ClassInfo* Registry::findClass(std::string_view name) const
{
    // Class names compare without regard to ASCII case, as the window
    // system's did.
    auto same = [&](const std::string& n) {
        return n.size() == name.size() && std::equal(n.begin(), n.end(), name.begin(), [](char a, char b) {
                   auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
                   return lower(a) == lower(b);
               });
    };
    for (const auto& c : m_classes)
        if (same(c->windowClass.name))
            return c.get();
    return nullptr;
}

bool Registry::addClass(ClassInfo info)
{
    if (info.windowClass.name.empty() || findClass(info.windowClass.name))
        return false;
    m_classes.push_back(std::make_unique<ClassInfo>(std::move(info)));
    return true;
}

Hwnd Registry::windowOf(const QWidget* widget)
{
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        QVariant v = w->property(kHwndProperty);
        if (v.isValid()) {
            Hwnd h = Hwnd(v.value<qulonglong>());
            if (instance().find(h))
                return h;
        }
        if (w->isWindow())
            break;
    }
    return Hwnd::Null;
}

void Registry::tagWidget(QWidget* widget, Hwnd hwnd)
{
    widget->setProperty(kHwndProperty, QVariant::fromValue(qulonglong(hwnd)));
}

} // namespace platform::qt
