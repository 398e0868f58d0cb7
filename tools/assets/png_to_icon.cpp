// png_to_icon OUT.ico IN.png...: writes an icon file with one 32-bit image
// per PNG picture, in the order given.

#include "tools/png_reader.h"

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s OUT.ico IN.png...\n", argv[0]);
        return 2;
    }
    std::vector<std::string> inputs(argv + 2, argv + argc);
    tools::BytesResult icon = tools::IconFileFromPngFiles(inputs);
    if (icon.bytes.empty()) {
        std::fprintf(stderr, "png_to_icon: %s\n", icon.error.c_str());
        return 1;
    }
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(icon.bytes.data()), std::streamsize(icon.bytes.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "png_to_icon: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
