#include "flight/run.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "flight/output_paths.h"
#include "flight/progress.h"
#include "flight/stop_request.h"
#include "options/thruster_groups.h"
#include "pictures/pictures.h"
#include "sim/module_folder.h"
#include "sim/scenario_file.h"
#include "telemetry/json_telemetry.h"
#include "util/atomic_file.h"
#include "util/number_text.h"
#include "util/text_lines.h"

namespace app {

namespace {
constexpr double time_eps = 1e-9;

std::string Fmt(const char* format, double v)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, format, v);
    return buf;
}

// Outputs that could not be written; what() already says which were.
struct OutputFailure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// A scheduled change: an action, or the end of a timed thrust.
struct Event {
    double time;
    const Action* action;
    bool thrust_end;
};

class Runner {
public:
    explicit Runner(const Options& o) : o_(o), meshes_(o.meshes) {}

    RunReport run()
    {
        check_output_paths(o_);
        sim::Host host;
        host_ = &host;
        if (!o_.module.empty()) host.load_module(o_.module);
        host.load_scenario(sim::read_scenario_file(o_.scenario),
                           [&](const std::string& class_name) { return sim::module_file(o_.modules, class_name); });
        if (host.all_craft().empty()) throw std::runtime_error(o_.scenario + ": the scenario holds no craft");
        schedule_timeline();
        std::error_code ec;
        std::filesystem::create_directories(o_.out_dir, ec);
        if (ec || !std::filesystem::is_directory(o_.out_dir))
            throw std::runtime_error("cannot create the output folder " + o_.out_dir + ": " + ec.message());
        const StopRequest stop;  // until the run's files are written
        // Refused now rather than after a long run.
        for (const PlannedOutput& p : planned_outputs(o_)) sim::check_creatable(p.path);
        if (!o_.json.empty()) {
            std::vector<std::string> modules;
            for (const auto& m : host.modules()) modules.push_back(m->path());
            json_ = std::make_unique<JsonTelemetry>(o_.json, modules, o_.scenario);
        }

        const double start = host.sim_time();
        Progress progress(!o_.quiet, o_.duration);
        double t = 0;
        try {
            fly(host, progress, stop, t);
        } catch (const sim::ModuleFaultError& e) {
            // The host answered each fault harmlessly and is whole, so the
            // state reached is saved as for any other stop; its clock says
            // whether the step under way was finished.
            report_.stopped = e.what();
            t = host.sim_time() - start;
        }
        if (report_.stopped.empty()) progress.finish();
        else progress.stop(t, report_.stopped);
        print_warnings(host);
        report_.seconds = t;

        if (report_.stopped.empty() || o_.save_on_stop) save(final_save_path(o_));
        finish();
        if (json_) {
            std::vector<std::string> events;
            for (const std::string& n : report_.notes) events.push_back(n);
            if (attempt_write(o_.json, [&] { json_->close(events, report_.saved); }))
                report_.saved.push_back(o_.json + " (telemetry)");
        }
        // Here rather than in the host's destructor, so that faults in ovcExit are reported too.
        while (!host.modules().empty()) host.unload_module(*host.modules().back());
        print_warnings(host);
        host_ = nullptr;
        if (!not_written_.empty()) throw OutputFailure(failure_ + outputs_note(written_, not_written_));
        return report_;
    }

    // What a run that failed midway had written, and what it had not.
    std::string outputs_so_far() const
    {
        if (written_.empty()) return {};
        std::vector<std::string> missing;
        for (const PlannedOutput& p : planned_outputs(o_))
            if (std::find(written_.begin(), written_.end(), p.path) == written_.end()) missing.push_back(p.path);
        return outputs_note(written_, missing);
    }

private:
    // What the host noted as suspicious but harmless (a module's unusable
    // resources, an empty thruster group): shown once the progress line is
    // done, whether or not the run is quiet, since the host itself never prints.
    static void print_warnings(sim::Host& host)
    {
        for (const sim::ModuleFault& w : host.take_warnings())
            std::fprintf(stderr, "simhost-run: warning: %s\n", sim::terminal_text(w.text()).c_str());
    }

    sim::Craft craft_of(const Action& a)
    {
        return a.craft.empty() ? host_->focus() : host_->find_craft(a.craft);
    }

    void schedule_timeline()
    {
        // Taken once; a timed thrust is two events, its start and its end.
        events_.reserve(o_.actions.size() + std::count_if(o_.actions.begin(), o_.actions.end(), [](const Action& a) {
                            return a.kind == ActionKind::thrust && a.duration > 0;
                        }));
        for (const Action& a : o_.actions) {
            if (!a.craft.empty() && !host_->find_craft(a.craft))
                throw TimelineError(a.source() + ": " + sim::shown_text(a.text) + ": no craft named \"" +
                                    sim::shown_text(a.craft) + "\" in " + o_.scenario);
            if (a.kind == ActionKind::thrust && !craft_of(a).has_group(a.group))
                throw TimelineError(a.source() + ": " + sim::shown_text(a.text) + ": " +
                                    sim::shown_text(craft_of(a).name()) + " has no thruster group " +
                                    group_name(a.group));
            events_.push_back({a.time, &a, false});
            if (a.kind == ActionKind::thrust && a.duration > 0 && a.time + a.duration < o_.duration + time_eps)
                events_.push_back({a.time + a.duration, &a, true});
        }
        std::stable_sort(events_.begin(), events_.end(), [](const Event& x, const Event& y) { return x.time < y.time; });
    }

    void note(double t, const std::string& what) { report_.notes.push_back("t=" + Fmt("%g", t) + " s: " + what); }

    // Steps from `t` to the end of the run, applying the timeline's actions
    // on the way; `t` is the time reached, also when something is thrown.
    void fly(sim::Host& host, Progress& progress, const StopRequest& stop, double& t)
    {
        const double start = host.sim_time();
        size_t next = 0, pattern = 0;
        record_sample(t, true);
        while (true) {
            while (next < events_.size() && events_[next].time <= t + time_eps) apply(events_[next++], t);
            if (t >= o_.duration - time_eps) break;
            if (stop.signal()) {
                report_.stop_signal = stop.signal();
                report_.stopped = "stopped by " + signal_name(stop.signal()) + " at t = " + sim::number_text(t) + " s";
                break;
            }
            const double limit = next < events_.size() ? std::min(events_[next].time, o_.duration) : o_.duration;
            double dt = o_.steps[pattern++ % o_.steps.size()] * o_.warp;
            if (t + dt > limit - time_eps) dt = limit - t;
            if (!(t + dt > t))
                throw std::runtime_error("a step of " + sim::number_text(dt) + " s no longer moves the clock on from t = " +
                                         sim::number_text(t) + " s; take longer steps");
            try {
                host.step(dt);
            } catch (const sim::StateError& e) {
                // The step was taken back: what is saved is the last good state.
                report_.stopped = e.what();
                break;
            }
            if (std::abs(t + dt - limit) <= time_eps) {
                // Land the host's clock on the event exactly, not on a sum of steps.
                t = limit;
                host.set_sim_time(start + limit);
            } else {
                t += dt;
            }
            ++report_.steps;
            record_sample(t, false);
            progress.update(t);
        }
    }

    void apply(const Event& e, double t)
    {
        const Action& a = *e.action;
        switch (a.kind) {
        case ActionKind::key: {
            const sim::Craft craft = craft_of(a);
            const int consumed = host_->key_press(craft, a.key.key, a.key.modifiers);
            note(t, a.key.text() + " to " + craft.name() + (consumed ? " (consumed)" : " (not a command of the craft)"));
            break;
        }
        case ActionKind::click: click(a.button, t); break;
        case ActionKind::thrust: {
            const sim::Craft craft = craft_of(a);
            const double level = e.thrust_end ? 0 : a.level;
            // The focus may have moved to a craft without the group since the start.
            if (host_->set_thrust(craft, a.group, level))
                note(t, "thrust " + group_name(a.group) + " of " + craft.name() + " at " + Fmt("%g", level));
            else
                note(t, "thrust " + group_name(a.group) + ": " + craft.name() + " has no such group; nothing happened");
            break;
        }
        case ActionKind::focus:
            host_->set_focus(craft_of(a));
            note(t, "focus to " + a.craft);
            break;
        case ActionKind::save: save(output_path(o_, a.name)); break;
        case ActionKind::picture:
            draw_picture([&](const std::string& p) { draw_top_view(p, *host_, meshes_, t); }, picture_path(o_, a));
            break;
        }
    }

    // The click goes to the most recently opened dialog that has the button.
    void click(const std::string& button, double t)
    {
        sim::DialogManager& dialogs = host_->dialogs();
        const auto& open = dialogs.open_dialogs();
        const std::string what = "click " + sim::shown_text(button);
        for (auto d = open.rbegin(); d != open.rend(); ++d) {
            const int id = dialogs.button_id((*d)->hwnd, button);
            if (id < 0) continue;
            const std::string in = " in \"" + sim::shown_text((*d)->caption) + "\"";
            if (dialogs.click((*d)->hwnd, id)) note(t, what + in);
            else note(t, what + in + ": the button is disabled; nothing happened");
            return;
        }
        note(t, what + (open.empty() ? ": no dialog is open" : ": no open dialog has such a button") + "; nothing clicked");
    }

    void record_sample(double t, bool first)
    {
        const double json_every = o_.json_every < 0 ? o_.duration / 1000 : o_.json_every;
        const bool json_due = json_ && (first || json_every <= 0 || t >= next_json_ - time_eps ||
                                         t >= o_.duration - time_eps);
        const bool plot_due = first || t >= next_plot_ - time_eps || t >= o_.duration - time_eps;
        if (!json_due && !plot_due) return;
        const Sample s = take_sample(*host_, t);
        if (json_due) {
            json_->add(s);
            while (json_every > 0 && next_json_ <= t + time_eps) next_json_ += json_every;
        }
        if (plot_due) {
            plot_.add(s);
            const double every = o_.duration / 1000;
            while (next_plot_ <= t + time_eps) next_plot_ += every > 0 ? every : 1;
        }
    }

    // Writes one output; a file that cannot be written is noted and the run
    // goes on, so that every other output is still written.
    template <class Write>
    bool attempt_write(const std::string& path, Write write)
    {
        try {
            write();
        } catch (const sim::WriteError& e) {
            if (failure_.empty()) failure_ = e.what();
            not_written_.push_back(path);
            return false;
        }
        written_.push_back(path);
        return true;
    }

    void save(const std::string& path)
    {
        if (attempt_write(path, [&] { host_->save_scenario(path); })) report_.saved.push_back(path);
    }

    template <class Draw>
    void draw_picture(Draw draw, const std::string& path)
    {
        if (attempt_write(path, [&] { draw(path); })) report_.pictures.push_back(path);
    }

    void finish()
    {
        const Sample last = take_sample(*host_, report_.seconds);
        report_.dialogs = last.dialogs;
        const sim::ScenarioText saved = host_->scenario_blocks();
        const std::vector<sim::Craft> craft = host_->all_craft();
        for (size_t i = 0; i < craft.size(); ++i) {
            CraftReport c{craft[i].name(), craft[i].class_name(), last.craft[i], {}};
            for (const sim::SavedLine& l : saved.blocks[i].lines)
                if (!l.by_host) c.module_lines.push_back(l.text);
            report_.craft.push_back(std::move(c));
        }
        if (o_.pictures) {
            const double t = report_.seconds;
            draw_picture([&](const std::string& p) { draw_top_view(p, *host_, meshes_, t); }, output_path(o_, "top_view.svg"));
            draw_picture([&](const std::string& p) { draw_deployment_strip(p, craft.front(), meshes_, {1, 0.75, 0.5, 0.25, 0}); },
                    output_path(o_, "deployment.svg"));
            draw_picture([&](const std::string& p) { draw_telemetry(p, plot_); }, output_path(o_, "telemetry.svg"));
            std::vector<DialogPicture> dialogs;
            for (const auto& d : host_->dialogs().open_dialogs())
                dialogs.push_back(dialog_picture(*host_, *d, report_.notes));
            if (!dialogs.empty())
                draw_picture([&](const std::string& p) { draw_dialogs(p, dialogs); }, output_path(o_, "dialog.svg"));
        }
        for (const std::string& p : meshes_.problems()) report_.notes.push_back(p);
    }

    const Options& o_;
    MeshLibrary meshes_;
    sim::Host* host_ = nullptr;
    std::vector<Event> events_;
    std::unique_ptr<JsonTelemetry> json_;
    TelemetryPlot plot_;
    double next_json_ = 0, next_plot_ = 0;
    RunReport report_;
    std::vector<std::string> written_, not_written_;
    std::string failure_;  // the first output that could not be written, and why
};
}  // namespace

RunReport run(const Options& options)
{
    Runner runner(options);
    try {
        return runner.run();
    } catch (const OutputFailure&) {
        throw;
    } catch (const std::exception& e) {
        const std::string so_far = runner.outputs_so_far();
        if (so_far.empty()) throw;
        throw std::runtime_error(e.what() + so_far);
    }
}

}  // namespace app
