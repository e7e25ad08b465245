#include "record/record_pose.h"

#include <algorithm>
#include <cmath>

namespace sim {

namespace {
const Animation* AnimationOf(const VesselRecord& v, const AnimationComponent* c)
{
    for (const Animation& a : v.animations)
        if (std::find(a.components.begin(), a.components.end(), c) != a.components.end()) return &a;
    return nullptr;
}

// Index in the record, or -1 for an address the host never handed out.
int IndexOf(const VesselRecord& v, const AnimationComponent* c)
{
    for (size_t i = 0; i < v.components.size(); ++i)
        if (v.components[i].get() == c) return static_cast<int>(i);
    return -1;
}

// Rotation by `angle` about the unit axis through ref (Rodrigues).
Pose Rotation(VECTOR3 axis, const VECTOR3& ref, double angle)
{
    Pose p;
    const double n = std::sqrt(axis.x * axis.x + axis.y * axis.y + axis.z * axis.z);
    if (!(n > 0) || !std::isfinite(angle) || angle == 0) return p;
    const double x = axis.x / n, y = axis.y / n, z = axis.z / n;
    const double c = std::cos(angle), s = std::sin(angle), t = 1 - c;
    const double m[3][3] = {{t * x * x + c, t * x * y - s * z, t * x * z + s * y},
                            {t * x * y + s * z, t * y * y + c, t * y * z - s * x},
                            {t * x * z - s * y, t * y * z + s * x, t * z * z + c}};
    std::copy(&m[0][0], &m[0][0] + 9, &p.rot[0][0]);
    // Fix ref: offset = ref - R ref.
    Pose about = p;
    about.offset = {0, 0, 0};
    const VECTOR3 r = apply(about, ref);
    p.offset = {ref.x - r.x, ref.y - r.y, ref.z - r.z};
    return p;
}

// The state `a` (of `vessel`) is taken at.
double StateOf(const VesselRecord& vessel, const Animation& a, AnimationStates states)
{
    const size_t i = static_cast<size_t>(&a - vessel.animations.data());
    return states && i < states->size() ? (*states)[i] : a.state;
}

Pose LocalPose(const AnimationComponent& c, const Animation& a, double state)
{
    if (!c.transform || c.type != MGROUP_TRANSFORM::ROTATE) return Pose{};
    const auto& rot = *static_cast<const MGROUP_ROTATE*>(c.transform);
    const double travel = component_fraction(c, state) - component_fraction(c, a.initial_state);
    return Rotation(rot.axis, rot.ref, double(rot.angle) * travel);
}
}  // namespace

VECTOR3 apply(const Pose& pose, const VECTOR3& p)
{
    const auto& m = pose.rot;
    return {m[0][0] * p.x + m[0][1] * p.y + m[0][2] * p.z + pose.offset.x,
            m[1][0] * p.x + m[1][1] * p.y + m[1][2] * p.z + pose.offset.y,
            m[2][0] * p.x + m[2][1] * p.y + m[2][2] * p.z + pose.offset.z};
}

Pose compose(const Pose& outer, const Pose& inner)
{
    Pose p;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            p.rot[i][j] = 0;
            for (int k = 0; k < 3; ++k) p.rot[i][j] += outer.rot[i][k] * inner.rot[k][j];
        }
    Pose outer_rot = outer;
    outer_rot.offset = {0, 0, 0};
    const VECTOR3 o = apply(outer_rot, inner.offset);
    p.offset = {o.x + outer.offset.x, o.y + outer.offset.y, o.z + outer.offset.z};
    return p;
}

double component_fraction(const AnimationComponent& c, double state)
{
    if (std::isnan(state)) return 0;
    if (c.state1 == c.state0) return state >= c.state0 ? 1 : 0;
    const double f = (state - c.state0) / (c.state1 - c.state0);
    return std::isnan(f) ? 0 : std::clamp(f, 0.0, 1.0);
}

Pose component_pose(const VesselRecord& vessel, const AnimationComponent& c, AnimationStates states)
{
    Pose pose;
    const AnimationComponent* at = &c;
    int index = IndexOf(vessel, at);
    while (at && index >= 0) {
        if (const Animation* a = AnimationOf(vessel, at))
            pose = compose(LocalPose(*at, *a, StateOf(vessel, *a, states)), pose);
        // A parent is always added before its child; anything else is a
        // handle the host never gave out, and the chain ends there.
        const int parent = IndexOf(vessel, at->parent);
        if (parent < 0 || parent >= index) break;
        at = at->parent;
        index = parent;
    }
    return pose;
}

Pose group_pose(const VesselRecord& vessel, UINT mesh, UINT group, AnimationStates states)
{
    Pose pose;
    for (const auto& c : vessel.components) {
        const MGROUP_TRANSFORM* t = c->transform;
        if (!t || t->mesh != mesh || !t->grp || !AnimationOf(vessel, c.get())) continue;
        if (std::find(t->grp, t->grp + t->ngrp, group) == t->grp + t->ngrp) continue;
        pose = compose(component_pose(vessel, *c, states), pose);
    }
    return pose;
}

}  // namespace sim
