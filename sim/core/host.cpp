#include "sim/host.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "core/host_impl.h"
#include "dialogs/platform_dialog_manager.h"
#include "loading/module_entry_points.h"
#include "physics/physics.h"
#include "util/number_text.h"
#include "util/text_lines.h"

namespace sim {

namespace {
// The one Host and its state, set for the Host's life (its tear-down
// included), so that a module's call finds them in two loads.
Host* running = nullptr;
Host::Impl* running_state = nullptr;
}  // namespace

Host::Host(CallLogging logging)
{
    if (running) throw std::logic_error("a stand-in host exists already");
    impl_ = std::make_unique<Impl>(logging);
    running = this;
    running_state = impl_.get();
}

Host::~Host()
{
    impl_->tear_down();
    running = nullptr;
    running_state = nullptr;
}

Host& Host::current()
{
    if (!running) throw std::logic_error("no stand-in host is running");
    return *running;
}

Host* Host::current_or_null() noexcept { return running; }

ModuleFaults* host_access::module_faults() noexcept
{
    return running_state ? running_state->module_faults_.get() : nullptr;
}

const ScenarioHandles* host_access::scenario_handles() noexcept
{
    return running_state ? &running_state->scenario_handles_ : nullptr;
}

Faults* host_access::test_faults() noexcept { return running_state ? &running_state->faults_ : nullptr; }

Host::Impl::Impl(CallLogging logging) : module_faults_(std::make_unique<ModuleFaults>()), log_(logging)
{
    dialogs_ = make_dialog_manager([this](HINSTANCE instance) { return module_of(instance); }, *module_faults_);
    module_faults_->set_deferred([this] { draw_beacons(); });
}

void Host::Impl::tear_down()
{
    module_faults_->owe_deferred(false);  // nobody is left to look
    focus_ = nullptr;  // the host ends: the focus moves nowhere
    while (!vessels_.empty()) remove_vessel(*vessels_.back());
    // Their procedures live in the modules about to be unloaded.
    dialogs_->close_all();
    module_faults_->set_unloading(true);
    while (!modules_.empty()) modules_.pop_back();
}

Module& Host::Impl::load_module(const std::string& path)
{
    Module& m = add_module(path);
    module_faults_->report();
    return m;
}

Module& Host::Impl::add_module(const std::string& path)
{
    modules_.push_back(std::make_unique<Module>(path));
    Module& m = *modules_.back();
    module_faults_->call_module("InitModule", nullptr, [&] { ModuleEntryPoints::init_module(m)(m.instance()); });
    return m;
}

std::optional<std::string> Host::Impl::module_date(const Module& module)
{
    const auto ask = ModuleEntryPoints::module_date(module);
    if (!ask) return std::nullopt;
    const char* date = module_faults_->call_module("ModuleDate", nullptr, static_cast<const char*>(nullptr), ask);
    if (!date && module_faults_->pending().empty())
        module_faults_->record({"ModuleDate", "", "", "answered null instead of a date"});
    module_faults_->report();
    if (!date) return std::string();  // asked from inside a callback, where nothing is thrown
    // Bounded: the module's text need not end where it should.
    constexpr std::size_t longest = 256;
    return std::string(date, std::find(date, date + longest, '\0'));
}

std::optional<int> Host::Impl::module_version(const Module& module)
{
    const auto ask = ModuleEntryPoints::module_version(module);
    if (!ask) return std::nullopt;
    const int version = module_faults_->call_module("GetModuleVersion", nullptr, 0, ask);
    module_faults_->report();
    return version;
}

void Host::Impl::unload_module(Module& module)
{
    drop_module(module);
    module_faults_->report();
}

void Host::Impl::drop_module(Module& module)
{
    for (size_t i = vessels_.size(); i-- > 0;)
        if (vessels_[i]->module == &module) remove_vessel(*vessels_[i]);
    // A dialog its craft left open would call a procedure that is gone.
    std::vector<HWND> left_open;
    for (const auto& d : dialogs_->open_dialogs())
        if (d->instance == module.instance()) left_open.push_back(d->hwnd);
    for (HWND hwnd : left_open) dialogs_->close(hwnd);
    module_faults_->set_unloading(true);
    modules_.erase(std::remove_if(modules_.begin(), modules_.end(),
                                  [&](const std::unique_ptr<Module>& m) { return m.get() == &module; }),
                   modules_.end());
    module_faults_->set_unloading(false);
}

Module* Host::Impl::module_of(HINSTANCE instance) const
{
    for (const auto& m : modules_)
        if (m->instance() == instance) return m.get();
    return nullptr;
}

Module* Host::Impl::find_module(const std::string& class_name) const
{
    for (const auto& m : modules_)
        if (m->class_name() == class_name) return m.get();
    return nullptr;
}

Craft Host::Impl::create_craft(Module& module, const std::string& name, int flight_model)
{
    VesselRecord& r = add_vessel(module, name, flight_model);
    post_creation({&r});
    if (!focus_) move_focus(&r);
    module_faults_->report();
    return Craft(&r);
}

VesselRecord& Host::Impl::add_vessel(Module& module, const std::string& name, int flight_model)
{
    auto rec = std::make_unique<VesselRecord>(name, module.class_name(), &module);
    VESSEL* v = module_faults_->call_module("ovcInit", rec.get(), static_cast<VESSEL*>(nullptr),
                                           [&] { return ModuleEntryPoints::ovc_init(module)(rec.get(), flight_model); });
    if (!v) throw std::runtime_error(module.path() + ": ovcInit created no vessel for " + shown_text(name));
    rec->vessel = v;
    if (!rec->callbacks) {
        module_faults_->call_module("ovcExit", rec.get(), [&] { ModuleEntryPoints::ovc_exit(module)(v); });
        throw std::runtime_error(module.path() + ": the vessel " + shown_text(name) + " has no callback interface");
    }
    vessels_.push_back(std::move(rec));
    VesselRecord& r = *vessels_.back();
    module_faults_->call_module("clbkDefineClass", &r, [&] { r.callbacks->clbkDefineClass(nullptr); });
    return r;
}

void Host::Impl::destroy_craft(Craft vessel)
{
    remove_vessel(held_record(vessel));
    module_faults_->report();
}

void Host::Impl::remove_vessel(VesselRecord& vessel)
{
    // From the back: craft mostly go in the reverse order of their coming.
    auto it = std::find_if(vessels_.rbegin(), vessels_.rend(),
                           [&](const std::unique_ptr<VesselRecord>& r) { return r.get() == &vessel; });
    if (it == vessels_.rend()) return;
    if (focus_ == &vessel) {
        VesselRecord* next = nullptr;
        for (const auto& r : vessels_)
            if (r.get() != &vessel) {
                next = r.get();
                break;
            }
        move_focus(next);
    }
    // Neither changes the list: no module call destroys a craft.
    drop_visual(vessel);
    // The record leaves the list first, so nothing the module does while it
    // goes can reach it as a live craft.
    std::unique_ptr<VesselRecord> rec = std::move(*it);
    vessels_.erase(std::next(it).base());
    module_faults_->call_module("ovcExit", rec.get(), [&] { ModuleEntryPoints::ovc_exit(*rec->module)(rec->vessel); });
    // A dialog that still holds the craft as its context would hand its
    // procedure freed memory at the next click: the module should have closed it.
    const std::vector<const void*> addresses = {rec->vessel, rec->callbacks};
    for (const Dialog& d : dialogs_->close_unheard(addresses))
        module_faults_->record(
            {"ovcExit", "", rec->name,
             "its dialog " + std::to_string(d.resid) + (d.caption.empty() ? "" : " (\"" + d.caption + "\")") +
                 (d.opened_in.empty() ? "" : ", opened in " + d.opened_in + ",") +
                 " holds the destroyed craft as its context and was left open: a click would reach freed memory. "
                 "Close it when its craft goes (in the destructor); the host closed it, telling its procedure "
                 "nothing"});
}

Craft Host::Impl::find_craft(const std::string& name) const
{
    for (const auto& r : vessels_)
        if (r->name == name) return Craft(r.get());
    return Craft();
}

bool Host::Impl::holds(Craft vessel) const
{
    for (const auto& r : vessels_)
        if (r.get() == vessel.record()) return true;
    return false;
}

std::vector<Craft> Host::Impl::all_craft() const
{
    std::vector<Craft> out;
    out.reserve(vessels_.size());
    for (const auto& r : vessels_) out.emplace_back(r.get());
    return out;
}

VesselRecord& Host::Impl::held_record(Craft vessel) const
{
    if (!holds(vessel)) throw std::logic_error("the host holds no such craft");
    return host_access::record(vessel);
}

bool Host::Impl::set_thrust(Craft vessel, THGROUP_TYPE type, double level)
{
    return set_group_level(held_record(vessel), type, level);
}

void Host::Impl::shut_down_thrusters(Craft vessel)
{
    sim::shut_down_thrusters(held_record(vessel));
}

void Host::Impl::place(Craft vessel, const BodyState& state)
{
    VesselRecord& r = held_record(vessel);
    const BodyState before = r.body;
    r.body = state;
    if (const char* broken = non_finite_quantity(r)) {
        r.body = before;
        throw std::invalid_argument(std::string("the ") + broken + " to place " + shown_text(r.name) +
                                    " at is not a finite number");
    }
}

void Host::Impl::set_propellant_mass(Craft vessel, size_t tank, double mass)
{
    VesselRecord& r = held_record(vessel);
    if (tank >= r.propellants.size())
        throw std::invalid_argument(shown_text(r.name) + " has no tank " + std::to_string(tank));
    if (!std::isfinite(mass)) throw std::invalid_argument("a propellant mass must be a finite number");
    Propellant& p = r.propellants[tank];
    p.mass = std::clamp(mass, 0.0, p.capacity);
}

void Host::Impl::step(double dt)
{
    // What the last step left is no longer anybody's to see once this one
    // starts; only a step taken back needs the beacons read again.
    module_faults_->owe_deferred(false);
    sim_step_ = dt;
    direct_keys();
    for (const auto& r : vessels_)
        module_faults_->call_module("clbkPreStep", r.get(), [&] { r->callbacks->clbkPreStep(sim_time_, dt, 0); });
    // One pass over the fleet: each craft's state is kept, then advanced and
    // checked. A craft's integration touches no other craft's state.
    step_bodies_.resize(vessels_.size());
    step_masses_.clear();
    for (size_t i = 0; i < vessels_.size(); ++i) {
        VesselRecord& r = *vessels_[i];
        step_bodies_[i] = r.body;
        for (const Propellant& p : r.propellants) step_masses_.push_back(p.mass);
        integrate(r, dt);
        if (const char* broken = non_finite_quantity(r)) {
            take_back_step(i + 1);
            module_faults_->owe_deferred(true);
            module_faults_->report();
            throw StateError(shown_text(r.name) + ": the " + broken + " is no longer a finite number after the step from t = " +
                             number_text(sim_time_) + " s");
        }
    }
    sim_time_ += dt;
    for (const auto& r : vessels_)
        module_faults_->call_module("clbkAfterStep", r.get(), [&] { r->callbacks->clbkAfterStep(sim_time_, dt, 0); });
    for (const auto& r : vessels_)
        module_faults_->call_module("clbkAnimate", r.get(), [&] { r->callbacks->clbkAnimate(sim_time_); });
    module_faults_->owe_deferred(true);
    module_faults_->report();
}

void Host::Impl::take_back_step(size_t craft)
{
    size_t mass = 0;
    for (size_t i = 0; i < craft; ++i) {
        vessels_[i]->body = step_bodies_[i];
        for (Propellant& p : vessels_[i]->propellants) p.mass = step_masses_[mass++];
    }
}

void Host::Impl::draw_beacons() noexcept
{
    for (const auto& r : vessels_) read_beacons(*r, r->drawn_beacons);
}


const std::vector<BeaconView>& Host::Impl::drawn_beacons(Craft vessel)
{
    module_faults_->settle();
    return vessel.record()->drawn_beacons;
}

}  // namespace sim
