#include "serve/session/scene_json.h"

#include <cmath>

#include "options/thruster_groups.h"
#include "pictures/pictures.h"

namespace app {

namespace {
using nlohmann::json;

json Vec(const VECTOR3& v) { return json::array({v.x, v.y, v.z}); }

json Mesh(const sim::MeshEntry& entry, const sim::Mesh* mesh)
{
    json m{{"name", entry.name},
           {"offset", Vec(entry.has_offset ? entry.offset : VECTOR3{})},
           {"loaded", mesh != nullptr}};
    json vertices = json::array(), groups = json::array();
    if (mesh) {
        for (const VECTOR3& v : mesh->vertices) vertices.insert(vertices.end(), {v.x, v.y, v.z});
        for (const sim::MeshGroup& g : mesh->groups) {
            json triangles = json::array();
            for (const auto& face : g.faces)
                for (size_t i = 2; i < face.size(); ++i)
                    triangles.insert(triangles.end(), {face[0], face[i - 1], face[i]});
            groups.push_back({{"name", g.name}, {"triangles", std::move(triangles)}});
        }
    }
    m["vertices"] = std::move(vertices);
    m["groups"] = std::move(groups);
    return m;
}

json Pose(const sim::Pose& p)
{
    return json::array({p.rot[0][0], p.rot[0][1], p.rot[0][2], p.offset.x, p.rot[1][0], p.rot[1][1], p.rot[1][2],
                        p.offset.y, p.rot[2][0], p.rot[2][1], p.rot[2][2], p.offset.z});
}
}  // namespace

json scene_message(LiveSession& session, MeshLibrary& meshes)
{
    json craft = json::array();
    for (const sim::Craft& c : session.host().all_craft()) {
        json m = json::array(), exhausts = json::array(), groups = json::array();
        for (const sim::MeshEntry& e : c.meshes()) m.push_back(Mesh(e, meshes.get(e.name)));
        for (const sim::ExhaustView& x : c.exhausts())
            exhausts.push_back({{"thruster", x.thruster},
                                {"pos", Vec(x.pos)},
                                {"dir", Vec(x.dir)},
                                {"length", x.length},
                                {"width", x.width}});
        for (const sim::GroupView& g : c.groups()) {
            const std::string name = group_name(g.type);
            if (std::find(groups.begin(), groups.end(), name) == groups.end()) groups.push_back(name);
        }
        craft.push_back({{"name", c.name()},
                         {"class", c.class_name()},
                         {"size", c.size()},
                         {"meshes", std::move(m)},
                         {"exhausts", std::move(exhausts)},
                         {"groups", std::move(groups)}});
    }
    const Options& o = session.options();
    return {{"type", "scene"},
            {"scenario", o.scenario},
            {"craft", std::move(craft)},
            {"timeline", session.timeline_path()},
            {"problems", meshes.problems()}};
}

void StateMessages::RefreshDialogs(LiveSession& session)
{
    sim::Host& host = session.host();
    const auto open = host.dialogs().open_dialogs();
    std::string signature;
    for (const sim::Dialog* d : open) {
        signature += std::to_string(reinterpret_cast<std::uintptr_t>(d->hwnd)) + ":" + d->caption + ":";
        for (const sim::Control& c : d->controls) signature += c.enabled ? '1' : '0';
        signature += ';';
    }
    if (signature == signature_ && revision_ > 0) return;
    signature_ = signature;
    ++revision_;
    dialogs_ = json::array();
    std::vector<std::string> problems;
    for (const sim::Dialog* d : open) {
        const DialogPicture picture = dialog_picture(host, *d, problems);
        json boxes = json::array();
        for (const ControlBox& b : dialog_boxes(picture))
            boxes.push_back({{"button", b.button},
                             {"text", b.text},
                             {"enabled", b.enabled},
                             {"x", b.x},
                             {"y", b.y},
                             {"w", b.w},
                             {"h", b.h}});
        dialogs_.push_back({{"caption", d->caption},
                            {"module", picture.module},
                            {"svg", dialogs_svg({picture})},
                            {"boxes", std::move(boxes)}});
    }
}

json StateMessages::state(LiveSession& session, double warp, bool paused, bool full)
{
    sim::Host& host = session.host();
    json craft = json::array();
    for (const sim::Craft& c : host.all_craft()) {
        const sim::BodyState& b = c.body();
        json poses = json::array();
        const std::vector<sim::MeshEntry>& entries = c.meshes();
        for (UINT mi = 0; mi < entries.size(); ++mi) {
            json groups = json::array();
            if (const sim::Mesh* mesh = meshes_.get(entries[mi].name))
                for (UINT g = 0; g < mesh->groups.size(); ++g) groups.push_back(Pose(c.group_pose(mi, g)));
            poses.push_back(std::move(groups));
        }
        json beacons = json::array();
        for (const sim::BeaconView& v : host.drawn_beacons(c))
            beacons.push_back({{"pos", Vec(v.pos)},
                               {"col", Vec(v.col)},
                               {"size", v.size},
                               {"lit", v.lit},
                               {"period", v.period},
                               {"duration", v.duration},
                               {"tofs", v.tofs}});
        const double speed = std::sqrt(b.vel.x * b.vel.x + b.vel.y * b.vel.y + b.vel.z * b.vel.z);
        craft.push_back({{"name", c.name()},
                         {"pos", Vec(b.pos)},
                         {"q", {b.q[0], b.q[1], b.q[2], b.q[3]}},
                         {"speed", speed},
                         {"mass", c.mass()},
                         {"propellant", c.propellant_mass()},
                         {"animations", c.animation_states()},
                         {"levels", c.thruster_levels()},
                         {"poses", std::move(poses)},
                         {"beacons", std::move(beacons)}});
    }
    RefreshDialogs(session);
    const std::vector<std::string>& notes = session.notes();
    json m{{"type", "state"},
           {"t", session.time()},
           {"sim_time", host.sim_time()},
           {"steps", session.steps()},
           {"step_seconds", session.step_seconds()},
           {"warp", warp},
           {"paused", paused},
           {"stopped", session.stopped()},
           {"ended", session.ended()},
           {"craft", std::move(craft)},
           {"notes", json(std::vector<std::string>(notes.end() - std::min<size_t>(notes.size(), 12), notes.end()))},
           {"notes_total", notes.size()},
           {"replay", session.replay_command()},
           {"dialogs_revision", revision_}};
    if (full || sent_revision_ != revision_) m["dialogs"] = dialogs_;
    sent_revision_ = revision_;
    return m;
}

}  // namespace app
