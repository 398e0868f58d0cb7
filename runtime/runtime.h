// The process-wide runtime: start-up, the message loops, idle processing,
// the operations handlers call, and shutdown.
#pragma once

#include "platform/library_loader.h"
#include "platform/process.h"
#include "platform/types.h"
#include "runtime/handler.h"
#include "runtime/library.h"
#include "runtime/memory.h"
#include "runtime/program_info.h"
#include "runtime/typed_value.h"
#include "runtime/unit_framework.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace runtime {

using CleanupRoutine = void (*)();
using IdleCallback = void (*)(void* argument);
using StartRoutine = int (*)();
// Receives (error code, full message); a non-zero answer suppresses the box.
using ErrorHook = std::int32_t (*)(std::int32_t code, const char* message);

// Private messages of the runtime.
enum : std::uint32_t {
    kMessageGetWindowObject = 0x8002, // answer: the window's object, or 0
    kMessageDestroyUnit = 0x8065,     // deferred destruction of a window
    kMessageEndProgram = 0x83E7,      // to the hidden owner window; wParam: exit code
};

inline constexpr const char* kHiddenOwnerClass = "_VX_HideOwner";

// Something the runtime asks to close, and then deletes, at shutdown.
class ClosableObject {
public:
    virtual ~ClosableObject() = default;
    virtual void close() = 0;
};

// Something the runtime deletes at shutdown.
class OwnedObject {
public:
    virtual ~OwnedObject() = default;
};

struct IconRecord {
    platform::Icon icon = platform::Icon::Null;
    void* buffer = nullptr; // runtime heap
};

struct EventSource {
    std::uint32_t windowId = 0;
    std::uint32_t unitId = 0;
};

class Runtime {
public:
    Runtime();
    ~Runtime();
    Runtime(const Runtime&) = delete;
    Runtime& operator=(const Runtime&) = delete;

    // --- start-up --------------------------------------------------------
    // Process entry: window framework, instance initialisation, the start
    // routine, and (after the main loop) shutdown and process exit.
    [[noreturn]] void processEntry(int& argc, char** argv, const ProgramInfo& program, UnitFramework& framework,
                                   StartRoutine start);
    void startRuntime();
    void loadStartupWindow(std::uint32_t windowId);
    void runMainLoop();
    void registerCleanup(CleanupRoutine routine);

    // --- message loops ---------------------------------------------------
    // Runs the loop; in modal mode it returns once the modal window id is 0
    // or the quit message is next (which then stays queued).
    void runMessageLoop(bool modal);
    // Shows nothing itself: makes `windowId` the modal window, runs the
    // modal loop, restores the previous modal window.
    void runModalLoop(std::uint32_t windowId);
    bool preTranslate(platform::Msg& msg);
    bool onIdle(long idleCount);
    // Dispatches waiting messages until none is left or the quit message is
    // next.
    void processPendingMessages();

    // --- notifications from the window framework --------------------------
    void windowDestroyed(std::uint32_t windowId);
    void unitDestroyed(std::uint32_t windowId, std::uint32_t unitId);

    // --- events ----------------------------------------------------------
    bool eventsSuppressed() const { return m_eventSuppression > 0; }
    void suspendEvents();
    void resumeEvents();
    // Calls a handler with the current event source set, unless events are
    // suppressed (then nothing is called and the result says so).
    bool callHandler(const HandlerEntry& handler, EventSource source, std::span<const TypedValue> args,
                     HandlerResult& result);
    EventSource currentEventSource() const { return m_currentEventSource; }

    // --- operations handlers call ----------------------------------------
    TypedValue readProperty(std::uint32_t windowId, std::uint32_t unitId, int property, int field);
    void writeProperty(std::uint32_t windowId, std::uint32_t unitId, int property, int field, const TypedValue& value);
    TypedValue callCommand(CommandId command, std::span<const TypedValue> args);
    [[noreturn]] void endProgram(int exitCode);
    void shutdown(int exitCode);

    // --- external DLL commands ----------------------------------------------
    // The address of external command `index`, resolved on first call and
    // kept; a command that cannot be found is a runtime error.
    void* callExternalCommand(std::size_t index);
    // The next external command is looked up in this module by this name
    // (its own name when empty); both are cleared once it is resolved.
    void selectDllModule(platform::Module module, const std::string& exportedName);
    // The program's external commands: per command its library file name
    // (empty: the system libraries) and exported name ("#n" an ordinal).
    void defineExternalCommands(std::span<const char* const> fileNames, std::span<const char* const> exportedNames);
    void setExtraDllDirectory(const std::string& directory) { m_extraDllDirectory = directory; }

    // --- idle callbacks, clean-up and shutdown lists ---------------------
    bool registerIdleCallback(platform::Hwnd hwnd, IdleCallback callback, void* argument);
    void removeIdleCallback(platform::Hwnd hwnd);
    void registerClosable(ClosableObject* object, std::uint8_t flag);
    int closableFlag(ClosableObject* object) const; // -1 when not registered
    void removeClosable(ClosableObject* object);
    void closeAllClosables();
    void addOwnedObject(std::unique_ptr<OwnedObject> object);
    IconRecord* addIconRecord(platform::Icon icon, void* buffer);
    bool removeIconRecord(IconRecord* record);
    bool hasIconRecord(const IconRecord* record) const;
    void setNamedRoutine(const std::string& name, void (*routine)());
    // The program's default icon at 32 or 16 pixels, made on first request.
    platform::Icon defaultIcon(int size);
    // Registers a component and remembers it for unregistering at shutdown.
    bool registerComponent(std::string_view entry);
    std::size_t componentCount() const { return m_components.size(); }

    // --- background playback -----------------------------------------------
    // Plays wave or MIDI data on the background thread (there is no sound
    // device: the thread keeps the data's time and ends).  False for data of
    // neither kind.
    bool startPlayback(std::span<const std::uint8_t> data, bool loop);
    void stopPlayback();
    int playbackState() const { return m_playbackState; }

    // --- state -------------------------------------------------------------
    Memory& memory() { return m_memory; }
    WindowTable& windows() { return m_windows; }
    WindowEntry* findWindow(std::uint32_t windowId);
    UnitFramework* framework() { return m_framework; }
    const ProgramInfo* program() const { return m_program; }
    const std::string& programDirectory() const { return m_programDirectory; }
    const std::string& programFileName() const { return m_programFileName; }
    const std::string& moduleDirectory() const { return m_moduleDirectory; }
    const std::string& extraDllDirectory() const { return m_extraDllDirectory; }
    std::int32_t runMode() const { return m_runMode; }
    platform::Hwnd hiddenOwner() const { return m_hiddenOwner; }
    std::uint32_t modalWindowId() const { return m_modalWindowId; }
    bool ending() const { return m_ending; }
    bool running() const { return m_running; }
    void setErrorHook(ErrorHook hook) { m_errorHook = hook; }
    ErrorHook errorHook() const { return m_errorHook; }
    const std::vector<const LibraryDescriptor*>& libraries() const { return m_libraries; }
    ServiceEntry serviceEntry() const { return m_serviceEntry; }
    void setServiceEntry(ServiceEntry entry) { m_serviceEntry = entry; }
    // The error report's bookkeeping: a hook call in progress, and the
    // clean-up list it empties.
    bool& hookRunning() { return m_hookRunning; }
    void dropCleanupRoutines() { m_cleanups.clear(); }
    void addEventSuppression() { ++m_eventSuppression; }
    int lastQuitCode() const { return m_lastQuitCode; }

    // For tests that run the runtime in-process: sets the program and
    // framework as process entry would, without starting.
    void prepare(const ProgramInfo& program, UnitFramework& framework);

private:
    bool instanceInitialize(StartRoutine start);
    void createHiddenOwner();
    void notifyLibrariesStarted();
    void loadTemplates();
    bool anyWindowLive() const;
    bool pumpMessage();
    bool restartsIdle(const platform::Msg& msg);
    bool raiseWindowIdleEvents();
    platform::Hwnd mainWindowHandle();

    // Program paths.
    std::string m_programDirectory;
    std::string m_programFileName;
    std::string m_moduleDirectory;
    std::string m_extraDllDirectory;
    platform::Module m_selectedModule = platform::Module::Null;
    std::string m_selectedExportName;

    // Program information.
    const ProgramInfo* m_program = nullptr;
    UnitFramework* m_framework = nullptr;
    std::int32_t m_runMode = 0;
    std::uint32_t m_buildNumbers[2] = {0, 0};
    Memory m_memory;

    // Libraries and external commands.
    std::vector<const LibraryDescriptor*> m_libraries;
    std::vector<std::uintptr_t> m_libraryData;
    ServiceEntry m_serviceEntry = nullptr;
    std::vector<std::string> m_externalFiles;
    std::vector<std::string> m_externalNames;
    std::vector<void*> m_externalAddresses;
    std::vector<platform::Module> m_externalModules;
    std::vector<platform::Module> m_secondDllModules;
    std::vector<std::string> m_secondDllNames;
    std::vector<std::string> m_components;
    std::vector<std::string> m_componentPaths;

    // Windows.
    WindowTable m_windows;

    // Idle callbacks: three parallel lists.
    std::vector<platform::Hwnd> m_idleWindows;
    std::vector<IdleCallback> m_idleCallbacks;
    std::vector<void*> m_idleArguments;

    std::vector<CleanupRoutine> m_cleanups;
    std::vector<ClosableObject*> m_closables;
    std::vector<std::uint8_t> m_closableFlags;
    std::vector<IconRecord*> m_iconRecords;
    std::vector<std::unique_ptr<OwnedObject>> m_ownedObjects;
    std::map<std::string, void (*)()> m_namedRoutines;

    // Events and loops.
    std::atomic<int> m_eventSuppression{0};
    std::atomic<bool> m_ending{false};
    bool m_running = false;
    EventSource m_currentEventSource;
    std::uint32_t m_modalWindowId = 0;
    platform::ThreadId m_mainThread = 0;
    platform::Hwnd m_hiddenOwner = platform::Hwnd::Null;
    platform::Icon m_defaultIcons[2] = {platform::Icon::Null, platform::Icon::Null};
    bool m_oleInitialized = false;
    bool m_socketsInitialized = false;
    ErrorHook m_errorHook = nullptr;
    bool m_hookRunning = false;
    int m_lastQuitCode = 0;

    // Idle processing.
    std::uint32_t m_startupWindowId = 0;
    platform::Point m_lastMouseMove{-1, -1};
    std::uint32_t m_lastMouseMessage = 0;
    bool m_frameworkIdleActive = false;
    std::uint32_t m_idleStart = 0;
    std::vector<platform::Hwnd> m_idleFinished;

    // Background playback.
    std::atomic<int> m_playbackState{0}; // 0 idle, 1 running, 2 stopping
    std::thread m_playbackThread;
    std::vector<std::uint8_t> m_playbackData;

    std::recursive_mutex m_lock;
};

// The one runtime of the process.
Runtime& TheRuntime();

// The operations as handlers call them.
TypedValue ReadProperty(std::uint32_t windowId, std::uint32_t unitId, int property, int field = -1);
void WriteProperty(std::uint32_t windowId, std::uint32_t unitId, int property, int field, const TypedValue& value);
TypedValue CallCommand(CommandId command, std::span<const TypedValue> args);
[[noreturn]] void EndProgram(int exitCode);
void RegisterCleanup(CleanupRoutine routine);

// The steps of an application's start routine.
void StartRuntime();
void ResetFloatingPoint();
void LoadStartupWindow(std::uint32_t windowId);
void RunMainLoop();

} // namespace runtime
