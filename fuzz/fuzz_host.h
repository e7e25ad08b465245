// The stand-in host the module-driving fuzz targets share: made once with
// the built module loaded, and emptied after each input so that no state
// carries over from one input to the next.
#pragma once

#include <memory>

#include "sim/host.h"

namespace fuzz {

inline sim::Host& host()
{
    static std::unique_ptr<sim::Host> h = [] {
        auto made = std::make_unique<sim::Host>();
        made->load_module(MERVEX_MODULE_PATH);
        return made;
    }();
    return *h;
}

inline void reset(sim::Host& h)
{
    while (!h.all_craft().empty()) h.destroy_craft(h.all_craft().back());
    h.dialogs().close_all();
    h.set_sim_time(0);
}

}  // namespace fuzz
