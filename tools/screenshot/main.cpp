// velmora_screenshot: the program itself, started over a fresh starter
// catalogue beside this tool, draws its main window; the window is saved
// as PNG and closed, which ends the program.  Run by
// scripts/screenshot.sh on the offscreen platform.
//
//   velmora_screenshot <output.png>

#include "app/catalogue/catalogue_database.h"
#include "app/libraries.h"
#include "app/program.h"
#include "platform/process.h"
#include "platform/testing/ui_driver.h"
#include "platform/window.h"
#include "runtime/runtime.h"
#include "tools/catalogue_db/schema.h"
#include "ui/framework/framework.h"

#include <cstdio>
#include <string>

namespace {

// Checks come every 10 ms: the tree's pictures and the list settle well
// within this many.
constexpr int kChecksBeforeSaving = 50;

bool freshStarterCatalogue()
{
    std::string path = app::catalogue::CataloguePath(platform::GetModuleDirectory());
    for (const char* suffix : {"", "-wal", "-shm"})
        std::remove((path + suffix).c_str());
    catalogue_db::Result made = catalogue_db::CreateCatalogue(path, catalogue_db::Contents::Starter);
    if (!made.ok)
        std::fprintf(stderr, "velmora_screenshot: %s\n", made.error.c_str());
    return made.ok;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: velmora_screenshot <output.png>\n");
        return 2;
    }
    std::string output = argv[1];
    if (!freshStarterCatalogue())
        return 1;
    platform::testing::InitializeHeadless(argc, argv);

    int checks = 0;
    platform::testing::RunWhen([&] {
        ui::LoadedWindow* main = ui::TheFramework().window(app::kStartupWindowId);
        platform::Hwnd hwnd = main ? main->liveHandle() : platform::Hwnd::Null;
        if (!platform::IsWindow(hwnd) || !runtime::TheRuntime().running() || ++checks < kChecksBeforeSaving)
            return false;
        if (!platform::testing::SaveWindowImage(hwnd, output))
            std::fprintf(stderr, "velmora_screenshot: cannot write %s\n", output.c_str());
        platform::testing::RequestClose(hwnd);
        return true;
    });
    for (const ui::KindLibrary& library : app::KindLibraries())
        ui::TheFramework().addKindLibrary(library);
    int programArgc = 1;
    runtime::TheRuntime().processEntry(programArgc, argv, app::ProgramInformation(), ui::TheFramework(),
                                       app::StartRoutine);
}
