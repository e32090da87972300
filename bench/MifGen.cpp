// mifgen PAGES threaded|unthreaded|book OUT.mif: writes one of the benchmarks' generated
// documents to a file, so that a whole run of the tessel command can be measured on it.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "MifGenerator.h"

int main(int argc, char** argv)
{
    const bool known = argc == 4 && (!std::strcmp(argv[2], "threaded") || !std::strcmp(argv[2], "unthreaded") || !std::strcmp(argv[2], "book"));
    if (!known || std::atoi(argv[1]) < 1) {
        std::fprintf(stderr, "usage: mifgen PAGES threaded|unthreaded|book OUT.mif\n");
        return 2;
    }
    const int pages = std::atoi(argv[1]);
    std::string mif = !std::strcmp(argv[2], "book") ? MifGenerator::Book(pages) : MifGenerator::Document(pages, !std::strcmp(argv[2], "threaded"));
    FILE* out = std::fopen(argv[3], "wb");
    if (!out || std::fwrite(mif.data(), 1, mif.size(), out) != mif.size() || std::fclose(out) != 0) {
        std::fprintf(stderr, "mifgen: cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
