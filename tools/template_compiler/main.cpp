// The template compiler: window descriptions in, the program's template
// block out (as a file to inspect and as a C++ source the program embeds).
//
//   template_compiler --assets DIR --block OUT.bin --source OUT.cpp
//                     [--depfile OUT.d] [--default-icon ICON] DESCRIPTION...
//
// Handler names resolve against the application's handler table, whose
// names and order come from app/handlers.def, the list the program's own
// table is built from.

#include "runtime/handler.h"
#include "tools/template_compiler/compiler.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

const std::vector<std::string> kHandlerNames = {
#define VELMORA_HANDLER(name) #name,
#include "app/handlers.def"
#undef VELMORA_HANDLER
};

int usage()
{
    std::fprintf(stderr, "usage: template_compiler --assets DIR --block OUT.bin --source OUT.cpp [--depfile OUT.d] "
                         "DESCRIPTION...\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    tc::CompileOptions options;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= argc)
                return false;
            out = argv[++i];
            return true;
        };
        bool ok = true;
        if (a == "--assets")
            ok = value(options.assetDirectory);
        else if (a == "--block")
            ok = value(options.blockPath);
        else if (a == "--source")
            ok = value(options.sourcePath);
        else if (a == "--depfile")
            ok = value(options.depfilePath);
        else if (a == "--default-icon")
            ok = value(options.defaultIconPath);
        else if (a.rfind("--", 0) == 0)
            ok = false;
        else
            options.descriptions.push_back(a);
        if (!ok)
            return usage();
    }
    if (options.descriptions.empty() || options.blockPath.empty() || options.sourcePath.empty())
        return usage();
    options.handlerNames = kHandlerNames;
    options.handlerEntrySize = sizeof(runtime::HandlerEntry);
    std::string error = tc::Compile(options);
    if (!error.empty()) {
        std::fprintf(stderr, "template_compiler: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
