// The runtime object and its lists.

#include "runtime/runtime.h"

#include "platform/icon.h"
#include "platform/window.h"
#include "runtime/components.h"
#include "runtime/runtime_error.h"

#include <algorithm>

namespace runtime {

namespace {
// Constructed during static initialisation, before the program's entry.
Runtime g_runtime;
} // namespace

Runtime& TheRuntime()
{
    return g_runtime;
}

Runtime::Runtime() = default;

Runtime::~Runtime()
{
    if (m_playbackThread.joinable())
        m_playbackThread.detach();
}

void Runtime::prepare(const ProgramInfo& program, UnitFramework& framework)
{
    m_program = &program;
    m_framework = &framework;
}

WindowEntry* Runtime::findWindow(std::uint32_t windowId)
{
    auto it = m_windows.find(windowId);
    return it == m_windows.end() ? nullptr : it->second.get();
}

bool Runtime::anyWindowLive() const
{
    return std::any_of(m_windows.begin(), m_windows.end(),
                       [](const auto& w) { return platform::IsWindow(w.second->liveHandle()); });
}

void Runtime::registerCleanup(CleanupRoutine routine)
{
    if (routine && std::find(m_cleanups.begin(), m_cleanups.end(), routine) == m_cleanups.end())
        m_cleanups.push_back(routine);
}

bool Runtime::registerIdleCallback(platform::Hwnd hwnd, IdleCallback callback, void* argument)
{
    if (!platform::IsWindow(hwnd) || !callback)
        return false;
    if (std::find(m_idleWindows.begin(), m_idleWindows.end(), hwnd) != m_idleWindows.end())
        return false;
    m_idleWindows.push_back(hwnd);
    m_idleCallbacks.push_back(callback);
    m_idleArguments.push_back(argument);
    return true;
}

void Runtime::removeIdleCallback(platform::Hwnd hwnd)
{
    for (std::size_t i = m_idleWindows.size(); i-- > 0;) {
        if (m_idleWindows[i] != hwnd)
            continue;
        m_idleWindows.erase(m_idleWindows.begin() + std::ptrdiff_t(i));
        m_idleCallbacks.erase(m_idleCallbacks.begin() + std::ptrdiff_t(i));
        m_idleArguments.erase(m_idleArguments.begin() + std::ptrdiff_t(i));
    }
}

void Runtime::registerClosable(ClosableObject* object, std::uint8_t flag)
{
    if (!object || closableFlag(object) >= 0)
        return;
    m_closables.push_back(object);
    m_closableFlags.push_back(flag);
}

int Runtime::closableFlag(ClosableObject* object) const
{
    auto it = std::find(m_closables.begin(), m_closables.end(), object);
    return it == m_closables.end() ? -1 : m_closableFlags[std::size_t(it - m_closables.begin())];
}

void Runtime::removeClosable(ClosableObject* object)
{
    auto it = std::find(m_closables.begin(), m_closables.end(), object);
    if (it == m_closables.end())
        return;
    m_closableFlags.erase(m_closableFlags.begin() + (it - m_closables.begin()));
    m_closables.erase(it);
}

void Runtime::closeAllClosables()
{
    // Each object is asked to close and then deleted; one that throws does
    // not keep the others from their turn.
    auto objects = std::move(m_closables);
    m_closables.clear();
    m_closableFlags.clear();
    for (ClosableObject* o : objects) {
        try {
            o->close();
        } catch (...) {
        }
        try {
            delete o;
        } catch (...) {
        }
    }
}

void Runtime::addOwnedObject(std::unique_ptr<OwnedObject> object)
{
    if (object)
        m_ownedObjects.push_back(std::move(object));
}

IconRecord* Runtime::addIconRecord(platform::Icon icon, void* buffer)
{
    auto* record = new IconRecord{icon, buffer};
    m_iconRecords.push_back(record);
    return record;
}

bool Runtime::hasIconRecord(const IconRecord* record) const
{
    return std::find(m_iconRecords.begin(), m_iconRecords.end(), record) != m_iconRecords.end();
}

bool Runtime::removeIconRecord(IconRecord* record)
{
    auto it = std::find(m_iconRecords.begin(), m_iconRecords.end(), record);
    if (it == m_iconRecords.end())
        return false;
    m_iconRecords.erase(it);
    platform::DestroyIcon(record->icon);
    m_memory.free(record->buffer);
    delete record;
    return true;
}

void Runtime::setNamedRoutine(const std::string& name, void (*routine)())
{
    if (routine)
        m_namedRoutines[name] = routine;
    else
        m_namedRoutines.erase(name);
}

void Runtime::suspendEvents()
{
    processPendingMessages();
    ++m_eventSuppression;
}

void Runtime::resumeEvents()
{
    processPendingMessages();
    if (m_eventSuppression > 0)
        --m_eventSuppression;
}

bool Runtime::callHandler(const HandlerEntry& handler, EventSource source, std::span<const TypedValue> args,
                          HandlerResult& result)
{
    if (eventsSuppressed() || !handler.function)
        return false;
    // A handler may raise events of its own (writing a property can); the
    // source the outer handler sees is put back when the inner one returns,
    // and with no outer handler that leaves none.
    EventSource previous = m_currentEventSource;
    m_currentEventSource = source;
    result = handler.function(args);
    m_currentEventSource = previous;
    return true;
}

TypedValue Runtime::readProperty(std::uint32_t windowId, std::uint32_t unitId, int property, int field)
{
    return m_framework->readProperty(windowId, unitId, property, field);
}

void Runtime::writeProperty(std::uint32_t windowId, std::uint32_t unitId, int property, int field,
                            const TypedValue& value)
{
    m_framework->writeProperty(windowId, unitId, property, field, value);
}

TypedValue Runtime::callCommand(CommandId command, std::span<const TypedValue> args)
{
    for (const LibraryDescriptor* lib : m_libraries) {
        if (lib->number != command.library)
            continue;
        if (command.index >= lib->commands.size() || !lib->commands[command.index].function)
            break;
        return lib->commands[command.index].function(args);
    }
    ReportLibraryError("所调用的支持库命令不存在");
}

TypedValue ReadProperty(std::uint32_t windowId, std::uint32_t unitId, int property, int field)
{
    return TheRuntime().readProperty(windowId, unitId, property, field);
}

void WriteProperty(std::uint32_t windowId, std::uint32_t unitId, int property, int field, const TypedValue& value)
{
    TheRuntime().writeProperty(windowId, unitId, property, field, value);
}

TypedValue CallCommand(CommandId command, std::span<const TypedValue> args)
{
    return TheRuntime().callCommand(command, args);
}

void EndProgram(int exitCode)
{
    TheRuntime().endProgram(exitCode);
}

void RegisterCleanup(CleanupRoutine routine)
{
    TheRuntime().registerCleanup(routine);
}

} // namespace runtime

namespace runtime {

platform::Icon Runtime::defaultIcon(int size)
{
    platform::Icon& icon = m_defaultIcons[size <= 16 ? 1 : 0];
    if (icon == platform::Icon::Null && m_program && !m_program->defaultIcon.empty())
        icon = platform::CreateIconFromFile(m_program->defaultIcon, size <= 16 ? 16 : 32);
    return icon;
}

bool Runtime::registerComponent(std::string_view entry)
{
    std::string path;
    if (!RegisterComponent(entry, m_runMode, m_moduleDirectory, m_programDirectory, path))
        return false;
    m_components.emplace_back(entry);
    m_componentPaths.push_back(path);
    return true;
}

} // namespace runtime
