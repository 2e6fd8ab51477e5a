#include <iostream>

#include "cli/runcli.h"

int main(int argc, char** argv) {
    return RunCli({argv, argv + argc}, std::cout, std::cerr);
}
