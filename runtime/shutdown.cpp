// The end of the program, and the window framework's notifications that
// lead to it.

#include "platform/icon.h"
#include "platform/library_loader.h"
#include "platform/message_queue.h"
#include "platform/ole.h"
#include "platform/process.h"
#include "platform/window.h"
#include "runtime/components.h"
#include "runtime/runtime.h"

#include <chrono>
#include <thread>
#include <utility>

namespace runtime {

void Runtime::windowDestroyed(std::uint32_t windowId)
{
    if (m_ending)
        return;
    if (WindowEntry* w = findWindow(windowId)) {
        w->resetToStored();
        if (m_modalWindowId == windowId)
            m_modalWindowId = 0;
    }
    if (m_running && !anyWindowLive())
        platform::PostQuitMessage(0);
}

void Runtime::unitDestroyed(std::uint32_t windowId, std::uint32_t unitId)
{
    if (m_ending)
        return;
    if (WindowEntry* w = findWindow(windowId))
        w->unitGone(unitId);
}

void Runtime::endProgram(int exitCode)
{
    shutdown(exitCode);
    // Another thread gets here only when the main thread is ending the
    // program already.  Ending the process from here would cut that
    // shutdown short and replace its exit code, so this thread waits for
    // the main thread to end the process.
    if (m_mainThread != 0 && platform::GetCurrentThreadId() != m_mainThread)
        for (;;)
            std::this_thread::sleep_for(std::chrono::hours(1));
    platform::ExitProcess(exitCode);
}

void Runtime::shutdown(int exitCode)
{
    // 1. No handler runs from here on.
    ++m_eventSuppression;

    // 2. From another thread: the main thread is asked to end, and unless
    //    it is ending already the process ends here and now.
    if (m_mainThread != 0 && platform::GetCurrentThreadId() != m_mainThread) {
        if (m_hiddenOwner != platform::Hwnd::Null)
            platform::SendMessage(m_hiddenOwner, kMessageEndProgram, platform::WParam(exitCode), 0);
        if (!m_ending)
            platform::ExitProcess(exitCode);
        return;
    }

    // 3. A shutdown already under way on this thread finishes on its own.
    if (m_ending.exchange(true))
        return;

    // 4.
    m_idleWindows.clear();
    m_idleCallbacks.clear();
    m_idleArguments.clear();

    // 5. Every loaded window image.
    for (auto& [id, window] : m_windows)
        window->destroyLive();
    m_windows.clear();

    // 6. Clean-up routines, in registration order.
    auto cleanups = std::move(m_cleanups);
    m_cleanups.clear();
    for (CleanupRoutine routine : cleanups)
        routine();

    // 7. Libraries.
    for (std::size_t i = 0; i < m_libraries.size(); ++i)
        if (m_libraries[i]->notify)
            m_libraries[i]->notify(kLibraryShutdown, m_libraryData[i], 0);
    m_libraries.clear();
    m_libraryData.clear();

    // 8. External command modules, then the second DLL list.
    if (!m_externalFiles.empty()) {
        for (platform::Module m : m_externalModules)
            if (m != platform::Module::Null)
                platform::FreeLibrary(m);
        m_externalFiles.clear();
        m_externalNames.clear();
        m_externalAddresses.clear();
        m_externalModules.clear();
    }
    for (platform::Module m : m_secondDllModules)
        if (m != platform::Module::Null)
            platform::FreeLibrary(m);
    m_secondDllModules.clear();
    m_secondDllNames.clear();

    // 9.
    m_selectedModule = platform::Module::Null;
    m_selectedExportName.clear();
    m_extraDllDirectory.clear();
    m_memory.forgetConstantArea();
    for (platform::Icon& icon : m_defaultIcons)
        if (icon != platform::Icon::Null)
            platform::DestroyIcon(std::exchange(icon, platform::Icon::Null));

    // 10.
    if (platform::IsWindow(m_hiddenOwner))
        platform::DestroyWindow(m_hiddenOwner);
    m_hiddenOwner = platform::Hwnd::Null;

    // 11-12.
    closeAllClosables();
    m_ownedObjects.clear();

    // 13. Media playback.
    if (auto it = m_namedRoutines.find("RemovePlayer"); it != m_namedRoutines.end())
        it->second();
    stopPlayback();

    // 14. Icon records.
    for (IconRecord* record : m_iconRecords) {
        platform::DestroyIcon(record->icon);
        m_memory.free(record->buffer);
        delete record;
    }
    m_iconRecords.clear();

    // 15.
    if (m_socketsInitialized) {
        platform::WSACleanup();
        m_socketsInitialized = false;
    }

    // 16. Components registered during the run.
    for (const std::string& entry : m_components)
        UnregisterComponent(entry, m_runMode, m_moduleDirectory, m_programDirectory);
    m_components.clear();
    m_componentPaths.clear();

    // 17.
    if (m_oleInitialized) {
        platform::OleUninitialize();
        m_oleInitialized = false;
    }
}

} // namespace runtime
