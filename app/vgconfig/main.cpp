// vgconfig: the program's windows.
#include "gui/Program.h"

int main(int argc, char** argv) {
    return vg::RunProgram(argc, argv);
}
