#include "platform/menu.h"

#include "platform/message_queue.h"
#include "platform/messages.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/registry.h"
#include "platform/qt/widgets.h"
#include "platform/window.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include <map>
#include <set>
#include <unordered_map>

namespace platform {
namespace qt {
namespace {

struct MenuItem {
    std::uint32_t flags = 0;
    std::uintptr_t id = 0;
    Menu popup = Menu::Null;
    std::string text;
};

struct MenuRecord {
    bool bar = false;
    std::vector<MenuItem> items;
};

struct MenuTables {
    std::unordered_map<std::uintptr_t, MenuRecord> menus;
    std::unordered_map<std::uintptr_t, std::vector<Accelerator>> accelerators;
    std::map<std::uintptr_t, std::set<std::uint32_t>> removedSystemCommands;
    std::uintptr_t next = 0x30000;
};

MenuTables& tables()
{
    static MenuTables t;
    return t;
}

MenuRecord* findMenu(Menu m)
{
    auto& menus = tables().menus;
    auto it = menus.find(std::uintptr_t(m));
    return it == menus.end() ? nullptr : &it->second;
}

Menu newMenu(bool bar)
{
    MenuTables& t = tables();
    Menu m = Menu(t.next += 2);
    t.menus[std::uintptr_t(m)] = MenuRecord{bar, {}};
    return m;
}

// Fills a Qt menu from a menu record; chosen items call `chosen`.
template<typename Chosen>
void fillQMenu(QWidget* target, const MenuRecord& record, const Chosen& chosen, int depth = 0)
{
    if (depth > 32)
        return; // a menu that contains itself
    for (const MenuItem& item : record.items) {
        auto add = [&](QAction* a) {
            if (auto* bar = qobject_cast<QMenuBar*>(target))
                bar->addAction(a);
            else
                static_cast<QMenu*>(target)->addAction(a);
        };
        if (item.flags & MF_SEPARATOR) {
            if (auto* menu = qobject_cast<QMenu*>(target))
                menu->addSeparator();
            continue;
        }
        QString text = fromGbk(item.text);
        bool enabled = !(item.flags & (MF_GRAYED | MF_DISABLED));
        if (item.flags & MF_POPUP) {
            auto* sub = new QMenu(text, target);
            sub->setEnabled(enabled);
            if (const MenuRecord* subRecord = findMenu(item.popup))
                fillQMenu(sub, *subRecord, chosen, depth + 1);
            add(sub->menuAction());
            continue;
        }
        auto* action = new QAction(text, target);
        action->setEnabled(enabled);
        if (item.flags & MF_CHECKED) {
            action->setCheckable(true);
            action->setChecked(true);
        }
        std::uintptr_t id = item.id;
        QObject::connect(action, &QAction::triggered, [chosen, id] { chosen(id); });
        add(action);
    }
}

void destroyMenuTree(Menu m, int depth = 0)
{
    MenuRecord* r = findMenu(m);
    if (!r || depth > 32)
        return;
    std::vector<Menu> subs;
    for (const MenuItem& item : r->items)
        if (item.flags & MF_POPUP)
            subs.push_back(item.popup);
    tables().menus.erase(std::uintptr_t(m));
    for (Menu s : subs)
        destroyMenuTree(s, depth + 1);
}

FrameWidget* frameOf(Hwnd hwnd)
{
    WindowRecord* r = findWindow(hwnd);
    return r && !r->isChild() ? static_cast<FrameWidget*>(r->widget.data()) : nullptr;
}

void rebuildBar(Hwnd hwnd)
{
    WindowRecord* r = findWindow(hwnd);
    FrameWidget* frame = frameOf(hwnd);
    if (!r || !frame)
        return;
    const MenuRecord* record = findMenu(r->menu);
    if (!record) {
        frame->setMenuBar(nullptr);
        return;
    }
    auto* bar = new QMenuBar();
    fillQMenu(bar, *record, [hwnd](std::uintptr_t id) { PostMessage(hwnd, WM_COMMAND, id & 0xFFFF, 0); });
    frame->setMenuBar(bar);
}

} // namespace

void attachMenuBar(Hwnd hwnd, Menu menu)
{
    if (WindowRecord* r = findWindow(hwnd)) {
        r->menu = menu;
        rebuildBar(hwnd);
    }
}

} // namespace qt

using namespace qt;

Menu CreateMenu()
{
    return newMenu(true);
}

Menu CreatePopupMenu()
{
    return newMenu(false);
}

bool AppendMenu(Menu menu, std::uint32_t flags, std::uintptr_t idOrPopup, std::string_view text)
{
    MenuRecord* r = findMenu(menu);
    if (!r)
        return false;
    MenuItem item;
    item.flags = flags;
    if (flags & MF_POPUP) {
        if (!findMenu(Menu(idOrPopup)) || Menu(idOrPopup) == menu)
            return false;
        item.popup = Menu(idOrPopup);
    } else if (!(flags & MF_SEPARATOR)) {
        item.id = idOrPopup;
    }
    item.text = std::string(text);
    r->items.push_back(std::move(item));
    return true;
}

bool DestroyMenu(Menu menu)
{
    if (!findMenu(menu))
        return false;
    destroyMenuTree(menu);
    return true;
}

bool IsMenu(Menu menu)
{
    return findMenu(menu) != nullptr;
}

int GetMenuItemCount(Menu menu)
{
    MenuRecord* r = findMenu(menu);
    return r ? int(r->items.size()) : -1;
}

bool GetMenuItem(Menu menu, int position, MenuItemInfo& out)
{
    MenuRecord* r = findMenu(menu);
    if (!r || position < 0 || position >= int(r->items.size()))
        return false;
    const MenuItem& item = r->items[size_t(position)];
    out = {item.flags, item.id, item.popup, item.text};
    return true;
}

bool SetMenu(Hwnd hwnd, Menu menu)
{
    WindowRecord* r = findWindow(hwnd);
    if (!r || r->isChild() || (menu != Menu::Null && !findMenu(menu)))
        return false;
    Rect outer = GetWindowRect(hwnd);
    r->menu = menu;
    rebuildBar(hwnd);
    // The outer size stays; the client area gives way to the bar.
    MoveWindow(hwnd, outer.left, outer.top, outer.width(), outer.height());
    return true;
}

Menu GetMenu(Hwnd hwnd)
{
    WindowRecord* r = findWindow(hwnd);
    return r ? r->menu : Menu::Null;
}

void DrawMenuBar(Hwnd hwnd)
{
    rebuildBar(hwnd);
}

std::uintptr_t TrackPopupMenu(Menu menu, std::uint32_t flags, int x, int y, Hwnd owner)
{
    const MenuRecord* record = findMenu(menu);
    if (!record || record->items.empty())
        return 0;
    QMenu popup;
    std::uintptr_t chosen = 0;
    fillQMenu(&popup, *record, [&chosen](std::uintptr_t id) { chosen = id; });
    {
        ToolkitScope scope;
        popup.exec(QPoint(x, y));
    }
    if (chosen == 0 || (flags & TPM_RETURNCMD))
        return chosen;
    PostMessage(owner, WM_COMMAND, chosen & 0xFFFF, 0);
    return 1;
}

bool RemoveSystemCommand(Hwnd hwnd, std::uint32_t command)
{
    if (!IsWindow(hwnd))
        return false;
    return tables().removedSystemCommands[std::uintptr_t(hwnd)].insert(command).second;
}

bool RestoreSystemCommand(Hwnd hwnd, std::uint32_t command)
{
    auto& removed = tables().removedSystemCommands;
    auto it = removed.find(std::uintptr_t(hwnd));
    return it != removed.end() && it->second.erase(command) > 0;
}

bool HasSystemCommand(Hwnd hwnd, std::uint32_t command)
{
    if (!IsWindow(hwnd))
        return false;
    auto& removed = tables().removedSystemCommands;
    auto it = removed.find(std::uintptr_t(hwnd));
    return it == removed.end() || !it->second.count(command);
}

Accelerators CreateAcceleratorTable(const std::vector<Accelerator>& entries)
{
    if (entries.empty())
        return Accelerators::Null;
    MenuTables& t = tables();
    Accelerators a = Accelerators(t.next += 2);
    t.accelerators[std::uintptr_t(a)] = entries;
    return a;
}

bool DestroyAcceleratorTable(Accelerators table)
{
    return tables().accelerators.erase(std::uintptr_t(table)) > 0;
}

bool TranslateAccelerator(Hwnd hwnd, Accelerators table, const Msg& msg)
{
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN)
        return false;
    auto& all = tables().accelerators;
    auto it = all.find(std::uintptr_t(table));
    if (it == all.end() || !IsWindow(hwnd))
        return false;
    bool shift = GetKeyState(VK_SHIFT) < 0;
    bool ctrl = GetKeyState(VK_CONTROL) < 0;
    bool alt = GetKeyState(VK_MENU) < 0;
    for (const Accelerator& a : it->second) {
        if (a.key != msg.wParam)
            continue;
        if (bool(a.flags & FSHIFT) != shift || bool(a.flags & FCONTROL) != ctrl || bool(a.flags & FALT) != alt)
            continue;
        SendMessage(hwnd, WM_COMMAND, WParam(a.command) | (WParam(1) << 16), 0);
        return true;
    }
    return false;
}

} // namespace platform
