// mifgen PAGES [threaded|unthreaded] OUT.mif: writes the benchmark's generated document to a file,
// so that a whole run of the tessel command can be measured on it.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "MifGenerator.h"

int main(int argc, char** argv)
{
    if (argc != 4 || std::atoi(argv[1]) < 1 || (std::strcmp(argv[2], "threaded") && std::strcmp(argv[2], "unthreaded"))) {
        std::fprintf(stderr, "usage: mifgen PAGES threaded|unthreaded OUT.mif\n");
        return 2;
    }
    std::string mif = MifGenerator::Document(std::atoi(argv[1]), std::strcmp(argv[2], "threaded") == 0);
    FILE* out = std::fopen(argv[3], "wb");
    if (!out || std::fwrite(mif.data(), 1, mif.size(), out) != mif.size() || std::fclose(out) != 0) {
        std::fprintf(stderr, "mifgen: cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
