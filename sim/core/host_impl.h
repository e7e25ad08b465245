// The Host's state and the work behind its public methods, which forward
// here. The methods of the same names do as Host's say; the others leave
// module faults pending for the caller to report.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/host_access.h"

namespace sim {

struct Host::Impl {
    explicit Impl(CallLogging logging);
    Impl(const Impl&) = delete;
    Impl& operator=(const Impl&) = delete;
    // Destroys every craft, then unloads every module; the host is still
    // the running one meanwhile, as the modules' exit code may call it.
    void tear_down();

    Module& load_module(const std::string& path);
    void unload_module(Module& module);
    std::optional<std::string> module_date(const Module& module);
    std::optional<int> module_version(const Module& module);
    Module* module_of(HINSTANCE instance) const;
    Module* find_module(const std::string& class_name) const;
    Craft create_craft(Module& module, const std::string& name, int flight_model);
    void destroy_craft(Craft vessel);
    Craft find_craft(const std::string& name) const;
    bool holds(Craft vessel) const;
    std::vector<Craft> all_craft() const;
    void step(double dt);
    void animate();
    void set_focus(Craft vessel);
    void create_visual(Craft vessel);
    void destroy_visual(Craft vessel);
    bool has_visual(Craft vessel) const;
    std::vector<Craft> load_scenario(Scenario scenario, const ModuleLocator& locate);
    std::vector<Craft> load_scenario(Scenario scenario, Module& module);
    ScenarioText scenario_blocks();
    std::string scenario_text();
    void save_scenario(const std::string& path);
    int key_press(Craft vessel, DWORD key, const std::vector<DWORD>& modifiers);
    int key_event(Craft vessel, DWORD key, bool down, const KeyboardState& kstate);
    bool set_thrust(Craft vessel, THGROUP_TYPE type, double level);
    void shut_down_thrusters(Craft vessel);
    void place(Craft vessel, const BodyState& state);
    void set_propellant_mass(Craft vessel, size_t tank, double mass);
    const std::vector<BeaconView>& drawn_beacons(Craft vessel);

    Module& add_module(const std::string& path);
    void drop_module(Module& module);
    VesselRecord& add_vessel(Module& module, const std::string& name, int flight_model);
    void remove_vessel(VesselRecord& vessel);
    // The record of a craft the host holds; throws std::logic_error for any other.
    VesselRecord& held_record(Craft vessel) const;
    // Puts the first `craft` craft back in the state they had at the start of the step.
    void take_back_step(size_t craft);
    // Reads every craft's beacons into its drawn views.
    void draw_beacons() noexcept;
    // clbkPostCreation for each, in order.
    void post_creation(const std::vector<VesselRecord*>& created);
    // Gives the focus to `to` (null: nobody), with the callbacks of set_focus.
    void move_focus(VesselRecord* to);
    void drop_visual(VesselRecord& vessel);
    // clbkConsumeDirectKey for the focus craft when a key is held.
    void direct_keys();

    std::unique_ptr<ModuleFaults> module_faults_;  // first: the dialogs report to it; never null
    std::vector<std::unique_ptr<Module>> modules_;
    std::vector<std::unique_ptr<VesselRecord>> vessels_;
    std::unique_ptr<DialogManager> dialogs_;  // the platform's; closes its dialogs before the modules go
    CallLog log_;  // empty unless the host was made with CallLogging::on
    Faults faults_;  // what tests make the host answer
    ScenarioHandles scenario_handles_;
    // The state at the start of the step under way of the craft advanced so
    // far, in vessels_ order: the bodies, then the propellant masses one tank
    // after another.
    std::vector<BodyState> step_bodies_;
    std::vector<double> step_masses_;
    double sim_time_ = 0;
    double sim_step_ = 0;
    VesselRecord* focus_ = nullptr;  // one of vessels_, or null
    KeyboardState held_keys_{};     // as the last key event left the keyboard
};

}  // namespace sim
