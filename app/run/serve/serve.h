// simhost-run --serve: the scenario flown live, in real time or warped, for
// a page in the browser to watch and drive, until the page's Quit or Ctrl+C.
#pragma once

#include <string>

#include "options/options.h"

namespace app {

// Prints the page's address when it listens; returns the exit status (0,
// 1 when a module fault or a bad state stopped the run, 130 on a signal).
// Throws std::exception with the reason when the session cannot start.
int serve(const Options& options, const std::string& page_folder);

}  // namespace app
