// make_catalogue: creates a new catalogue database, with the starter
// categories and entries unless --empty is given.  Never touches an
// existing file.
//
//   make_catalogue [--empty] <path>

#include "tools/catalogue_db/schema.h"

#include <cstdio>
#include <cstring>

namespace {

int usage()
{
    std::fprintf(stderr, "usage: make_catalogue [--empty] <path>\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    auto contents = catalogue_db::Contents::Starter;
    const char* path = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--empty") == 0)
            contents = catalogue_db::Contents::Empty;
        else if (path || argv[i][0] == '-')
            return usage();
        else
            path = argv[i];
    }
    if (!path)
        return usage();
    catalogue_db::Result r = catalogue_db::CreateCatalogue(path, contents);
    if (!r.ok) {
        std::fprintf(stderr, "make_catalogue: %s\n", r.error.c_str());
        return 1;
    }
    return 0;
}
