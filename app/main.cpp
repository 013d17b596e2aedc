#include "Program.h"

int main(int argc, char** argv) {
    return pelto::RunProgram(argc, argv);
}
