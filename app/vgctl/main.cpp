// vgctl: back up, restore and watch a unit from a terminal or a script.
#include "cli/Vgctl.h"

#include <exception>
#include <iostream>
#include <unistd.h>

int main(int argc, char** argv) {
    try {
        return vg::cli::RunVgctl({argv + 1, argv + argc}, std::cout, std::cerr,
                                 isatty(STDERR_FILENO) == 1);
    } catch (const std::exception& e) {
        std::cerr << "vgctl: " << e.what() << '\n';
        return vg::cli::ExitFailure;
    }
}
