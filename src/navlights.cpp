// The four beacon lights on the craft's upper side, switched together.
#include "Mervex.h"

namespace {
// Shared by every craft; the host reads them through the beacons' pointers.
VECTOR3 beacon_pos[4] = {{0.92, 1.074, -0.584}, {-0.87, 1.074, -0.584}, {0, 1.35, 0}, {0, 1.35, -0.95}};
VECTOR3 beacon_col[4] = {{0, 1, 0}, {1, 0, 0}, {1, 1, 0.5}, {1, 1, 0.5}};
}  // namespace

void Mervex::RegisterBeacons()
{
    for (int i = 0; i < 4; ++i) {
        beacon[i].shape = 2;
        beacon[i].pos = &beacon_pos[i];
        beacon[i].col = &beacon_col[i];
        beacon[i].size = 0.05;
        beacon[i].falloff = 0.8;
        beacon[i].period = 0;
        beacon[i].duration = 0.05;
        beacon[i].tofs = 0.2;
        beacon[i].active = true;
        AddBeacon(&beacon[i]);
    }
}

void Mervex::SetNavLights(bool on)
{
    for (BEACONLIGHTSPEC& b : beacon) b.active = on;
}

// The lit flags share one value, so the first light speaks for all four.
void Mervex::SyncNavLights()
{
    if (navlights_cmd != beacon[0].active) SetNavLights(navlights_cmd);
}
