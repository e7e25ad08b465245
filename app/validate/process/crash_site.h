// Where a check's process was when it crashed, told to the validator from
// the signal handler: the callback the host was in and its craft, the host
// call the module was making, and a thread that is not the host's.
#pragma once

namespace validate {

// Installs handlers for the signals of a crash that write one line, 'C' and
// the site, to `fd`, then end the process by the same signal.
void report_crash_site_to(int fd);

}  // namespace validate
