// From process entry to the main loop.

#include "platform/application.h"
#include "platform/icon.h"
#include "platform/message_queue.h"
#include "platform/messages.h"
#include "platform/ole.h"
#include "platform/window.h"
#include "runtime/runtime.h"
#include "runtime/runtime_error.h"
#include "runtime/services.h"

#include <cfenv>

namespace runtime {
namespace {

platform::LResult hiddenOwnerProc(platform::Hwnd hwnd, std::uint32_t message, platform::WParam wParam,
                                  platform::LParam lParam)
{
    if (message == kMessageEndProgram) {
        // Another thread asked for the end.  Once shutdown is under way the
        // main thread finishes it with its own code.
        if (!TheRuntime().ending())
            TheRuntime().endProgram(int(wParam));
        return 0;
    }
    return platform::DefWindowProc(hwnd, message, wParam, lParam);
}

// The directory part of a path (before its last "/") and the rest.
void splitProgramPath(const std::string& path, std::string& directory, std::string& fileName)
{
    auto slash = path.rfind('/');
    if (slash == std::string::npos) {
        directory.clear();
        fileName = path;
        return;
    }
    directory = path.substr(0, slash);
    fileName = path.substr(slash + 1);
}

} // namespace

void Runtime::processEntry(int& argc, char** argv, const ProgramInfo& program, UnitFramework& framework,
                           StartRoutine start)
{
    platform::InitializeApplication(argc, argv);
    prepare(program, framework);
    bool initialized = instanceInitialize(start);
    // A start routine that reports success leaves the loop to the framework.
    if (initialized) {
        m_running = true;
        runMessageLoop(false);
    }
    shutdown(0);
    platform::ExitProcess(m_lastQuitCode);
}

bool Runtime::instanceInitialize(StartRoutine start)
{
    m_moduleDirectory = platform::GetModuleDirectory();
    return start ? start() != 0 : false;
}

void Runtime::startRuntime()
{
    // 1-2: heap and program information.
    const ProgramInfo& p = *m_program;
    m_runMode = p.runMode;
    m_buildNumbers[0] = p.buildNumber;
    m_buildNumbers[1] = p.secondBuildNumber + 1;

    // 3: component services.
    if (!m_oleInitialized)
        m_oleInitialized = platform::OleInitialize() || platform::IsOleInitialized();

    // 4: program path; the current directory becomes the program's.
    splitProgramPath(platform::GetModuleFileName(), m_programDirectory, m_programFileName);
    platform::SetCurrentDirectory(m_programDirectory);

    // 5-6: lookup maps live in their tables; the hidden owner window.
    createHiddenOwner();

    // 7-8.
    m_mainThread = platform::GetCurrentThreadId();
    if (p.constantAreaStart && p.constantAreaSize)
        m_memory.setConstantArea(p.constantAreaStart, p.constantAreaSize);

    // 9: external DLL commands.
    defineExternalCommands(p.externalFileNames, p.externalExportedNames);

    // 10: libraries.
    notifyLibrariesStarted();

    // 11: window templates.
    loadTemplates();
}

void Runtime::createHiddenOwner()
{
    if (!platform::IsWindowClassRegistered(kHiddenOwnerClass)) {
        platform::WindowClass cls;
        cls.name = kHiddenOwnerClass;
        cls.proc = hiddenOwnerProc;
        cls.cursor = platform::LoadStandardCursor(platform::StandardCursor::Arrow);
        cls.nullBrush = true;
        platform::RegisterWindowClass(cls);
    }
    platform::WindowCreateParams params;
    params.exStyle = platform::WS_EX_TOOLWINDOW;
    params.className = kHiddenOwnerClass;
    params.style = platform::WS_POPUP;
    m_hiddenOwner = platform::CreateWindowEx(params);
}

void Runtime::notifyLibrariesStarted()
{
    if (!m_serviceEntry)
        m_serviceEntry = RuntimeServiceEntry;
    for (const LibraryDescriptor* lib : m_program->libraries)
        if (lib && lib->notify)
            lib->notify(kLibraryStarted, std::uintptr_t(m_serviceEntry), 0);
    m_libraries.clear();
    for (const LibraryDescriptor* lib : m_program->libraries)
        if (lib)
            m_libraries.push_back(lib);
    m_libraryData.assign(m_libraries.size(), 0);
}

void Runtime::loadTemplates()
{
    if (!m_program->templateBlock || m_program->templateBlockSize == 0)
        return;
    std::string error;
    if (!m_framework->loadTemplates(*m_program, m_windows, error))
        ReportLibraryError(error.empty() ? "窗口模板数据已损坏" : error);
}

void Runtime::loadStartupWindow(std::uint32_t windowId)
{
    m_startupWindowId = windowId;
    if (!findWindow(windowId) || !m_framework->openWindow(windowId, nullptr, false))
        ReportRuntimeError(error_text::kStartupWindow, 0, windowId, 0);
}

void Runtime::runMainLoop()
{
    m_running = true;
    if (anyWindowLive())
        runMessageLoop(false);
}

// The floating-point unit's initial state: round to nearest, every
// exception masked.
void ResetFloatingPoint()
{
    std::fesetenv(FE_DFL_ENV);
    std::fesetround(FE_TONEAREST);
}

void StartRuntime()
{
    TheRuntime().startRuntime();
}

void LoadStartupWindow(std::uint32_t windowId)
{
    TheRuntime().loadStartupWindow(windowId);
}

void RunMainLoop()
{
    TheRuntime().runMainLoop();
}

} // namespace runtime
