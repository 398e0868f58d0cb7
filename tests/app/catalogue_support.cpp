#include "app/catalogue_support.h"

#include "app/catalogue/catalogue_database.h"
#include "app/libraries.h"
#include "app/program.h"
#include "runtime/runtime.h"
#include "platform/process.h"
#include "tools/catalogue_db/schema.h"
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

std::string CatalogueFile()
{
    return app::catalogue::CataloguePath(platform::GetModuleDirectory());
}

void EnsureStarterCatalogue()
{
    // Another test process may make it at the same moment; either wins.
    catalogue_db::CreateCatalogue(CatalogueFile(), catalogue_db::Contents::Starter);
}

} // namespace cataloguetest
