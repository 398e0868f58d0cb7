#include "support/test_kinds.h"

#include "platform/icon.h"
#include "platform/message_queue.h"
#include "platform/messages.h"
#include "platform/testing/ui_driver.h"
#include "platform/window.h"
#include "runtime/runtime.h"
#include "ui/framework/menu_builder.h"
#include "ui/framework/unit_window.h"

#include <array>
#include <cstdlib>

namespace testsupport {
namespace {

constexpr const char* kWindowClass = "VelmoraTestWindow";
constexpr const char* kBoxClass = "VelmoraTestBox";

class TestWindow : public ui::UnitObject {
public:
    using ui::UnitObject::UnitObject;

    void showInitially() override { platform::ShowWindow(handle(), platform::SW_SHOW); }

    platform::LResult windowProc(std::uint32_t message, platform::WParam wParam, platform::LParam lParam) override
    {
        using namespace platform;
        if (message == WM_CLOSE) {
            DestroyWindow(handle());
            return 0;
        }
        if (message == WM_COMMAND && std::uint32_t(LoWord(wParam)) >= ui::kFirstMenuCommand) {
            auto* w = ui::TheFramework().window(windowId());
            auto items = w ? w->menuRecords() : std::vector<ui::UnitRecord*>{};
            std::size_t k = LoWord(wParam) - ui::kFirstMenuCommand;
            if (k < items.size()) {
                runtime::EventCall call;
                call.windowId = windowId();
                call.unitId = items[k]->id;
                ui::TheFramework().raiseEvent(call);
            }
            return 0;
        }
        return UnitObject::windowProc(message, wParam, lParam);
    }

protected:
    void onWindowGone() override
    {
        runtime::TheRuntime().windowDestroyed(windowId());
        platform::DeleteWindowObjectLater(this);
    }
};

void registerClasses()
{
    for (const char* name : {kWindowClass, kBoxClass}) {
        if (platform::IsWindowClassRegistered(name))
            continue;
        platform::WindowClass cls;
        cls.name = name;
        cls.style = platform::CS_DBLCLKS;
        cls.nullBrush = std::string(name) == kBoxClass;
        cls.background = platform::Rgb(240, 240, 240);
        platform::RegisterWindowClass(cls);
    }
}

ui::UnitObject* createWindow(const ui::UnitCreateParams& p)
{
    registerClasses();
    auto* o = new TestWindow(p.windowId, p.unitId, p.kindId);
    platform::WindowCreateParams w;
    w.className = kWindowClass;
    w.text = "test";
    w.style = platform::WS_CAPTION | platform::WS_SYSMENU | platform::WS_DLGFRAME;
    w.x = p.left;
    w.y = p.top;
    w.width = p.width;
    w.height = p.height;
    w.parent = p.parent;
    w.menu = p.menu;
    if (platform::CreateWindowEx(w, o) == platform::Hwnd::Null) {
        delete o;
        return nullptr;
    }
    return o;
}

ui::UnitObject* createBox(const ui::UnitCreateParams& p)
{
    registerClasses();
    auto* o = new TestBox(p.windowId, p.unitId, p.kindId);
    if (!CreateChildWindowFor(o, p, kBoxClass, p.kindId == kTestComboKind ? &o->child : nullptr))
        return nullptr;
    return o;
}

ui::PropertyValue getBox(ui::UnitObject& unit, int property)
{
    auto& s = static_cast<TestBox&>(unit).state;
    switch (property) {
    case 0: return ui::PropertyValue::ofInteger(s.integer);
    case 1: return ui::PropertyValue::ofLogical(s.logical);
    case 2: return ui::PropertyValue::ofText(s.text);
    case 3: return ui::PropertyValue::ofFont(s.font);
    case 4: return ui::PropertyValue::ofBytes(s.bytes);
    default: return {};
    }
}

bool setBox(ui::UnitObject& unit, int property, const ui::PropertyValue& v)
{
    auto& s = static_cast<TestBox&>(unit).state;
    switch (property) {
    case 0: s.integer = v.integer; return false;
    case 1: s.logical = v.integer != 0; return false;
    case 2: s.text = v.text; return false;
    case 3: s.font = v.font; return false;
    case 4: s.bytes = v.bytes; return false;
    case 5: s.integer = v.integer; return true;
    default: return false;
    }
}

std::vector<std::uint8_t> writeBox(ui::UnitObject& unit)
{
    auto& s = static_cast<TestBox&>(unit).state;
    return {std::uint8_t(s.integer), std::uint8_t(s.recreations + 1)};
}

ui::UnitObject* createBoxWithData(const ui::UnitCreateParams& p)
{
    auto* o = static_cast<TestBox*>(createBox(p));
    if (o && p.kindData.size() == 2) {
        o->state.integer = p.kindData[0];
        o->state.recreations = p.kindData[1];
    }
    return o;
}

const ui::KindRoutines kWindowRoutines{.create = createWindow};
const ui::KindRoutines kBoxRoutines{
    .create = createBoxWithData, .setProperty = setBox, .writeKindData = writeBox, .getProperty = getBox};

const ui::PropertyDescriptor kBoxProperties[] = {
    {}, {}, {}, {}, {}, {}, {}, {},
    {.name = "整数", .englishName = "Integer", .typeCode = ui::kTypeInteger},
    {.name = "逻辑", .englishName = "Logical", .typeCode = ui::kTypeLogical},
    {.name = "文本", .englishName = "Text", .typeCode = ui::kTypeText},
    {.name = "字体", .englishName = "Font", .typeCode = ui::kTypeFont},
    {.name = "字节集", .englishName = "Bytes", .typeCode = ui::kTypeBytes1010},
    {.name = "重建", .englishName = "Recreate", .typeCode = ui::kTypeInteger},
};

// A box kind with the test box's properties.
constexpr ui::UnitKindDescriptor boxKind(const char* chinese, const char* english, std::uint32_t flags)
{
    return {.chineseName = chinese,
            .englishName = english,
            .stateFlags = flags,
            .propertyCount = std::int32_t(std::size(kBoxProperties)),
            .properties = kBoxProperties,
            .kindEntry = ui::KindEntryFor<kBoxRoutines>};
}

const std::array<ui::UnitKindDescriptor, 7> kCoreKinds = {{
    {.chineseName = "窗口", .englishName = "window", .stateFlags = 0x800000D0,
     .kindEntry = ui::KindEntryFor<kWindowRoutines>},
    {},
    {.chineseName = "菜单", .englishName = "menu", .stateFlags = 0x80000004},
    {},
    boxKind("测试框", "TestBox", 0x80000040),
    boxKind("无事件", "Silent", 0x80000000),
    boxKind("组合", "Combo", 0x80000240),
}};

// A kind without code: its units stand as placeholders.
const std::array<ui::UnitKindDescriptor, 1> kExtKinds = {{
    {.chineseName = "树型框", .englishName = "TreeBox", .stateFlags = 0x40},
}};

} // namespace

platform::LResult TestBox::windowProc(std::uint32_t message, platform::WParam wParam, platform::LParam lParam)
{
    messages.push_back(message);
    return UnitObject::windowProc(message, wParam, lParam);
}

bool CreateChildWindowFor(ui::UnitObject* o, const ui::UnitCreateParams& p, const char* className,
                          platform::Hwnd* innerChild)
{
    if (!ui::CreateUnitWindow(o, p, className, p.style))
        return false;
    if (innerChild) {
        platform::WindowCreateParams c;
        c.className = className;
        c.style = platform::WS_CHILD | platform::WS_VISIBLE;
        c.x = 5;
        c.y = 5;
        c.width = p.width / 2;
        c.height = p.height / 2;
        c.parent = o->handle();
        *innerChild = platform::CreateWindowEx(c);
    }
    return true;
}

void InstallTestKinds(const ui::UnitKindDescriptor* windowKind)
{
    static bool done = false;
    if (done)
        return;
    done = true;
    static std::array<ui::UnitKindDescriptor, kCoreKinds.size()> core = kCoreKinds;
    if (windowKind)
        core[0] = *windowKind;
    ui::TheFramework().addKindLibrary({1, core});
    ui::TheFramework().addKindLibrary({2, kExtKinds});
}

std::uint32_t Handlers::add(const char* name, runtime::HandlerFunction f)
{
    if (m_count == m_entries.size())
        std::abort();
    m_entries[m_count] = {name, f};
    return std::uint32_t(m_count++ * sizeof(runtime::HandlerEntry));
}

const runtime::HandlerEntry* Handlers::at(std::uint32_t ref) const
{
    return reinterpret_cast<const runtime::HandlerEntry*>(base() + ref);
}

ui::UnitRecord WindowRecord(std::uint32_t ownId, int width, int height)
{
    ui::UnitRecord r;
    r.id = ownId;
    r.kindId = kTestWindowKind;
    r.left = 40;
    r.top = 40;
    r.width = width;
    r.height = height;
    r.stateFlags = ui::kUnitVisible;
    return r;
}

ui::UnitRecord BoxRecord(std::uint32_t id, const char* name, int left, int top, int width, int height,
                         std::uint32_t kind)
{
    ui::UnitRecord r;
    r.id = id;
    r.kindId = kind;
    r.name = name;
    r.left = left;
    r.top = top;
    r.width = width;
    r.height = height;
    r.stateFlags = ui::kUnitVisible | ui::kUnitTabStop;
    return r;
}

ui::UnitRecord MenuRecord(std::uint32_t id, const char* caption, int level, std::uint32_t flags)
{
    ui::UnitRecord r;
    r.id = id;
    r.kindId = kTestMenuKind;
    r.caption = caption;
    r.level = level;
    r.itemFlags = flags;
    return r;
}

void Bind(ui::UnitRecord& record, std::int32_t event, const runtime::HandlerEntry* handler)
{
    if (record.isMenuItem()) {
        record.clickHandler = handler;
        return;
    }
    record.bindings.push_back({event, ui::kNoHandler, handler});
}

ui::LoadedWindow& AddWindow(std::uint32_t windowId, std::vector<ui::UnitRecord> records)
{
    if (auto* old = ui::TheFramework().window(windowId))
        old->destroyLive();
    auto w = std::make_unique<ui::LoadedWindow>(windowId, 0, std::move(records));
    ui::LoadedWindow& ref = *w;
    ui::TheFramework().addWindow(std::move(w));
    return ref;
}

void StartRuntimeInProcess(const ui::UnitKindDescriptor* windowKind)
{
    static bool started = false;
    if (started)
        return;
    started = true;
    InstallTestKinds(windowKind);
    static runtime::ProgramInfo info;
    runtime::TheRuntime().prepare(info, ui::TheFramework());
    runtime::TheRuntime().startRuntime();
}

bool PumpUntil(const std::function<bool()>& done, int timeoutMs)
{
    std::uint32_t start = platform::GetTickCount();
    for (;;) {
        runtime::TheRuntime().processPendingMessages();
        if (done())
            return true;
        if (platform::GetTickCount() - start > std::uint32_t(timeoutMs))
            return false;
        platform::testing::ProcessToolkitEvents(5);
    }
}

void Pump(int milliseconds)
{
    PumpUntil([] { return false; }, milliseconds);
}

platform::Hwnd HandleOf(std::uint32_t windowId, std::uint32_t unitId)
{
    ui::UnitRecord* u = ui::TheFramework().unitRecord(windowId, unitId);
    return u && u->object ? u->object->handle() : platform::Hwnd::Null;
}

TestBox* BoxOf(std::uint32_t windowId, std::uint32_t unitId)
{
    ui::UnitRecord* u = ui::TheFramework().unitRecord(windowId, unitId);
    return u ? dynamic_cast<TestBox*>(u->object) : nullptr;
}

} // namespace testsupport
