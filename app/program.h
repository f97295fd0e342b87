#pragma once

namespace zenvo {

// The program: `zenvo` opens the login and the main window; `zenvo --print-machine-id` prints
// this machine's identity (for registering it on the server) and ends.
int ProgramCalistir(int argc, char **argv);

} // namespace zenvo
