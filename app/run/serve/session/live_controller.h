// Between the page and the session: what each page message does, the pace
// of the steps (warp runs more steps a second, never longer ones), pausing,
// and the messages the pages are sent.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/mesh_library.h"
#include "serve/session/live_session.h"
#include "serve/session/scene_json.h"

namespace app {

class LiveController {
public:
    using Clock = std::chrono::steady_clock;

    // `session` outlives the controller.
    explicit LiveController(LiveSession& session);

    // The answer to one page message: {"type":"ok",...} or {"type":"error","error":...}.
    std::string handle(std::string_view message);
    // For a page just opened: its craft get visuals first.
    std::vector<std::string> greeting();
    // The state for pages that have every dialog drawn so far.
    std::string state();
    // Before a frame goes to the `pages` open: each craft has a visual while
    // any page is open and none once the last has gone, and the host
    // animates what acted since the last step. The state, or nothing
    // when no page is open.
    std::optional<std::string> frame(size_t pages);

    // Takes the steps due by `now`, at most `max_steps`; returns when the next one is due.
    Clock::time_point advance(Clock::time_point now, int max_steps);
    void pause();
    double warp() const { return warp_; }
    bool paused() const { return paused_; }
    // Counts up whenever something the pages show changed at once (an answer).
    long changes() const { return changes_; }

private:
    void Anchor(Clock::time_point now);
    double NextStepLength() const;

    LiveSession& session_;
    MeshLibrary meshes_;
    StateMessages states_;
    double warp_ = 1;
    bool paused_ = false;
    int step_requests_ = 0;  // single steps asked for while paused
    long changes_ = 0;
    // The session's time `sim_anchor_` was reached at `wall_anchor_`; steps
    // are due as the wall clock runs on, times the warp.
    Clock::time_point wall_anchor_;
    double sim_anchor_ = 0;
};

}  // namespace app
