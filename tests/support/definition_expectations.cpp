#include "support/definition_expectations.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>

namespace {
void ExpectVec(const VECTOR3& v, double x, double y, double z, const std::string& what, double tol = 0)
{
    EXPECT_NEAR(v.x, x, tol) << what;
    EXPECT_NEAR(v.y, y, tol) << what;
    EXPECT_NEAR(v.z, z, tol) << what;
}

// How each group pushes the craft at full thrust, about its centre of mass
// (the frame's origin): the rotation groups turn it without pushing, the
// translation groups push it without turning, each pair alike and opposed;
// the main engine pushes along +z with a pitching torque, its thrust line
// 5 cm above the centre of mass.
struct GroupAction {
    THGROUP_TYPE type;
    VECTOR3 force, torque;
};
const double pitch = 164.7, yaw = 164.7, bank = 60.48, sideways = 54;
const GroupAction actions[] = {
    {THGROUP_MAIN, {0, 0, 440}, {440 * 0.05, 0, 0}},
    {THGROUP_ATT_PITCHUP, {0, 0, 0}, {-pitch, 0, 0}},
    {THGROUP_ATT_PITCHDOWN, {0, 0, 0}, {pitch, 0, 0}},
    {THGROUP_ATT_YAWLEFT, {0, 0, 0}, {0, -yaw, 0}},
    {THGROUP_ATT_YAWRIGHT, {0, 0, 0}, {0, yaw, 0}},
    {THGROUP_ATT_BANKLEFT, {0, 0, 0}, {0, 0, bank}},
    {THGROUP_ATT_BANKRIGHT, {0, 0, 0}, {0, 0, -bank}},
    {THGROUP_ATT_LEFT, {-sideways, 0, 0}, {0, 0, 0}},
    {THGROUP_ATT_RIGHT, {sideways, 0, 0}, {0, 0, 0}},
    {THGROUP_ATT_DOWN, {0, -sideways, 0}, {0, 0, 0}},
    {THGROUP_ATT_UP, {0, sideways, 0}, {0, 0, 0}},
    // Four thrusters straight ahead; two canted 8 degrees outwards back.
    {THGROUP_ATT_FORWARD, {0, 0, 4 * 27}, {0, 0, 0}},
    {THGROUP_ATT_BACK, {0, 0, -2 * 27 * 0.99}, {0, 0, 0}},
};
}  // namespace

void GroupForceTorque(const sim::GroupView& g, const std::vector<sim::ThrusterView>& thrusters, VECTOR3& force,
                      VECTOR3& torque)
{
    force = torque = VECTOR3{0, 0, 0};
    for (int i : g.thrusters) {
        const sim::ThrusterView& t = thrusters.at(static_cast<size_t>(i));
        const VECTOR3 f{t.dir.x * t.max_thrust, t.dir.y * t.max_thrust, t.dir.z * t.max_thrust};
        const VECTOR3& r = t.pos;
        force = {force.x + f.x, force.y + f.y, force.z + f.z};
        torque = {torque.x + r.y * f.z - r.z * f.y, torque.y + r.z * f.x - r.x * f.z, torque.z + r.x * f.y - r.y * f.x};
    }
}

void ExpectMervexDefinition(const sim::Craft& r)
{
    EXPECT_EQ(r.size(), 5);
    EXPECT_EQ(r.empty_mass(), 1500);
    ExpectVec(r.pmi(), 5, 5, 0.85, "PMI");
    ExpectVec(r.camera_offset(), 0, 0, 2.552, "camera offset");

    const std::vector<sim::TankView> tanks = r.tanks();
    ASSERT_EQ(tanks.size(), 1u);
    const int tank = 0;
    EXPECT_EQ(tanks[tank].capacity, 500);
    EXPECT_EQ(tanks[tank].mass, 500) << "the tank starts full";
    EXPECT_EQ(tanks[tank].efficiency, 1);
    EXPECT_EQ(r.default_tank(), tank);

    const std::vector<sim::AttachmentView> attachments = r.attachments();
    ASSERT_EQ(attachments.size(), 3u);
    const char* ids[3] = {"XS", "GS", "XS"};
    const VECTOR3 apos[3] = {{0, 0, 2.467}, {0.002, 0.629, -2.649}, {0, 0, -2.535}};
    const VECTOR3 adir[3] = {{0, 0, 1}, {0, 0, -1}, {0, 0, -1}};
    const VECTOR3 arot[3] = {{0, 1, 0}, {0, -1, 0}, {0, 1, 0}};
    for (int i = 0; i < 3; ++i) {
        const sim::AttachmentView& a = attachments[i];
        const std::string what = "attachment " + std::to_string(i);
        EXPECT_TRUE(a.toparent) << what;
        EXPECT_FALSE(a.loose) << what;
        EXPECT_EQ(a.id, ids[i]) << what;
        ExpectVec(a.pos, apos[i].x, apos[i].y, apos[i].z, what);
        ExpectVec(a.dir, adir[i].x, adir[i].y, adir[i].z, what);
        ExpectVec(a.rot, arot[i].x, arot[i].y, arot[i].z, what);
    }

    // One main engine and 22 thrusters of one rating, all fed by the tank;
    // where each sits shows in what its groups do below.
    const std::vector<sim::ThrusterView> thrusters = r.thrusters();
    ASSERT_EQ(thrusters.size(), 23u);
    int main_engines = 0;
    for (const sim::ThrusterView& t : thrusters) {
        const bool main = t.max_thrust == 440;
        main_engines += main;
        const std::string what = main ? "main engine" : "thruster of " + std::to_string(t.max_thrust) + " N";
        if (!main) {
            EXPECT_EQ(t.max_thrust, 27) << what;
        }
        EXPECT_EQ(t.isp_vacuum, 2344.59) << what;
        // Only the main engine loses efficiency in an atmosphere.
        EXPECT_EQ(t.isp_ref, main ? 2187.63 : 0) << what;
        EXPECT_EQ(t.p_ref, 101400) << what;
        EXPECT_EQ(t.tank, tank) << what << " draws on the one tank";
    }
    EXPECT_EQ(main_engines, 1);

    const std::vector<sim::GroupView> groups = r.groups();
    ASSERT_EQ(groups.size(), std::size(actions));
    std::map<int, const sim::GroupView*> by_type;
    std::vector<bool> grouped(thrusters.size());
    for (const sim::GroupView& g : groups) {
        EXPECT_TRUE(by_type.emplace(int(g.type), &g).second) << "two groups of type " << g.type;
        for (int i : g.thrusters) grouped.at(static_cast<size_t>(i)) = true;
    }
    EXPECT_EQ(grouped, std::vector<bool>(thrusters.size(), true)) << "a thruster in no group never fires";
    for (const GroupAction& a : actions) {
        const std::string what = "group of type " + std::to_string(a.type);
        const auto found = by_type.find(int(a.type));
        if (found == by_type.end()) {
            ADD_FAILURE() << "no " << what;
            continue;
        }
        VECTOR3 f, tq;
        GroupForceTorque(*found->second, thrusters, f, tq);
        ExpectVec(f, a.force.x, a.force.y, a.force.z, what + " force at full thrust", 1e-9);
        ExpectVec(tq, a.torque.x, a.torque.y, a.torque.z, what + " torque at full thrust", 1e-9);
    }

    const std::vector<sim::ExhaustView> exhausts = r.exhausts();
    ASSERT_EQ(exhausts.size(), 1u);
    const sim::ExhaustView& ex = exhausts[0];
    const auto main_group = by_type.find(THGROUP_MAIN);
    ASSERT_NE(main_group, by_type.end());
    EXPECT_EQ(main_group->second->thrusters, std::vector<int>{ex.thruster}) << "the exhaust is the main engine's";
    EXPECT_EQ(ex.length, 2.5);
    EXPECT_EQ(ex.width, 0.1);
    ExpectVec(ex.pos, 0, 0.05, -2.95, "exhaust");
    ExpectVec(ex.dir, 0, 0, -1, "exhaust");
    EXPECT_EQ(ex.texture, nullptr);

    const std::vector<sim::DockView> docks = r.docks();
    ASSERT_EQ(docks.size(), 1u);
    ExpectVec(docks[0].pos, 0, 0.068, 2.331, "dock");
    ExpectVec(docks[0].dir, 0, 0, 1, "dock");
    ExpectVec(docks[0].rot, 0, -1, 0, "dock");

    EXPECT_TRUE(r.transponder());
    EXPECT_EQ(r.transponder_channel(), 466u);

    ASSERT_EQ(r.meshes().size(), 1u);
    EXPECT_EQ(r.meshes()[0].name, "Daskern/Mervex");
    EXPECT_FALSE(r.meshes()[0].has_offset);
    EXPECT_EQ(r.meshes()[0].visibility, 1);

    ASSERT_EQ(r.animations().size(), 1u);
    EXPECT_EQ(r.animations()[0].initial_state, 0);
    EXPECT_EQ(r.components().size(), 6u);
    EXPECT_EQ(r.beacons().size(), 4u);
}
