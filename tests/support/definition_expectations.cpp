#include "support/definition_expectations.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {
void ExpectVec(const VECTOR3& v, double x, double y, double z, const std::string& what, double tol = 0)
{
    EXPECT_NEAR(v.x, x, tol) << what;
    EXPECT_NEAR(v.y, y, tol) << what;
    EXPECT_NEAR(v.z, z, tol) << what;
}

struct Rcs {
    VECTOR3 pos, dir;
};
const Rcs rcs[22] = {
    {{-0.1, 1.38, -3.05}, {0, -1, 0}},  {{0.1, 1.38, -3.05}, {0, -1, 0}},  {{-1.12, -0.25, 0}, {0, 1, 0}},
    {{1.12, -0.25, 0}, {0, 1, 0}},      {{-0.1, -1.38, -3.05}, {0, 1, 0}}, {{0.1, -1.38, -3.05}, {0, 1, 0}},
    {{-1.12, 0.25, 0}, {0, -1, 0}},     {{1.12, 0.25, 0}, {0, -1, 0}},     {{-1.38, -0.1, -3.05}, {1, 0, 0}},
    {{-1.38, 0.1, -3.05}, {1, 0, 0}},   {{1.2, -0.1, 0}, {-1, 0, 0}},      {{1.2, 0.1, 0}, {-1, 0, 0}},
    {{1.38, -0.1, -3.05}, {-1, 0, 0}},  {{1.38, 0.1, -3.05}, {-1, 0, 0}},  {{-1.2, -0.1, 0}, {1, 0, 0}},
    {{-1.2, 0.1, 0}, {1, 0, 0}},        {{-1.1, 0, -3.1}, {0, 0, 1}},      {{1.1, 0, -3.1}, {0, 0, 1}},
    {{0, 1.1, -3.1}, {0, 0, 1}},        {{0, -1.1, -3.1}, {0, 0, 1}},      {{-1.15, 0, 0.04}, {0.141, 0, -0.99}},
    {{1.15, 0, 0.04}, {-0.141, 0, -0.99}},
};

struct GroupRole {
    int type;
    std::vector<int> members;  // thruster numbers; 0 is the main engine
    VECTOR3 force, torque;
};
// In the order the groups are created.
const GroupRole roles[13] = {
    {0, {0}, {0, 0, 440}, {22, 0, 0}},
    {3, {1, 2, 3, 4}, {0, 0, 0}, {-164.7, 0, 0}},
    {4, {5, 6, 7, 8}, {0, 0, 0}, {164.7, 0, 0}},
    {5, {9, 10, 11, 12}, {0, 0, 0}, {0, -164.7, 0}},
    {6, {13, 14, 15, 16}, {0, 0, 0}, {0, 164.7, 0}},
    {7, {4, 7}, {0, 0, 0}, {0, 0, 60.48}},
    {8, {3, 8}, {0, 0, 0}, {0, 0, -60.48}},
    {10, {11, 12}, {-54, 0, 0}, {0, 0, 0}},
    {9, {15, 16}, {54, 0, 0}, {0, 0, 0}},
    {11, {7, 8}, {0, -54, 0}, {0, 0, 0}},
    {12, {3, 4}, {0, 54, 0}, {0, 0, 0}},
    {13, {17, 18, 19, 20}, {0, 0, 108}, {0, 0, 0}},
    {14, {21, 22}, {0, 0, -53.46}, {0, 0, 0}},
};

// Net force and torque about the origin of a group at full thrust.
void GroupForceTorque(const sim::GroupView& g, const std::vector<sim::ThrusterView>& thrusters, VECTOR3& force,
                      VECTOR3& torque)
{
    force = torque = VECTOR3{0, 0, 0};
    for (int i : g.thrusters) {
        const sim::ThrusterView& t = thrusters.at(i);
        const VECTOR3 f{t.dir.x * t.max_thrust, t.dir.y * t.max_thrust, t.dir.z * t.max_thrust};
        const VECTOR3& r = t.pos;
        force = {force.x + f.x, force.y + f.y, force.z + f.z};
        torque = {torque.x + r.y * f.z - r.z * f.y, torque.y + r.z * f.x - r.x * f.z, torque.z + r.x * f.y - r.y * f.x};
    }
}
}  // namespace

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
    EXPECT_EQ(tanks[tank].mass, 500) << "initial mass -1 fills the tank";
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

    const std::vector<sim::ThrusterView> thrusters = r.thrusters();
    ASSERT_EQ(thrusters.size(), 23u);
    const sim::ThrusterView& main = thrusters[0];
    ExpectVec(main.pos, 0, 0.05, -2.8, "main engine");
    ExpectVec(main.dir, 0, 0, 1, "main engine");
    EXPECT_EQ(main.max_thrust, 440);
    EXPECT_EQ(main.isp_vacuum, 2344.59);
    EXPECT_EQ(main.isp_ref, 2187.63);
    EXPECT_EQ(main.p_ref, 101400);
    for (int i = 0; i < 22; ++i) {
        const sim::ThrusterView& t = thrusters[i + 1];
        const std::string what = "thruster " + std::to_string(i + 1);
        ExpectVec(t.pos, rcs[i].pos.x, rcs[i].pos.y, rcs[i].pos.z, what);
        ExpectVec(t.dir, rcs[i].dir.x, rcs[i].dir.y, rcs[i].dir.z, what);
        EXPECT_EQ(t.max_thrust, 27) << what;
        EXPECT_EQ(t.isp_vacuum, 2344.59) << what;
        EXPECT_EQ(t.isp_ref, 0) << what;
        EXPECT_EQ(t.p_ref, 101400) << what;
    }
    for (const sim::ThrusterView& t : thrusters) EXPECT_EQ(t.tank, tank) << "every thruster draws on the one tank";

    const std::vector<sim::GroupView> groups = r.groups();
    ASSERT_EQ(groups.size(), 13u);
    for (int i = 0; i < 13; ++i) {
        const sim::GroupView& g = groups[i];
        const GroupRole& role = roles[i];
        const std::string what = "group of type " + std::to_string(role.type);
        EXPECT_EQ(int(g.type), role.type) << "group " << i << " created out of order";
        ASSERT_EQ(g.thrusters, role.members) << what;
        VECTOR3 f, tq;
        GroupForceTorque(g, thrusters, f, tq);
        ExpectVec(f, role.force.x, role.force.y, role.force.z, what + " force", 1e-9);
        ExpectVec(tq, role.torque.x, role.torque.y, role.torque.z, what + " torque", 1e-9);
    }

    const std::vector<sim::ExhaustView> exhausts = r.exhausts();
    ASSERT_EQ(exhausts.size(), 1u);
    const sim::ExhaustView& ex = exhausts[0];
    EXPECT_EQ(ex.thruster, 0);
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
