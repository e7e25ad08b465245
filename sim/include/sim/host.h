// The stand-in host: owns the loaded modules and the craft they create, the
// simulation clock and the record of every call a module makes into it.
//
// The host interface consists of free functions, so they reach the host
// through Host::current(): exactly one Host exists while a module runs.
//
// Every call into a module is guarded: what a callback throws, and every
// call the module made that the host could not honour, is recorded as a
// module fault. Each method below that drives a callback then throws
// ModuleFaultError naming those faults, once the callback has returned and
// the host's state is whole; the faults are then cleared.
//
// When a method may be called: those marked "any time" also while a
// module's code runs (from a host function a module called, or code the
// module's callback reaches); they only read, or change what no callback in
// progress holds. The others call into modules or change the craft, so they
// are made between callbacks, never from inside one; the host does not
// check.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "sim/beacons.h"
#include "sim/call_log.h"
#include "sim/craft.h"
#include "sim/dialogs.h"
#include "sim/keyboard.h"
#include "sim/module.h"
#include "sim/module_fault.h"
#include "sim/scenario_file.h"

namespace sim {

// A craft whose state stopped being a finite number in a step; what()
// names the craft, the quantity and the simulated time, on one line.
struct StateError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class Host {
public:
    // Becomes the current host; throws if one exists already.
    explicit Host(CallLogging logging = CallLogging::off);
    ~Host();  // destroys every craft, then unloads every module
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    // Any time; throws std::logic_error when there is none.
    static Host& current();
    // Any time: every call a module makes into the host starts here.
    static Host* current_or_null() noexcept;

    // Loads the library, then calls InitModule with its instance handle.
    // Between callbacks, as every method below unless marked "any time".
    Module& load_module(const std::string& path);
    // Destroys the module's craft, then unloads it.
    void unload_module(Module& module);
    // Any time, as the rest of this group.
    Module* module_of(HINSTANCE instance) const;
    // The loaded module that defines `class_name`, or null.
    Module* find_module(const std::string& class_name) const;
    const std::vector<std::unique_ptr<Module>>& modules() const;
    // What the module says of itself, asked of it anew at each call, so
    // that a caller can see whether it answers alike: the text ModuleDate
    // answers (its first 256 characters), and the number GetModuleVersion
    // answers; nullopt when the module does not export that function. A
    // null date is a fault of the module, thrown as ModuleFaultError.
    // Between callbacks.
    std::optional<std::string> module_date(Module& module);
    std::optional<int> module_version(Module& module);

    // ovcInit, clbkDefineClass, clbkPostCreation, then clbkFocusChanged
    // when the host held no focus before (see focus()). Throws
    // std::runtime_error when the module creates no object.
    Craft create_craft(Module& module, const std::string& name, int flight_model = 1);
    // The focus moves on first if the craft has it, its drawn view is
    // dropped (clbkVisualDestroyed), then ovcExit, then the host's record
    // goes. Throws std::logic_error for a craft the host does not hold.
    void destroy_craft(Craft vessel);
    // No craft when none has that name. Any time, as the next two.
    Craft find_craft(const std::string& name) const;
    // Whether `vessel` is one of the craft the host holds now.
    bool holds(Craft vessel) const;
    // In the order they were created.
    std::vector<Craft> all_craft() const;

    // Any time, the first two.
    double sim_time() const;
    double sim_step() const;
    void set_sim_time(double t);
    // One step of length dt: clbkConsumeDirectKey for the focus craft while
    // keys are held (see key_event), then clbkPreStep, the clock,
    // clbkAfterStep and clbkAnimate for every craft. A step that leaves any
    // craft's state not finite is taken back: every craft's state and the
    // clock are as before it (only the callbacks up to clbkPreStep have been
    // made), and it throws StateError.
    void step(double dt);
    // clbkAnimate for every craft at the current time, as before a frame
    // that a view draws between steps; step() makes it already.
    void animate();

    // The craft the user flies: the one held keys go to. The first craft
    // made or loaded while the host holds none takes it (clbkFocusChanged
    // with no previous craft); when the focus craft is destroyed the focus
    // moves first to the earliest craft left. No craft once none is held.
    // Any time.
    Craft focus() const;
    // Moves the focus: clbkFocusChanged(false, new, old) on the craft that
    // had it, then clbkFocusChanged(true, new, old) on `vessel`. Nothing
    // happens when `vessel` has it already. Throws std::logic_error for a
    // craft the host does not hold.
    void set_focus(Craft vessel);
    // A drawn view of the craft (a live view's, a picture's): made with
    // clbkVisualCreated, dropped with clbkVisualDestroyed. A craft has at
    // most one; making one it has, or dropping one it has not, does
    // nothing. A view left is dropped before the craft goes. Both throw
    // std::logic_error for a craft the host does not hold.
    void create_visual(Craft vessel);
    void destroy_visual(Craft vessel);
    bool has_visual(Craft vessel) const;  // any time

    // The library file of the module that defines a class; throws
    // std::exception with the reason when there is none.
    using ModuleLocator = std::function<std::string(const std::string& class_name)>;

    // Creates each craft of the scenario with the module of its class (one
    // loaded already, else the one `locate` names, loaded once for all its
    // craft), sets the clock, and lets each craft read its block; then
    // clbkPostCreation for each, and the focus to the first when no craft
    // had it (as create_craft). A module fault up to clbkPostCreation
    // leaves the host as it was too, and is thrown as usual. Throws
    // ScenarioError, with the host as it was (modules loaded for it unloaded
    // again), for a class without a module, a name already taken, or lines
    // that neither the craft nor the host could place.
    // Taken by value: a scenario handed over is not held twice while its
    // craft read their blocks.
    std::vector<Craft> load_scenario(Scenario scenario, const ModuleLocator& locate);
    // The same with no module beyond `module` and those loaded already.
    std::vector<Craft> load_scenario(Scenario scenario, Module& module);
    // The clock and every craft's block as its module writes it, in the
    // order of all_craft().
    ScenarioText scenario_blocks();
    // scenario_blocks() as a file holds them. Throws std::invalid_argument
    // when a craft writes what the file cannot hold.
    std::string scenario_text();
    // Writes scenario_text() to `path` as an AtomicFile; on failure throws
    // std::runtime_error (WriteError when the file could not be written) and
    // leaves any previous file intact.
    void save_scenario(const std::string& path);

    // One press as a user makes it: key-down with the key and `modifiers`
    // held, then key-up with the key released. Returns the key-down result.
    // Keys and the calls below that change a craft throw std::logic_error
    // for a craft the host does not hold.
    int key_press(Craft vessel, DWORD key, const std::vector<DWORD>& modifiers = {});
    // `kstate` is also what the host holds from then on: while any key of
    // it is down, each step hands it to the focus craft (clbkConsumeDirectKey).
    int key_event(Craft vessel, DWORD key, bool down, const KeyboardState& kstate);

    // What a pilot's controls do: every thruster of each group of `type` to
    // `level`, clamped to 0..1 (0 when not a number); a thruster in several
    // groups keeps the last level set. False when the craft has no such group.
    bool set_thrust(Craft vessel, THGROUP_TYPE type, double level);
    // Every thruster of the craft to level 0.
    void shut_down_thrusters(Craft vessel);
    // What a scenario editor does between steps: puts the craft at `state`,
    // or fills tank `tank` to `mass`, clamped to 0..capacity. Both throw
    // std::invalid_argument for a value that is not finite or a tank the
    // craft does not have.
    void place(Craft vessel, const BodyState& state);
    void set_propellant_mass(Craft vessel, size_t tank, double mass);

    // The beacons as they stood when the last step ended (or was taken
    // back); empty before the craft's first step. The host reads them only
    // when asked, though always before module code runs again. The reference
    // holds until the next call into the host.
    const std::vector<BeaconView>& drawn_beacons(Craft vessel);

    // Any time; clicking a dialog's control calls its module's procedure,
    // so that goes between callbacks (see DialogManager).
    DialogManager& dialogs();
    // Any time.
    CallLog& log();
    // What modules did that is suspicious but may be meant (an empty
    // thruster group, reading on past a block's end, calling into the host
    // while their library unloads), oldest first, the first 100 kept; they
    // are then cleared. Never thrown. Any time.
    std::vector<ModuleFault> take_warnings();

    // The host's state, in the library alone: it may change without a
    // program that embeds the host noticing.
    struct Impl;

private:
    std::unique_ptr<Impl> impl_;  // never null
};

}  // namespace sim
