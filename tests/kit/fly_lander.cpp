// A program that embeds the host through the installed headers alone: it
// flies the Lander on its hover engine and checks what the craft's views and
// the save show. Exits 1, saying why, when anything is off.
#include <cmath>
#include <cstdio>
#include <string>

#include "sim/host.h"

namespace {
int Fail(const std::string& why)
{
    std::fprintf(stderr, "fly_lander: %s\n", why.c_str());
    return 1;
}
}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) return Fail("usage: fly_lander LANDER_MODULE");
    sim::Host host;
    const sim::Craft lander = host.create_craft(host.load_module(argv[1]), "Eagle");
    if (host.key_press(lander, OAPI_KEY_G) != 1) return Fail("G was not taken");
    if (!host.set_thrust(lander, THGROUP_HOVER, 1)) return Fail("no hover group");
    for (int i = 0; i < 10; ++i) host.step(0.1);

    const std::vector<sim::ThrusterView> thrusters = lander.thrusters();
    if (thrusters.size() != 1 || thrusters[0].tank != 0 || thrusters[0].level != 1)
        return Fail("the hover engine is not as defined");
    // 3000 N at an Isp of 3000 m/s burns 1 kg/s.
    if (std::abs(lander.tanks().at(0).mass - 399) > 1e-9) return Fail("the tank does not hold 399 kg after 1 s");
    if (!(lander.body().vel.y > 0)) return Fail("the engine did not lift the lander");
    if (host.scenario_text().find("GEAR_DOWN") == std::string::npos) return Fail("the save has no GEAR_DOWN");
    std::puts("fly_lander: flown through the host's face");
    return 0;
}
