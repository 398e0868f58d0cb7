// Opening a window from its template: the menu, the units in their order,
// their parents, z-order, cursors and visibility, and the first events.

#include "platform/icon.h"
#include "platform/messages.h"
#include "platform/window.h"
#include "runtime/runtime.h"
#include "ui/framework/framework.h"
#include "ui/framework/menu_builder.h"
#include "ui/framework/placeholder_unit.h"
#include "ui/framework/property_conversion.h"
#include "ui/framework/unit_object.h"
#include "ui/framework/window_events.h"

#include <algorithm>

namespace ui {
namespace {

constexpr int kFirstControlNumber = 100;
constexpr int kControlNumberStep = 10;

std::uint32_t creationStyle(const UnitRecord& u, const UnitKindDescriptor* kind)
{
    std::uint32_t style = platform::WS_CHILD;
    if (kind && (kind->stateFlags & kKindNoVisibleWindow))
        return style;
    if (u.disabled())
        style |= platform::WS_DISABLED;
    if (u.tabStop())
        style |= platform::WS_TABSTOP;
    return style;
}

platform::Hwnd handleOf(const UnitRecord* u)
{
    return u && u->object ? u->object->handle() : platform::Hwnd::Null;
}

// Children after the first 0 of a child list start hidden.
void markInitiallyHidden(LoadedWindow& w)
{
    auto& hidden = w.open().initiallyHidden;
    for (const UnitRecord& u : w.units()) {
        auto zero = std::find(u.children.begin(), u.children.end(), 0u);
        if (zero == u.children.end())
            continue;
        for (auto it = zero + 1; it != u.children.end(); ++it)
            if (*it != 0)
                hidden.push_back(*it);
    }
}

bool isInitiallyHidden(LoadedWindow& w, std::uint32_t id)
{
    auto& hidden = w.open().initiallyHidden;
    return std::find(hidden.begin(), hidden.end(), id) != hidden.end();
}

// Each unit goes directly below the nearest record before it that has the
// same parent; one without such a record goes to the top.
void placeInZOrder(LoadedWindow& w, std::size_t i)
{
    auto& units = w.units();
    platform::Hwnd h = handleOf(&units[i]);
    if (!platform::IsWindow(h))
        return;
    platform::Hwnd after = platform::HWND_TOP;
    for (std::size_t j = i; j-- > 1;) {
        const UnitRecord& prev = units[j];
        if (prev.isMenuItem() || prev.parentId != units[i].parentId || !platform::IsWindow(handleOf(&prev)))
            continue;
        after = handleOf(&prev);
        break;
    }
    platform::SetWindowPos(h, after, 0, 0, 0, 0, platform::SWP_NOMOVE | platform::SWP_NOSIZE | platform::SWP_NOACTIVATE);
}

void createCursor(UnitRecord& u)
{
    if (u.cursorData.empty() || u.cursor != platform::Cursor::Null)
        return;
    u.cursor = CursorFromPointerData(u.cursorData);
    if (u.cursor != platform::Cursor::Null && u.object)
        platform::SetWindowCursor(u.object->handle(), u.cursor);
}

void abandonOpening(LoadedWindow& w, const BuiltMenuBar& menu)
{
    if (menu.bar != platform::Menu::Null && platform::IsMenu(menu.bar))
        platform::DestroyMenu(menu.bar);
    if (menu.accelerators != platform::Accelerators::Null)
        platform::DestroyAcceleratorTable(menu.accelerators);
    w.resetToStored();
}

} // namespace

UnitObject* Framework::createUnit(LoadedWindow&, UnitRecord& unit, const UnitCreateParams& params)
{
    const UnitKindDescriptor* kind = m_kinds.find(unit.kindId);
    auto create = kind ? kind->routine<CreateUnitRoutine>(kEntryCreate) : nullptr;
    if (create)
        return create(params);
    // A kind without code cannot make its window: the placeholder takes its
    // place, except for a window itself, which has nothing to stand in.
    if (unit.isOwnUnit())
        return nullptr;
    return PlaceholderUnit::create(params);
}

bool Framework::openWindow(std::uint32_t windowId, platform::WindowObject* owner, bool modal)
{
    LoadedWindow* wp = window(windowId);
    if (!wp)
        return false;
    LoadedWindow& w = *wp;
    runtime::Runtime& rt = runtime::TheRuntime();

    // 1. Already open: brought forward, not made twice.
    platform::Hwnd existing = w.liveHandle();
    if (platform::IsWindow(existing)) {
        if (platform::IsIconic(existing))
            platform::ShowWindow(existing, platform::SW_RESTORE);
        else
            platform::SetForegroundWindow(existing);
        return true;
    }

    // 2. The owner.
    platform::Hwnd ownerHandle = platform::Hwnd::Null;
    if (!modal && owner) {
        if (!platform::IsWindow(owner->handle()))
            return false;
        ownerHandle = owner->handle();
    }

    // 3. The menu.  The records are as the template gave them, or as
    // handlers wrote them while the window was closed.
    w.open() = OpenWindowState{};
    BuiltMenuBar menu = BuildMenuBar(w);
    w.open().modal = modal;

    // 4. The window's own unit, then the others in reverse record order.
    UnitRecord& own = w.ownUnit();
    UnitCreateParams p;
    p.parent = ownerHandle;
    p.kindData = own.kindData;
    p.left = own.left;
    p.top = own.top;
    p.width = own.width;
    p.height = own.height;
    p.windowId = windowId;
    p.unitId = own.id;
    p.kindId = own.kindId;
    p.window = &w;
    p.menu = menu.bar;
    p.modal = modal;
    own.object = createUnit(w, own, p);
    if (!own.object || !platform::IsWindow(own.object->handle())) {
        abandonOpening(w, menu);
        return false;
    }
    w.open().menuBar = menu.bar;
    w.open().accelerators = menu.accelerators;
    platform::Hwnd frame = own.object->handle();

    int control = kFirstControlNumber;
    for (std::size_t i = w.units().size(); i-- > 1;) {
        UnitRecord& u = w.units()[i];
        if (u.isMenuItem())
            continue;
        UnitCreateParams c;
        c.parent = frame;
        c.kindData = u.kindData;
        c.style = creationStyle(u, m_kinds.find(u.kindId));
        c.controlId = control;
        c.left = u.left;
        c.top = u.top;
        c.width = u.width;
        c.height = u.height;
        c.windowId = windowId;
        c.unitId = u.id;
        c.kindId = u.kindId;
        c.window = &w;
        control += kControlNumberStep;
        u.object = createUnit(w, u, c);
        if (!platform::IsWindow(frame))
            return false;
    }

    // 5. Parents, and the units of pages not shown.
    for (std::size_t i = 1; i < w.units().size(); ++i) {
        UnitRecord& u = w.units()[i];
        if (u.isMenuItem() || !u.object || u.parentId == 0)
            continue;
        if (platform::Hwnd parent = handleOf(w.find(u.parentId)); platform::IsWindow(parent))
            platform::SetParent(u.object->handle(), parent);
    }
    markInitiallyHidden(w);

    // 6-7. Z-order and cursors.
    for (std::size_t i = 1; i < w.units().size(); ++i)
        if (!w.units()[i].isMenuItem())
            placeInZOrder(w, i);
    for (UnitRecord& u : w.units())
        if (!u.isMenuItem())
            createCursor(u);

    // 8. Loading is complete.
    for (std::size_t i = w.units().size(); i-- > 0;)
        if (UnitObject* o = w.units()[i].object)
            o->loadComplete();
    if (UnitObject* o = w.ownUnit().object)
        o->windowLoadComplete();

    // 9. What is visible is shown.
    for (std::size_t i = w.units().size(); i-- > 1;) {
        UnitRecord& u = w.units()[i];
        const UnitKindDescriptor* kind = m_kinds.find(u.kindId);
        bool windowless = kind && (kind->stateFlags & kKindNoVisibleWindow);
        if (!u.isMenuItem() && u.object && u.visible() && !windowless && !isInitiallyHidden(w, u.id))
            u.object->showInitially();
    }
    if (UnitObject* o = w.ownUnit().object)
        o->showInitially();

    // 10. The first window events; a handler may close the window.
    for (int event : {kWindowLoaded, kWindowMoved, kWindowResized}) {
        if (!platform::IsWindow(frame))
            return true;
        if (UnitObject* o = w.ownUnit().object)
            o->raise(event);
    }
    if (!platform::IsWindow(frame))
        return true;

    // 11. A modal window disables the program's other windows and stays
    // above them; both before it is shown, which is when the toolkit reads
    // the modality.
    if (modal) {
        platform::SetWindowModal(frame);
        for (auto& [id, entry] : rt.windows()) {
            platform::Hwnd h = entry->liveHandle();
            if (id == windowId || !platform::IsWindow(h) || platform::GetParent(h) != platform::Hwnd::Null)
                continue;
            if (platform::IsWindowEnabled(h)) {
                platform::EnableWindow(h, false);
                w.open().disabledWindows.push_back(h);
            }
        }
    }

    // 12. The window is shown.
    platform::Hwnd focus = platform::GetFocus();
    for (std::size_t i = w.units().size(); i-- > 0;)
        if (UnitObject* o = w.units()[i].object)
            o->windowShown();
    if (platform::GetFocus() != focus && platform::IsWindow(focus))
        platform::SetFocus(focus);
    if (!platform::IsWindow(frame))
        return true;
    w.open().loaded = true;

    if (modal)
        rt.runModalLoop(windowId);
    return true;
}

void Framework::applyContainerVisibility(LoadedWindow& w, UnitRecord& container, int page)
{
    int current = 0;
    for (std::uint32_t id : container.children) {
        if (id == 0) {
            ++current;
            continue;
        }
        UnitRecord* u = w.find(id);
        if (!u || !u->object || !platform::IsWindow(u->object->handle()))
            continue;
        bool show = current == page && u->visible();
        platform::ShowWindow(u->object->handle(), show ? platform::SW_SHOWNA : platform::SW_HIDE);
    }
}

bool Framework::recreateUnit(LoadedWindow& w, UnitRecord& u)
{
    UnitObject* old = u.object;
    if (!old || u.isOwnUnit())
        return false;
    const UnitKindDescriptor* kind = m_kinds.find(u.kindId);
    if (auto write = kind ? kind->routine<WriteKindDataRoutine>(kEntryWriteKindData) : nullptr)
        u.kindData = write(*old);
    platform::Hwnd h = old->handle();
    platform::Rect r = platform::GetWindowRectInParent(h);
    platform::Hwnd parent = platform::GetParent(h);
    bool visible = platform::GetWindowStyle(h) & platform::WS_VISIBLE;
    int controlId = platform::GetDlgCtrlID(h);
    std::vector<platform::Hwnd> siblings = platform::GetChildWindows(parent);
    auto at = std::find(siblings.begin(), siblings.end(), h);
    platform::Hwnd above = at == siblings.begin() || at == siblings.end() ? platform::HWND_TOP : *(at - 1);

    platform::DestroyWindow(h);
    u.object = nullptr;
    UnitCreateParams c;
    c.parent = parent;
    c.kindData = u.kindData;
    c.style = creationStyle(u, kind);
    c.controlId = controlId;
    c.left = r.left;
    c.top = r.top;
    c.width = r.width();
    c.height = r.height();
    c.windowId = w.id();
    c.unitId = u.id;
    c.kindId = u.kindId;
    c.window = &w;
    u.object = createUnit(w, u, c);
    if (!u.object)
        return false;
    platform::Hwnd nh = u.object->handle();
    platform::SetWindowPos(nh, above, 0, 0, 0, 0, platform::SWP_NOMOVE | platform::SWP_NOSIZE | platform::SWP_NOACTIVATE);
    createCursor(u);
    u.object->loadComplete();
    if (visible)
        u.object->showInitially();
    return true;
}

} // namespace ui
