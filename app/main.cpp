// Velmora: a catalogue of programming notes and code snippets.

#include "app/program.h"
#include "runtime/runtime.h"
#include "ui/framework/framework.h"

int main(int argc, char** argv)
{
    runtime::TheRuntime().processEntry(argc, argv, app::ProgramInformation(), ui::TheFramework(), app::StartRoutine);
}
