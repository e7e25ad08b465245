// The Host's public methods, each handed on to the host's state
// (core/host_impl.h), which does the work.
#include "core/host_impl.h"

namespace sim {

Module& Host::load_module(const std::string& path) { return impl_->load_module(path); }
void Host::unload_module(Module& module) { impl_->unload_module(module); }
Module* Host::module_of(HINSTANCE instance) const { return impl_->module_of(instance); }
Module* Host::find_module(const std::string& class_name) const { return impl_->find_module(class_name); }
const std::vector<std::unique_ptr<Module>>& Host::modules() const { return impl_->modules_; }
std::optional<std::string> Host::module_date(Module& module) { return impl_->module_date(module); }
std::optional<int> Host::module_version(Module& module) { return impl_->module_version(module); }

Craft Host::create_craft(Module& module, const std::string& name, int flight_model)
{
    return impl_->create_craft(module, name, flight_model);
}
void Host::destroy_craft(Craft vessel) { impl_->destroy_craft(vessel); }
Craft Host::find_craft(const std::string& name) const { return impl_->find_craft(name); }
bool Host::holds(Craft vessel) const { return impl_->holds(vessel); }
std::vector<Craft> Host::all_craft() const { return impl_->all_craft(); }

double Host::sim_time() const { return impl_->sim_time_; }
double Host::sim_step() const { return impl_->sim_step_; }
void Host::set_sim_time(double t) { impl_->sim_time_ = t; }
void Host::step(double dt) { impl_->step(dt); }
void Host::animate() { impl_->animate(); }

Craft Host::focus() const { return Craft(impl_->focus_); }
void Host::set_focus(Craft vessel) { impl_->set_focus(vessel); }
void Host::create_visual(Craft vessel) { impl_->create_visual(vessel); }
void Host::destroy_visual(Craft vessel) { impl_->destroy_visual(vessel); }
bool Host::has_visual(Craft vessel) const { return impl_->has_visual(vessel); }

std::vector<Craft> Host::load_scenario(Scenario scenario, const ModuleLocator& locate)
{
    return impl_->load_scenario(std::move(scenario), locate);
}
std::vector<Craft> Host::load_scenario(Scenario scenario, Module& module)
{
    return impl_->load_scenario(std::move(scenario), module);
}
ScenarioText Host::scenario_blocks() { return impl_->scenario_blocks(); }
std::string Host::scenario_text() { return impl_->scenario_text(); }
void Host::save_scenario(const std::string& path) { impl_->save_scenario(path); }

int Host::key_press(Craft vessel, DWORD key, const std::vector<DWORD>& modifiers)
{
    return impl_->key_press(vessel, key, modifiers);
}
int Host::key_event(Craft vessel, DWORD key, bool down, const KeyboardState& kstate)
{
    return impl_->key_event(vessel, key, down, kstate);
}

bool Host::set_thrust(Craft vessel, THGROUP_TYPE type, double level) { return impl_->set_thrust(vessel, type, level); }
void Host::shut_down_thrusters(Craft vessel) { impl_->shut_down_thrusters(vessel); }
void Host::place(Craft vessel, const BodyState& state) { impl_->place(vessel, state); }
void Host::set_propellant_mass(Craft vessel, size_t tank, double mass) { impl_->set_propellant_mass(vessel, tank, mass); }
const std::vector<BeaconView>& Host::drawn_beacons(Craft vessel) { return impl_->drawn_beacons(vessel); }

DialogManager& Host::dialogs() { return *impl_->dialogs_; }
CallLog& Host::log() { return impl_->log_; }
std::vector<ModuleFault> Host::take_warnings() { return impl_->module_faults_->take_warnings(); }

}  // namespace sim
