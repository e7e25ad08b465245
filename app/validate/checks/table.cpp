#include "checks.h"

namespace validate {

const std::vector<Check>& all_checks()
{
    static const std::vector<Check> checks = {
        {"exports", 1, "InitModule, ovcInit, ovcExit exported; ModuleDate and GetModuleVersion answer steadily if there; "
                       "only host functions that need no craft called at load",
         check_exports},
        {"unload-cycles", 1, "2 + 2 x level load, fly, unload cycles: no dialog left open, no host call after "
                             "unloading, the library really unmapped",
         check_unload_cycles},
        {"class-definition", 1, "3 + level craft, the module's first included, created amid the others' use: "
                                "every definition makes the same calls with the same numbers, and every "
                                "transform's group list reads as it did when handed over and, when its mesh is in the "
                                "host's mesh folder, names groups the mesh has",
         check_class_definition},
        {"dialog-owner-gone", 1, "each key that opens a dialog pressed on a second craft, which is then destroyed, "
                                 "and on a craft while another holds the dialog, the holder then destroyed; the "
                                 "buttons left clicked: no dialog outlives the craft it acts on",
         check_dialog_owner_gone},
        {"save-load-save", 1, "2 + level / 2 random sessions saved, loaded and saved again: the saves are byte-identical "
                              "and loaded craft have the parts of one just defined",
         check_save_load_save},
        {"restore", 1, "1 + level / 3 flights saved and resumed from the save in a new process: every craft's save "
                       "holds the host's lines, and flown on with the same steps and thrust the resumed "
                       "flight's telemetry and saves are the uninterrupted one's to the last bit",
         check_restore, restore_sessions},
        {"isolation", 1, "1 + level / 3 trials of 2 + level / 3 craft: acting on the first leaves the others' "
                         "telemetry, calls and saves as they are when it is left alone, and as they are when "
                         "made in the opposite order (each run a new process)",
         check_isolation, isolation_trials},
        {"suspicious-use", 1, "20 x level actions, a save loaded, the module unloaded: warns of an empty thruster "
                              "group, reading past a block's end, calls into the host while unloading, a key "
                              "callback that takes every key, a key whose release undoes its press, a null "
                              "default tank (failures from level 8)",
         check_suspicious_use},
        {"callback-timing", 1, "each callback's CPU time against a budget: median 2 ms / level, maximum 50 ms / "
                               "level (ten times that in a build with the sanitizers)",
         check_callback_timing},
        {"hostile-keys", 2, "300 x level key events with random codes and random 256-byte keyboard states",
         check_hostile_keys},
        {"hostile-scenario", 2, "25 x level scenario blocks of random, binary, very long lines and prefixes and odd "
                                "values of the keys the module saves",
         check_hostile_scenario, hostile_blocks},
        {"craft-churn", 3, "60 x level random creations and destructions of up to 2 + level craft with a dialog open: "
                           "no fault, no dialog left holding a destroyed craft",
         check_craft_churn},
        {"determinism", 3, "two runs of 50 x level random actions from one seed, each in a new process, in "
                           "different seconds of the wall clock and with fresh memory filled differently, give "
                           "identical telemetry and calls",
         check_determinism},
        {"hostile-dialog", 4, "200 x level random messages to the module's open dialogs", check_hostile_dialog},
        {"long-flight", 4, "8000 x level steps of 0.1 s with two craft, thrusters off: no fault, no crash, "
                           "positions, velocities and masses finite",
         check_long_flight},
        {"unload-memory", 5, "2 + 2 x level load, fly, unload cycles after two to warm up: the heap grows by "
                             "no more than 64 bytes a cycle (256 and no leak found in a build with the "
                             "sanitizers)",
         check_unload_memory},
    };
    return checks;
}

}  // namespace validate
