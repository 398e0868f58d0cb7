#include "runtime/services.h"

#include "platform/icon.h"
#include "platform/window.h"
#include "platform/window_object.h"
#include "runtime/conversions.h"
#include "runtime/runtime.h"
#include "runtime/runtime_error.h"

#include <array>
#include <cstring>

namespace runtime {
namespace {

using A = std::uintptr_t;
using ServiceFn = std::intptr_t (*)(Runtime&, A, A);

// A window object the libraries asked for around a window that has none;
// it goes when its window goes.
class WrappedWindow : public platform::WindowObject {
protected:
    void onWindowGone() override { platform::DeleteWindowObjectLater(this); }
};

std::intptr_t convertToInteger(Runtime&, A a, A)
{
    return ConvertToInteger(*reinterpret_cast<const TypedValue*>(a));
}

std::intptr_t programDirectory(Runtime& rt, A, A)
{
    return std::intptr_t(rt.programDirectory().c_str());
}

std::intptr_t programFileName(Runtime& rt, A, A)
{
    return std::intptr_t(rt.programFileName().c_str());
}

std::intptr_t copyPath(Runtime& rt, A a, A b)
{
    auto* buffer = reinterpret_cast<PathBuffer*>(b);
    if (!buffer || !buffer->data || buffer->size == 0)
        return 0;
    std::string text;
    if (PathKind(a) == PathKind::DirectoryWithSlash)
        text = rt.programDirectory() + "/";
    else if (PathKind(a) == PathKind::FileName)
        text = rt.programFileName();
    std::size_t n = std::min(text.size(), buffer->size - 1);
    std::memcpy(buffer->data, text.data(), n);
    buffer->data[n] = '\0';
    return std::intptr_t(n);
}

std::intptr_t loadWindow(Runtime& rt, A a, A)
{
    auto* req = reinterpret_cast<const LoadWindowRequest*>(a);
    if (!req || !rt.findWindow(req->windowId))
        return -1;
    return rt.framework()->openWindow(req->windowId, req->owner, req->modal) ? 0 : -1;
}

std::intptr_t unitObject(Runtime& rt, A a, A b)
{
    return std::intptr_t(rt.framework()->unitObject(std::uint32_t(a), std::uint32_t(b)));
}

std::intptr_t unitObjectOrError(Runtime& rt, A a, A b)
{
    platform::WindowObject* o = rt.framework()->unitObject(std::uint32_t(a), std::uint32_t(b));
    if (!o)
        ReportRuntimeError(error_text::kUnitNotLoaded, 0, std::uint32_t(a), std::uint32_t(b));
    return std::intptr_t(o);
}

std::intptr_t unitData(Runtime& rt, A a, A b)
{
    return std::intptr_t(rt.framework()->unitData(std::uint32_t(a), std::uint32_t(b)));
}

std::intptr_t raiseEvent(Runtime& rt, A a, A)
{
    if (auto* call = reinterpret_cast<EventCall*>(a))
        rt.framework()->raiseEvent(*call);
    return 0;
}

std::intptr_t raiseTypedEvent(Runtime& rt, A a, A)
{
    if (auto* call = reinterpret_cast<TypedEventCall*>(a))
        rt.framework()->raiseEvent(*call);
    return 0;
}

std::intptr_t processPending(Runtime& rt, A, A)
{
    rt.processPendingMessages();
    return 0;
}

std::intptr_t suspendEvents(Runtime& rt, A, A)
{
    rt.suspendEvents();
    return 0;
}

std::intptr_t resumeEvents(Runtime& rt, A, A)
{
    rt.resumeEvents();
    return 0;
}

std::intptr_t currentEventSource(Runtime& rt, A a, A)
{
    EventSource s = rt.currentEventSource();
    if (auto* out = reinterpret_cast<EventSource*>(a))
        *out = s;
    return s.windowId != 0;
}

std::intptr_t windowDestroyed(Runtime& rt, A a, A)
{
    rt.windowDestroyed(std::uint32_t(a));
    return 0;
}

std::intptr_t unitDestroyed(Runtime& rt, A a, A b)
{
    rt.unitDestroyed(std::uint32_t(a), std::uint32_t(b));
    return 0;
}

std::intptr_t windowCount(Runtime& rt, A, A)
{
    return std::intptr_t(rt.windows().size());
}

std::intptr_t windowHandleAt(Runtime& rt, A a, A)
{
    if (a >= rt.windows().size())
        return 0;
    auto it = std::next(rt.windows().begin(), std::ptrdiff_t(a));
    platform::Hwnd h = it->second->liveHandle();
    return platform::IsWindow(h) ? std::intptr_t(h) : 0;
}

std::intptr_t allocate(Runtime& rt, A a, A)
{
    return std::intptr_t(rt.memory().allocate(a));
}

std::intptr_t allocateOrNull(Runtime& rt, A a, A)
{
    return std::intptr_t(rt.memory().allocateOrNull(a));
}

std::intptr_t freeBlock(Runtime& rt, A a, A)
{
    rt.memory().free(reinterpret_cast<void*>(a));
    return 0;
}

std::intptr_t reallocate(Runtime& rt, A a, A b)
{
    return std::intptr_t(rt.memory().reallocate(reinterpret_cast<void*>(a), b));
}

std::intptr_t freeArray(Runtime&, A a, A b)
{
    FreeArray(reinterpret_cast<void*>(a), ValueType(b));
    return 0;
}

std::intptr_t runtimeError(Runtime&, A a, A)
{
    ReportLibraryError(TextOf(reinterpret_cast<const char*>(a)));
}

std::intptr_t endProgram(Runtime& rt, A a, A)
{
    rt.endProgram(int(std::intptr_t(a)));
}

std::intptr_t runMode(Runtime& rt, A, A)
{
    return rt.runMode();
}

std::intptr_t registerIdle(Runtime& rt, A a, A)
{
    auto* req = reinterpret_cast<const IdleCallbackRequest*>(a);
    return req && rt.registerIdleCallback(req->hwnd, req->callback, req->argument);
}

std::intptr_t removeIdle(Runtime& rt, A a, A)
{
    rt.removeIdleCallback(platform::Hwnd(a));
    return 0;
}

std::intptr_t registerClosable(Runtime& rt, A a, A b)
{
    rt.registerClosable(reinterpret_cast<ClosableObject*>(a), std::uint8_t(b));
    return 0;
}

std::intptr_t queryClosable(Runtime& rt, A a, A)
{
    return rt.closableFlag(reinterpret_cast<ClosableObject*>(a));
}

std::intptr_t removeClosable(Runtime& rt, A a, A)
{
    rt.removeClosable(reinterpret_cast<ClosableObject*>(a));
    return 0;
}

std::intptr_t closeAll(Runtime& rt, A, A)
{
    rt.closeAllClosables();
    return 0;
}

std::intptr_t addIcon(Runtime& rt, A a, A b)
{
    return std::intptr_t(rt.addIconRecord(platform::Icon(a), reinterpret_cast<void*>(b)));
}

std::intptr_t removeIcon(Runtime& rt, A a, A)
{
    return rt.removeIconRecord(reinterpret_cast<IconRecord*>(a));
}

std::intptr_t queryIcon(Runtime& rt, A a, A)
{
    return rt.hasIconRecord(reinterpret_cast<const IconRecord*>(a));
}

std::intptr_t windowsTable(Runtime& rt, A, A)
{
    return std::intptr_t(&rt.windows());
}

std::intptr_t findWindow(Runtime& rt, A a, A)
{
    return std::intptr_t(rt.findWindow(std::uint32_t(a)));
}

std::intptr_t wrapWindow(Runtime&, A a, A)
{
    platform::Hwnd h = platform::Hwnd(a);
    if (!platform::IsWindow(h))
        return 0;
    if (platform::WindowObject* existing = platform::WindowObject::fromHandle(h))
        return std::intptr_t(existing);
    auto* o = new WrappedWindow();
    if (!o->attach(h)) {
        delete o;
        return 0;
    }
    return std::intptr_t(o);
}

std::intptr_t attachWindow(Runtime&, A a, A b)
{
    auto* o = reinterpret_cast<platform::WindowObject*>(a);
    return o && o->attach(platform::Hwnd(b));
}

std::intptr_t detachWindow(Runtime&, A a, A)
{
    auto* o = reinterpret_cast<platform::WindowObject*>(a);
    return o ? std::intptr_t(o->detach()) : 0;
}

std::intptr_t runtimeVersion(Runtime&, A, A)
{
    return kRuntimeVersion;
}

std::intptr_t defaultIcon(Runtime& rt, A a, A)
{
    return std::intptr_t(rt.defaultIcon(a <= 16 ? 16 : 32));
}

std::intptr_t kindDescriptor(Runtime& rt, A a, A)
{
    return std::intptr_t(rt.framework()->kindDescriptor(std::uint32_t(a)));
}

std::intptr_t kindEventClass(Runtime& rt, A a, A)
{
    return rt.framework()->kindEventClass(std::uint32_t(a));
}

std::intptr_t isUnitWindow(Runtime& rt, A a, A)
{
    return rt.framework()->isUnitWindow(platform::Hwnd(a));
}

std::intptr_t showContainerUnits(Runtime& rt, A a, A b)
{
    rt.framework()->showContainerUnits(std::uint32_t(a), std::uint32_t(b));
    return 0;
}

std::intptr_t playSound(Runtime& rt, A a, A)
{
    auto* req = reinterpret_cast<const SoundRequest*>(a);
    return req && rt.startPlayback(std::span(req->data, req->size), req->loop);
}

std::intptr_t registerNamedRoutine(Runtime& rt, A a, A b)
{
    if (!a)
        return 0;
    rt.setNamedRoutine(reinterpret_cast<const char*>(a), reinterpret_cast<void (*)()>(b));
    return 1;
}

// Indexed by service number; position 0 is unused.
constexpr std::array<ServiceFn, std::size_t(Service::Count_)> kServices = {
    nullptr,
    convertToInteger, programDirectory, programFileName, copyPath, loadWindow, unitObject, unitObjectOrError,
    unitData, raiseEvent, raiseTypedEvent, processPending, suspendEvents, resumeEvents, currentEventSource,
    windowDestroyed, unitDestroyed, windowCount, windowHandleAt, allocate, allocateOrNull, freeBlock, reallocate,
    freeArray, runtimeError, endProgram, runMode, registerIdle, removeIdle, registerClosable, queryClosable,
    removeClosable, closeAll, addIcon, removeIcon, queryIcon, windowsTable, findWindow, wrapWindow, attachWindow,
    detachWindow, runtimeVersion, defaultIcon, kindDescriptor, kindEventClass, isUnitWindow, showContainerUnits,
    playSound, registerNamedRoutine,
};
static_assert(kServices.back() == registerNamedRoutine, "service table out of step with Service");

} // namespace

std::intptr_t RuntimeServiceEntry(int service, std::uintptr_t a, std::uintptr_t b)
{
    if (service <= 0 || service >= int(kServices.size()) || !kServices[std::size_t(service)])
        return 0;
    return kServices[std::size_t(service)](TheRuntime(), a, b);
}

} // namespace runtime
