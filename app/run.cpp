#include "run.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>

#include "sim/physics.h"
#include "pictures.h"
#include "progress.h"
#include "resource.h"
#include "sim/scenario_file.h"
#include "thruster_groups.h"

namespace app {

namespace {
constexpr double time_eps = 1e-9;

std::string Fmt(const char* format, double v)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, format, v);
    return buf;
}

std::string InOut(const Options& o, const std::string& file)
{
    return std::filesystem::path(file).is_absolute() ? file : (std::filesystem::path(o.out_dir) / file).string();
}

bool HostLine(const std::string& line)
{
    for (const char* key : {"POS ", "VEL ", "ATT ", "AROT ", "PROPELLANT "})
        if (line.rfind(key, 0) == 0) return true;
    return false;
}

// A scheduled change: an action, or the end of a timed thrust.
struct Event {
    double time;
    const Action* action;
    bool thrust_end;
};

class Runner {
public:
    explicit Runner(const Options& o) : o_(o), meshes_(o.meshes) {}

    RunReport go()
    {
        sim::Host host;
        host_ = &host;
        sim::Module& module = host.load_module(o_.module);
        module_ = &module;
        const sim::Scenario scn = sim::read_scenario_file(o_.scenario);
        host.load_scenario(scn, module);
        host.log().clear();
        if (host.vessels().empty()) throw std::runtime_error(o_.scenario + ": the scenario holds no craft");
        Schedule();
        std::error_code ec;
        std::filesystem::create_directories(o_.out_dir, ec);
        if (ec || !std::filesystem::is_directory(o_.out_dir))
            throw std::runtime_error("cannot create the output folder " + o_.out_dir + ": " + ec.message());
        if (!o_.json.empty()) json_ = std::make_unique<JsonTelemetry>(o_.json, o_.module, o_.scenario);

        const double start = host.sim_time();
        Progress progress(!o_.quiet, o_.duration);
        double t = 0;
        size_t next = 0, pattern = 0;
        Record(t, true);
        while (true) {
            while (next < events_.size() && events_[next].time <= t + time_eps) Apply(events_[next++], t);
            if (t >= o_.duration - time_eps) break;
            const double limit = next < events_.size() ? std::min(events_[next].time, o_.duration) : o_.duration;
            double dt = o_.steps[pattern++ % o_.steps.size()] * o_.warp;
            if (t + dt > limit - time_eps) dt = limit - t;
            host.step(dt);
            host.log().clear();  // nothing here reads it; a long run must not grow it
            if (std::abs(t + dt - limit) <= time_eps) {
                // Land the host's clock on the event exactly, not on a sum of steps.
                t = limit;
                host.set_sim_time(start + limit);
            } else {
                t += dt;
            }
            ++report_.steps;
            Record(t, false);
            progress.update(t);
        }
        progress.finish();
        report_.seconds = t;

        Save(o_.save.empty() ? InOut(o_, "final.scn") : o_.save);
        Finish();
        if (json_) {
            std::vector<std::string> events;
            for (const std::string& n : report_.notes) events.push_back(n);
            json_->close(events, report_.saved);
            report_.saved.push_back(o_.json + " (telemetry)");
        }
        host_ = nullptr;
        return report_;
    }

private:
    sim::VesselRecord& Craft(const Action& a)
    {
        sim::VesselRecord* r = a.craft.empty() ? host_->vessels().front().get() : host_->find_vessel(a.craft);
        return *r;
    }

    void Schedule()
    {
        for (const Action& a : o_.actions) {
            if (!a.craft.empty() && !host_->find_vessel(a.craft))
                throw TimelineError(a.source + ": " + a.text + ": no craft named \"" + a.craft + "\" in " + o_.scenario);
            if (a.kind == ActionKind::thrust && !Craft(a).group_of_type(a.group))
                throw TimelineError(a.source + ": " + a.text + ": " + Craft(a).name + " has no thruster group " +
                                    group_name(a.group));
            events_.push_back({a.time, &a, false});
            if (a.kind == ActionKind::thrust && a.duration > 0 && a.time + a.duration < o_.duration + time_eps)
                events_.push_back({a.time + a.duration, &a, true});
        }
        std::stable_sort(events_.begin(), events_.end(), [](const Event& x, const Event& y) { return x.time < y.time; });
    }

    void Note(double t, const std::string& what) { report_.notes.push_back("t=" + Fmt("%g", t) + " s: " + what); }

    void Apply(const Event& e, double t)
    {
        const Action& a = *e.action;
        switch (a.kind) {
        case ActionKind::key: {
            sim::VesselRecord& craft = Craft(a);
            const int consumed = host_->key_press(craft, a.key.code, a.key.modifiers);
            Note(t, "key " + a.key.text + " to " + craft.name + (consumed ? " (consumed)" : " (not a command of the craft)"));
            break;
        }
        case ActionKind::click: {
            sim::DialogManager& dialogs = host_->dialogs();
            const HWND dlg = dialogs.find(module_->instance(), IDD_CONTROLS);
            if (!dlg) Note(t, "click " + a.button + ": the control dialog is not open; nothing clicked");
            else if (!dialogs.click(dlg, a.button_id))
                Note(t, "click " + a.button + ": the button is disabled or missing; nothing happened");
            else Note(t, "click " + a.button);
            break;
        }
        case ActionKind::thrust: {
            sim::VesselRecord& craft = Craft(a);
            const double level = e.thrust_end ? 0 : a.level;
            sim::set_group_level(craft, a.group, level);
            Note(t, "thrust " + group_name(a.group) + " of " + craft.name + " at " + Fmt("%g", level));
            break;
        }
        case ActionKind::save: Save(InOut(o_, a.name)); break;
        case ActionKind::picture: {
            const std::string name = a.name.empty() ? "top_view_t" + Fmt("%g", t) : a.name;
            Picture([&](const std::string& p) { draw_top_view(p, *host_, meshes_, t); }, InOut(o_, name + ".svg"));
            break;
        }
        }
        host_->log().clear();
    }

    void Record(double t, bool first)
    {
        const bool json_due = json_ && (first || o_.json_every <= 0 || t >= next_json_ - time_eps ||
                                         t >= o_.duration - time_eps);
        const bool plot_due = first || t >= next_plot_ - time_eps || t >= o_.duration - time_eps;
        if (!json_due && !plot_due) return;
        const Sample s = take_sample(*host_, t);
        if (json_due) {
            json_->add(s);
            while (o_.json_every > 0 && next_json_ <= t + time_eps) next_json_ += o_.json_every;
        }
        if (plot_due) {
            plot_.push_back(s);
            const double every = o_.duration / 1000;
            while (next_plot_ <= t + time_eps) next_plot_ += every > 0 ? every : 1;
        }
    }

    void Save(const std::string& path)
    {
        host_->save_scenario(path);
        host_->log().clear();
        report_.saved.push_back(path);
    }

    template <class Draw>
    void Picture(Draw draw, const std::string& path)
    {
        draw(path);
        report_.pictures.push_back(path);
    }

    void Finish()
    {
        const Sample last = take_sample(*host_, report_.seconds);
        const sim::Scenario saved = sim::parse_scenario(host_->scenario_text(), "final");
        host_->log().clear();
        for (size_t i = 0; i < host_->vessels().size(); ++i) {
            const auto& r = host_->vessels()[i];
            CraftReport c{r->name, r->class_name, last.craft[i], {}, last.dialog_open, last.deploy_enabled};
            for (const sim::ScenarioVessel& v : saved.vessels)
                if (v.name == r->name)
                    for (const sim::ScenarioLine& l : v.lines)
                        if (!HostLine(l.text)) c.module_lines.push_back(l.text);
            report_.craft.push_back(std::move(c));
        }
        if (o_.pictures) {
            const double t = report_.seconds;
            Picture([&](const std::string& p) { draw_top_view(p, *host_, meshes_, t); }, InOut(o_, "top_view.svg"));
            sim::VesselRecord& first = *host_->vessels().front();
            Picture([&](const std::string& p) { draw_deployment_strip(p, first, meshes_, {1, 0.75, 0.5, 0.25, 0}); },
                    InOut(o_, "deployment.svg"));
            Picture([&](const std::string& p) { draw_telemetry(p, plot_); }, InOut(o_, "telemetry.svg"));
            for (const auto& d : host_->dialogs().open_dialogs()) {
                if (d->resid != IDD_CONTROLS) continue;
                std::optional<Bitmap> bmp;
                try {
                    bmp = read_bitmap(o_.bitmap);
                } catch (const std::runtime_error& e) {
                    report_.notes.push_back(std::string("dialog picture drawn without its bitmap: ") + e.what());
                }
                Picture([&](const std::string& p) { draw_dialog(p, *d, bmp ? &*bmp : nullptr); }, InOut(o_, "dialog.svg"));
            }
        }
        for (const std::string& p : meshes_.problems()) report_.notes.push_back(p);
    }

    const Options& o_;
    MeshLibrary meshes_;
    sim::Host* host_ = nullptr;
    sim::Module* module_ = nullptr;
    std::vector<Event> events_;
    std::unique_ptr<JsonTelemetry> json_;
    std::vector<Sample> plot_;
    double next_json_ = 0, next_plot_ = 0;
    RunReport report_;
};
}  // namespace

RunReport run(const Options& options) { return Runner(options).go(); }

}  // namespace app
