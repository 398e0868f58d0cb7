// The services the runtime offers the libraries, through the one entry
// each library is handed at start-up: RuntimeServiceEntry(service, a, b).
#pragma once

#include "platform/types.h"
#include "runtime/library.h"
#include "runtime/typed_value.h"

#include <cstddef>
#include <cstdint>

namespace platform {
class WindowObject;
}

namespace runtime {

enum class Service : int {
    ConvertToInteger = 1,   // a: const TypedValue*
    ProgramDirectory,       // -> const char* (no trailing "/")
    ProgramFileName,        // -> const char*
    CopyPath,               // a: PathKind, b: PathBuffer*
    LoadWindow,             // a: const LoadWindowRequest* -> 0 loaded, -1 not
    UnitObject,             // a: window id, b: unit id -> WindowObject* or 0
    UnitObjectOrError,      // as UnitObject; a unit not loaded is a runtime error
    UnitData,               // a: window id, b: unit id -> the unit's template entry
    RaiseEvent,             // a: EventCall*
    RaiseTypedEvent,        // a: TypedEventCall*
    ProcessPendingMessages,
    SuspendEvents,
    ResumeEvents,
    CurrentEventSource,     // a: EventSource* (filled) -> false when none
    WindowDestroyed,        // a: window id
    UnitDestroyed,          // a: window id, b: unit id
    WindowCount,
    WindowHandleAt,         // a: position -> Hwnd, or 0 for a window not open
    Allocate,               // a: bytes
    AllocateOrNull,         // a: bytes
    Free,                   // a: block
    Reallocate,             // a: block, b: bytes
    FreeArray,              // a: array block, b: element ValueType
    RuntimeError,           // a: const char* message
    EndProgram,             // a: exit code
    RunMode,
    RegisterIdleCallback,   // a: const IdleCallbackRequest*
    RemoveIdleCallback,     // a: Hwnd
    RegisterClosable,       // a: ClosableObject*, b: flag byte
    QueryClosable,          // a: ClosableObject* -> flag or -1
    RemoveClosable,         // a: ClosableObject*
    CloseAllClosables,
    AddIconRecord,          // a: Icon, b: buffer -> IconRecord*
    RemoveIconRecord,       // a: IconRecord*
    QueryIconRecord,        // a: IconRecord* -> whether it is registered
    WindowsTable,           // -> WindowTable*
    FindWindow,             // a: window id -> WindowEntry* or 0
    WrapWindow,             // a: Hwnd -> a new WindowObject bound to it
    AttachWindow,           // a: WindowObject*, b: Hwnd -> bool
    DetachWindow,           // a: WindowObject* -> Hwnd
    RuntimeVersion,         // -> 0x70005
    DefaultIcon,            // a: 32 or 16 -> Icon
    KindDescriptor,         // a: kind id -> descriptor or 0
    KindEventClass,         // a: kind id -> 0, 1 or 2
    IsUnitWindow,           // a: Hwnd
    ShowContainerUnits,     // a: window id, b: unit id
    PlaySound,              // a: const SoundRequest*
    RegisterNamedRoutine,   // a: const char* name, b: routine (void (*)())
    Count_
};

enum class PathKind : int { DirectoryWithSlash = 0, FileName = 1 };

struct PathBuffer {
    char* data;
    std::size_t size;
};

struct LoadWindowRequest {
    std::uint32_t windowId = 0;
    platform::WindowObject* owner = nullptr;
    bool modal = false;
};

struct IdleCallbackRequest {
    platform::Hwnd hwnd = platform::Hwnd::Null;
    void (*callback)(void*) = nullptr;
    void* argument = nullptr;
};

struct SoundRequest {
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
    bool loop = false;
};

inline constexpr std::intptr_t kRuntimeVersion = 0x70005;

std::intptr_t RuntimeServiceEntry(int service, std::uintptr_t a, std::uintptr_t b);

// Typed shorthands for code of this program that calls the services.
inline std::intptr_t CallService(Service s, std::uintptr_t a = 0, std::uintptr_t b = 0)
{
    return RuntimeServiceEntry(int(s), a, b);
}

} // namespace runtime
