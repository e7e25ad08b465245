#include "pictures/craft_drawing.h"

#include <algorithm>
#include <set>

#include "sim/animation_pose.h"

namespace app {

namespace {
const char* const body_fill = "#b9bec6";
const char* const body_line = "#5b6270";
const char* const moving_fill = "#2f5fa8";
const char* const moving_line = "#123063";

// The groups of mesh `mesh` that some animation component turns.
std::set<UINT> MovingGroups(sim::Craft craft, UINT mesh)
{
    std::set<UINT> out;
    for (const sim::ComponentView& c : craft.components())
        if (c.transform && c.transform->mesh == mesh && c.transform->grp)
            out.insert(c.transform->grp, c.transform->grp + c.transform->ngrp);
    return out;
}

struct Face {
    double height;  // mean y: the higher face is drawn later
    std::vector<svg::Point> points;
    bool moving;
};
}  // namespace

void craft_extent(sim::Craft craft, MeshLibrary& meshes, double& x0, double& x1, double& z0, double& z1)
{
    x0 = z0 = 1e300;
    x1 = z1 = -1e300;
    auto take = [&](double x, double z) {
        x0 = std::min(x0, x), x1 = std::max(x1, x), z0 = std::min(z0, z), z1 = std::max(z1, z);
    };
    for (const sim::MeshEntry& entry : craft.meshes())
        if (const sim::Mesh* m = meshes.get(entry.name))
            for (const VECTOR3& v : m->vertices) take(v.x + entry.offset.x, v.z + entry.offset.z);
    for (const sim::BeaconView& b : craft.beacons()) take(b.pos.x, b.pos.z);
    if (x0 > x1) x0 = z0 = -1, x1 = z1 = 1;
}

bool draw_craft_top(svg::Document& doc, const svg::Axes& view, sim::Craft craft,
                    const std::vector<sim::BeaconView>& beacons, MeshLibrary& meshes, const std::vector<double>* states)
{
    std::vector<Face> faces;
    bool drawn = false;
    const std::vector<sim::MeshEntry>& entries = craft.meshes();
    for (UINT mi = 0; mi < entries.size(); ++mi) {
        const sim::MeshEntry& entry = entries[mi];
        const sim::Mesh* mesh = meshes.get(entry.name);
        if (!mesh) continue;
        drawn = true;
        const std::set<UINT> moving = MovingGroups(craft, mi);
        for (UINT g = 0; g < mesh->groups.size(); ++g) {
            const sim::Pose pose = states ? craft.group_pose(mi, g, *states) : craft.group_pose(mi, g);
            for (const auto& face : mesh->groups[g].faces) {
                Face f{0, {}, moving.count(g) > 0};
                for (size_t index : face) {
                    const VECTOR3 p = sim::apply(pose, mesh->vertices[index]);
                    f.height += p.y + entry.offset.y;
                    f.points.push_back(svg::to_page(view, {p.x + entry.offset.x, p.z + entry.offset.z}));
                }
                f.height /= static_cast<double>(face.size());
                faces.push_back(std::move(f));
            }
        }
    }
    std::stable_sort(faces.begin(), faces.end(), [](const Face& a, const Face& b) { return a.height < b.height; });
    for (const Face& f : faces) {
        svg::Style s;
        s.fill = f.moving ? moving_fill : body_fill;
        s.stroke = f.moving ? moving_line : body_line;
        s.stroke_width = 0.6;
        s.opacity = f.moving ? 0.85 : 0.55;
        doc.polygon(f.points, s);
    }
    for (const sim::BeaconView& b : beacons) {
        const svg::Point c = svg::to_page(view, {b.pos.x, b.pos.z});
        const std::string colour = svg::rgb(b.col.x, b.col.y, b.col.z);
        if (b.lit) {
            doc.circle(c, 11, svg::Style{colour, "", 1, 0.3, ""});
            doc.circle(c, 5, svg::Style{colour, "#222", 1, 1, ""});
        } else {
            doc.circle(c, 5, svg::Style{"#2b2b2b", colour, 2, 1, ""});
        }
    }
    return drawn;
}

std::vector<svg::Series> craft_legend()
{
    return {{"body", body_line, {}, false},
            {"part an animation moves", moving_fill, {}, false},
            {"beacon lit (its colour, with glow)", "#2fbf3f", {}, false},
            {"beacon dark (ring in its colour)", "#2b2b2b", {}, true}};
}

}  // namespace app
