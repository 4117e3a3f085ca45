// libFuzzer builds: "fuzz_x --make-seeds DIR" writes the target's seeds and exits
// before libFuzzer reads its own options, so one binary serves tools/fuzz.
#include "FuzzSupport.h"

#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerInitialize(int* Argc, char*** Argv) {
    if (*Argc == 3 && std::strcmp((*Argv)[1], "--make-seeds") == 0)
        std::exit(MakeSeedsInto(QString::fromLocal8Bit((*Argv)[2])) ? 0 : 1);
    return 0;
}
