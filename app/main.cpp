#include "Program.h"
#include "system/MemoryLimit.h"

int main(int argc, char** argv) {
    pelto::memlimit::ShareOneHeapUnderLimits();
    return pelto::RunProgram(argc, argv);
}
