#include "serve/session/live_session.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <limits>

#include "flight/output_paths.h"
#include "options/thruster_groups.h"
#include "sim/module_folder.h"
#include "sim/scenario_file.h"
#include "util/atomic_file.h"
#include "util/number_text.h"
#include "util/text_lines.h"

namespace app {

namespace {
constexpr double time_eps = 1e-9;  // as a batch run lands its steps

// Where a step lands on an action or the end: its nominal end rounded to
// well within time_eps, so that the timeline and the replay's --duration
// read "10.2" rather than "10.199999999999998". The batch run shortens its
// step to land on that time just as the session does.
double LandingTime(double t) { return std::round(t * 1e9) / 1e9; }

// A time for people: to the millisecond, no trailing zeros.
std::string ShownTime(double t)
{
    if (!(std::abs(t) < 1e12)) return sim::number_text(t);
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", t);
    std::string s = text;
    s.erase(s.find_last_not_of('0') + 1);  // there is a '.' before them
    if (s.back() == '.') s.pop_back();
    return s == "-0" ? "0" : s;
}

// A path as a shell takes it back, quoted only when it must be.
std::string ShellWord(const std::string& s)
{
    bool plain = !s.empty();
    for (char c : s)
        if (!std::isalnum(static_cast<unsigned char>(c)) && std::string("/._-+=,").find(c) == std::string::npos)
            plain = false;
    if (plain) return s;
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}
}  // namespace

LiveSession::LiveSession(const Options& options) : o_(options)
{
    if (!o_.module.empty()) host_.load_module(o_.module);
    host_.load_scenario(sim::read_scenario_file(o_.scenario),
                        [&](const std::string& class_name) { return sim::module_file(o_.modules, class_name); });
    if (host_.all_craft().empty()) throw std::runtime_error(o_.scenario + ": the scenario holds no craft");
    std::error_code ec;
    std::filesystem::create_directories(o_.out_dir, ec);
    if (ec || !std::filesystem::is_directory(o_.out_dir))
        throw std::runtime_error("cannot create the output folder " + o_.out_dir + ": " + ec.message());
    sim::check_creatable(final_save_path(o_));
    sim::check_creatable(timeline_path());
    start_ = host_.sim_time();
    WriteTimeline(false);
}

LiveSession::~LiveSession()
{
    // Here rather than in the host's destructor, so that the modules go in
    // the order a batch run unloads them.
    try {
        while (!host_.modules().empty()) host_.unload_module(*host_.modules().back());
    } catch (const std::exception&) {
        // A fault in ovcExit at the very end changes nothing saved.
    }
}

std::string LiveSession::timeline_path() const { return output_path(o_, "session.timeline"); }

std::string LiveSession::replay_command() const
{
    std::string steps;
    for (double s : o_.steps) steps += (steps.empty() ? "" : ",") + sim::number_text(s);
    std::string cmd = "simhost-run " + ShellWord(o_.scenario);
    if (!o_.module.empty()) cmd += " -m " + ShellWord(o_.module);
    cmd += " -t " + ShellWord(timeline_path()) + " --duration " + sim::number_text(t_) + " --step " + steps;
    if (o_.warp != 1) cmd += " --warp " + sim::number_text(o_.warp);
    return cmd + " -o " + ShellWord(output_path(o_, "replay"));
}

double LiveSession::NextStepEnd() const
{
    if (!pending_.empty()) return pending_.front().time;
    return LandingTime(t_ + next_step());
}

double LiveSession::act(const std::string& entry)
{
    if (!stopped_.empty()) throw TimelineError("the run has stopped: " + stopped_);
    if (end_asked_ || end_reached_) throw TimelineError("the session is ending");
    const double at = NextStepEnd();
    Action a = parse_action(sim::number_text(at) + ":" + entry, "the page");
    const sim::Craft craft = a.craft.empty() ? focus_to_come() : host_.find_craft(a.craft);
    if (!craft) throw TimelineError("the page: no craft named \"" + sim::shown_text(a.craft) + "\"");
    if (a.kind == ActionKind::thrust && !craft.has_group(a.group))
        throw TimelineError("the page: " + sim::shown_text(craft.name()) + " has no thruster group " +
                            group_name(a.group));
    if (a.kind == ActionKind::save || a.kind == ActionKind::picture)
        throw TimelineError("the page: only keys, clicks, thrust and focus are actions");
    if (a.kind == ActionKind::thrust && a.duration > 0)
        throw TimelineError("the page: a thrust from the page holds until changed");
    // The line a timeline holds: fields separated by blanks, as the batch run reads them.
    std::string line = sim::number_text(at);
    for (size_t i = entry.find(':'), from = 0;; from = i + 1, i = entry.find(':', from)) {
        const std::string field = entry.substr(from, i == std::string::npos ? std::string::npos : i - from);
        const size_t craft_at = field.rfind('@');
        line += " " + field.substr(0, craft_at);
        if (craft_at != std::string::npos) line += " " + field.substr(craft_at);
        if (i == std::string::npos) break;
    }
    const std::vector<Action> back = parse_timeline(line, "the page");
    if (back.size() != 1 || back[0].text != a.text || line.find('#') != std::string::npos)
        throw TimelineError("the page: \"" + sim::shown_text(entry) + "\" does not read back from a timeline");
    recorded_.push_back(line);
    pending_.push_back({at, std::move(a)});
    WriteTimeline(false);
    return at;
}

sim::Craft LiveSession::focus_to_come() const
{
    for (auto p = pending_.rbegin(); p != pending_.rend(); ++p)
        if (p->action.kind == ActionKind::focus) return host_.find_craft(p->action.craft);
    return host_.focus();
}

void LiveSession::show_visuals(bool shown)
{
    if (!stopped_.empty()) return;
    try {
        for (const sim::Craft& craft : host_.all_craft()) {
            if (shown && !host_.has_visual(craft))
                host_.create_visual(craft);
            else if (!shown && host_.has_visual(craft))
                host_.destroy_visual(craft);
        }
    } catch (const sim::ModuleFaultError& e) {
        Stop(e.what());
    }
}

void LiveSession::animate_for_frame()
{
    if (animated_ || !stopped_.empty()) return;
    animated_ = true;
    try {
        host_.animate();
    } catch (const sim::ModuleFaultError& e) {
        Stop(e.what());
    }
}

void LiveSession::step()
{
    if (!stopped_.empty() || end_reached_) return;
    const bool landing = !pending_.empty() || end_asked_;
    const double target = landing ? NextStepEnd() : std::numeric_limits<double>::infinity();
    double dt = next_step();
    ++pattern_;
    if (t_ + dt > target - time_eps) dt = target - t_;
    const auto started = std::chrono::steady_clock::now();
    try {
        host_.step(dt);
    } catch (const sim::StateError& e) {
        Stop(e.what());
        return;
    } catch (const sim::ModuleFaultError& e) {
        t_ = host_.sim_time() - start_;
        Stop(e.what());
        return;
    }
    step_seconds_ += std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    ++steps_;
    animated_ = true;
    if (landing && std::abs(t_ + dt - target) <= time_eps) {
        t_ = target;
        host_.set_sim_time(start_ + target);
        on_step_end_ = true;
        std::vector<Pending> due;
        due.swap(pending_);
        if (!due.empty()) animated_ = false;
        for (const Pending& p : due) {
            try {
                Apply(p.action);
            } catch (const sim::ModuleFaultError& e) {
                Stop(e.what());
                return;
            }
        }
        if (end_asked_) end_reached_ = true;
    } else {
        t_ += dt;
        on_step_end_ = false;
    }
}

void LiveSession::Apply(const Action& a)
{
    const sim::Craft craft = a.craft.empty() ? host_.focus() : host_.find_craft(a.craft);
    switch (a.kind) {
        case ActionKind::key: {
            const int consumed = host_.key_press(craft, a.key.key, a.key.modifiers);
            Note(a.key.text() + " to " + craft.name() +
                 (consumed ? " (consumed)" : " (not a command of the craft)"));
            break;
        }
        case ActionKind::click:
            Click(a.button);
            break;
        case ActionKind::thrust:
            host_.set_thrust(craft, a.group, a.level);
            Note("thrust " + group_name(a.group) + " of " + craft.name() + " at " + sim::number_text(a.level));
            break;
        case ActionKind::focus:
            if (!craft) {  // gone since the page chose it
                Note("focus to " + sim::shown_text(a.craft) + ": no such craft any more");
                break;
            }
            host_.set_focus(craft);
            Note("focus to " + craft.name());
            break;
        case ActionKind::save:
        case ActionKind::picture:
            break;  // refused by act()
    }
}

// As a batch run clicks: the most recently opened dialog with the button gets it.
void LiveSession::Click(const std::string& button)
{
    sim::DialogManager& dialogs = host_.dialogs();
    const auto open = dialogs.open_dialogs();
    const std::string what = "click " + sim::shown_text(button);
    for (auto d = open.rbegin(); d != open.rend(); ++d) {
        const int id = dialogs.button_id((*d)->hwnd, button);
        if (id < 0) continue;
        const std::string in = " in \"" + sim::shown_text((*d)->caption) + "\"";
        if (dialogs.click((*d)->hwnd, id))
            Note(what + in);
        else
            Note(what + in + ": the button is disabled; nothing happened");
        return;
    }
    Note(what + (open.empty() ? ": no dialog is open" : ": no open dialog has such a button") + "; nothing clicked");
}

std::vector<std::string> LiveSession::take_warnings()
{
    std::vector<std::string> texts;
    for (const sim::ModuleFault& w : host_.take_warnings()) {
        texts.push_back(w.text());
        Note("warning: " + texts.back());
    }
    return texts;
}

void LiveSession::Note(const std::string& what) { notes_.push_back("t=" + ShownTime(t_) + " s: " + what); }

void LiveSession::Stop(const std::string& why)
{
    stopped_ = why;
    pending_.clear();
    Note("the run stopped: " + why);
}

std::string LiveSession::save_copy()
{
    const std::string path = output_path(o_, "live-" + std::to_string(copies_ + 1) + ".scn");
    host_.save_scenario(path);
    ++copies_;
    Note("saved " + path);
    return path;
}

void LiveSession::request_end()
{
    if (end_reached_) return;
    if (!stopped_.empty() || (on_step_end_ && pending_.empty()))
        end_reached_ = true;
    else
        end_asked_ = true;
}

void LiveSession::WriteTimeline(bool final)
{
    std::string text = "# Recorded by simhost-run --serve from " + o_.scenario + ".\n";
    text += final ? "# Replay: " + replay_command() + "\n"
                  : "# The session is still running; its end writes the replay command here.\n";
    for (const std::string& line : recorded_) text += line + "\n";
    sim::write_file_atomically(timeline_path(), text);
}

std::vector<std::string> LiveSession::finish()
{
    if (finished_) return {};
    finished_ = true;
    pending_.clear();
    std::vector<std::string> written;
    if (stopped_.empty() || o_.save_on_stop) {
        host_.save_scenario(final_save_path(o_));
        written.push_back(final_save_path(o_));
    }
    WriteTimeline(true);
    written.push_back(timeline_path());
    return written;
}

}  // namespace app
