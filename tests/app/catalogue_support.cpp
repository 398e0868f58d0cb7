#include "app/catalogue_support.h"

#include "app/libraries.h"
#include "app/program.h"
#include "runtime/runtime.h"
#include "ui/framework/framework.h"

namespace cataloguetest {

void StartCatalogueInProcess()
{
    static bool started = false;
    if (started)
        return;
    started = true;
    for (const ui::KindLibrary& library : app::KindLibraries())
        ui::TheFramework().addKindLibrary(library);
    runtime::TheRuntime().prepare(app::ProgramInformation(), ui::TheFramework());
    runtime::TheRuntime().startRuntime();
}

} // namespace cataloguetest
