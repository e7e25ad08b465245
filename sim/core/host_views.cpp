// What the user sees of the craft: which one has the focus, the keys held
// for it, and the drawn views of craft.
#include <algorithm>

#include "core/host_impl.h"

namespace sim {

void Host::Impl::set_focus(Craft vessel)
{
    VesselRecord& to = held_record(vessel);
    move_focus(&to);
    module_faults_->report();
}

void Host::Impl::move_focus(VesselRecord* to)
{
    VesselRecord* from = focus_;
    if (from == to) return;
    // Set before the calls, so a module that asks sees the new focus.
    focus_ = to;
    if (from)
        module_faults_->call_module("clbkFocusChanged", from,
                                    [&] { from->callbacks->clbkFocusChanged(false, to, from); });
    if (to)
        module_faults_->call_module("clbkFocusChanged", to, [&] { to->callbacks->clbkFocusChanged(true, to, from); });
}

void Host::Impl::post_creation(const std::vector<VesselRecord*>& created)
{
    for (VesselRecord* r : created)
        module_faults_->call_module("clbkPostCreation", r, [&] { r->callbacks->clbkPostCreation(); });
}

void Host::Impl::direct_keys()
{
    if (!focus_ || std::none_of(held_keys_.begin(), held_keys_.end(), [](char c) { return c & 0x80; })) return;
    // The callback gets its own copy: what it does to the bytes stays with it.
    KeyboardState copy = held_keys_;
    VesselRecord* r = focus_;
    module_faults_->call_module("clbkConsumeDirectKey", r, 0,
                                [&] { return r->callbacks->clbkConsumeDirectKey(copy.data()); });
}

void Host::Impl::animate()
{
    for (const auto& r : vessels_)
        module_faults_->call_module("clbkAnimate", r.get(), [&] { r->callbacks->clbkAnimate(sim_time_); });
    module_faults_->report();
}

void Host::Impl::create_visual(Craft vessel)
{
    VesselRecord& r = held_record(vessel);
    if (r.visual) return;
    r.visual = std::make_unique<Visual>();
    module_faults_->call_module("clbkVisualCreated", &r,
                                [&] { r.callbacks->clbkVisualCreated(r.visual.get(), r.visual->refcount); });
    module_faults_->report();
}

void Host::Impl::destroy_visual(Craft vessel)
{
    drop_visual(held_record(vessel));
    module_faults_->report();
}

void Host::Impl::drop_visual(VesselRecord& vessel)
{
    if (!vessel.visual) return;
    module_faults_->call_module("clbkVisualDestroyed", &vessel, [&] {
        vessel.callbacks->clbkVisualDestroyed(vessel.visual.get(), vessel.visual->refcount);
    });
    vessel.visual.reset();
}

bool Host::Impl::has_visual(Craft vessel) const { return held_record(vessel).visual != nullptr; }

}  // namespace sim
