// The library's copy of the file utilities keeps its own list of
// temporaries, which only the library's code can reach.
#include "sim/temporaries.h"
#include "util/atomic_file.h"

namespace sim {

void remove_host_temporaries() noexcept { remove_temporaries_now(); }

}  // namespace sim
