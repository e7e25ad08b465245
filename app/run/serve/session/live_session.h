// A live session: the craft of a scenario flown step by step as a page asks,
// by the same rules as a batch run, every action recorded as a timeline
// that a batch run replays to the same bytes.
//
// An action from the page never acts at once: it takes effect at the end of
// the next step, as a timeline entry of that time would in a batch run. The
// batch run lands a step exactly on each action's time, and so does this
// session, so both take steps of the same lengths and set the clock alike.
// Ending the session likewise lands on a step end.
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "options/options.h"
#include "sim/host.h"

namespace app {

class LiveSession {
public:
    // Loads the modules and the scenario as a batch run does and makes the
    // output folder. Throws std::exception with the reason.
    explicit LiveSession(const Options& options);
    ~LiveSession();
    LiveSession(const LiveSession&) = delete;
    LiveSession& operator=(const LiveSession&) = delete;

    sim::Host& host() { return host_; }
    const Options& options() const { return o_; }

    // An action as a timeline entry without its time ("key:K@Mervex-1",
    // "click:1003", "thrust:main=0.5@Tank-1", "focus:Tank-1"), taken at the
    // end of the next step. Throws TimelineError for an entry the timeline would refuse,
    // a craft not in the scenario or a group it lacks; nothing changes then.
    // Returns the simulated time it will act at.
    double act(const std::string& entry);

    // The craft that has the focus once the actions waiting are taken.
    sim::Craft focus_to_come() const;

    // One step of the run; nothing once it has stopped.
    void step();

    // What a host that draws the craft does for its views: while `shown`,
    // every craft has a visual (made for craft that appear, too); else none
    // has. A module fault in it stops the run.
    void show_visuals(bool shown);
    // Before a frame is drawn: clbkAnimate, but only when actions have acted
    // since the last step made it, so a frame never animates a time twice.
    void animate_for_frame();

    // Saves the scenario now to OUT/live-N.scn, N counting from 1; returns
    // the path. Not an action: the replay need not repeat it.
    std::string save_copy();

    // Asks the session to end at a step end: at once when the clock stands
    // on one, else after one more step.
    void request_end();
    // True once the end asked for is reached (or the run stopped); then
    // finish() writes the files.
    bool ended() const { return end_reached_; }
    // Saves OUT/final.scn (also after a stop, as a batch run does) and the
    // timeline with the replay command. Once only; returns what was written.
    std::vector<std::string> finish();

    double time() const { return t_; }  // seconds since the start
    // The length of the next step when it lands on no action.
    double next_step() const { return o_.steps[pattern_ % o_.steps.size()] * o_.warp; }
    long steps() const { return steps_; }
    // Wall time spent in the host's steps, for comparing with a batch run.
    double step_seconds() const { return step_seconds_; }
    // Why the run stopped (a module fault, a state that is not finite); empty while it runs.
    const std::string& stopped() const { return stopped_; }
    // What happened, oldest first ("t=0.1 s: key K to Mervex-1 (consumed)").
    const std::vector<std::string>& notes() const { return notes_; }
    // The host's warnings since the last call, each also kept as a note for
    // the page; the caller shows them to whoever started the session.
    std::vector<std::string> take_warnings();
    // The command that replays the session, as the timeline file says it.
    std::string replay_command() const;
    std::string timeline_path() const;

private:
    struct Pending {
        double time;
        Action action;
    };

    void Apply(const Action& a);
    void Click(const std::string& button);
    void Note(const std::string& what);
    void Stop(const std::string& why);
    void WriteTimeline(bool final);
    double NextStepEnd() const;

    Options o_;
    sim::Host host_;
    double start_ = 0;    // the host's clock at the start
    double t_ = 0;        // seconds since the start, summed as a batch run sums them
    size_t pattern_ = 0;  // the next step length of --step's list
    long steps_ = 0;
    double step_seconds_ = 0;
    bool on_step_end_ = true;  // the clock stands where a batch run would end a step exactly
    bool end_asked_ = false, end_reached_ = false, finished_ = false;
    bool animated_ = true;  // clbkAnimate has seen the host as it is now
    int copies_ = 0;
    std::vector<Pending> pending_;       // all for the same time, the next step end
    std::vector<std::string> recorded_;  // timeline lines
    std::vector<std::string> notes_;
    std::string stopped_;
};

}  // namespace app
