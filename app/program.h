#pragma once

#include <functional>

namespace zenvo {

class TForm1;

// The program: `zenvo` opens the login and the main window; `zenvo --print-machine-id` prints
// this machine's identity (for registering it on the server) and ends. `ozellikleriKur` puts
// the feature tabs into the main window before the login.
int ProgramCalistir(int argc, char **argv,
                    const std::function<void(TForm1 &)> &ozellikleriKur = {});

} // namespace zenvo
