#include "app/program.h"

int main(int argc, char **argv) {
    return zenvo::ProgramCalistir(argc, argv);
}
