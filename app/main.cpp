// Velmora: a catalogue of programming notes and code snippets.

#include "app/libraries.h"
#include "app/program.h"
#include "runtime/runtime.h"
#include "ui/framework/framework.h"

int main(int argc, char** argv)
{
    ui::Framework& framework = ui::TheFramework();
    for (const ui::KindLibrary& library : app::KindLibraries())
        framework.addKindLibrary(library);
    runtime::TheRuntime().processEntry(argc, argv, app::ProgramInformation(), framework, app::StartRoutine);
}
