// The two solar-array wings: six hinges, three per wing, chained from the
// body outward. State 1 is stowed, 0 deployed; deploying takes 20 s.
#include "Mervex.h"
#include "oapi.h"

namespace {
const double deg = 0.017453292519943295;
const double deploy_time = 20.0;

// Each hinge turns one mesh group; the host reads these lists for as long as
// the module is loaded.
UINT array_groups[6][1] = {{0}, {1}, {2}, {3}, {4}, {5}};

struct Hinge {
    VECTOR3 ref;
    double angle_deg;
    int parent;  // index into array_comp of the parent, or -1 for the wing root
    int slot;    // where array_comp keeps this hinge's component
};

// The +x wing mirrors the -x wing: x and the angles change sign.
const Hinge hinges[6] = {
    {{-1.059, 0.011, -2.559}, 90, -1, 0},
    {{-2.219, 0.01, -2.576}, -180, 0, 1},
    {{-3.382, 0.009, -2.559}, 180, 1, 2},
    {{1.059, 0.011, -2.559}, -90, -1, 4},
    {{2.219, 0.01, -2.576}, 180, 4, 5},
    {{3.382, 0.009, -2.559}, -180, 5, 6},
};
}  // namespace

void Mervex::DefineArrayAnimation(UINT meshidx)
{
    const VECTOR3 axis = {0, 1, 0};
    for (int i = 0; i < 6; ++i) {
        const Hinge& h = hinges[i];
        // Handed to the host, which keeps it for the animation's life.
        MGROUP_ROTATE* rot =
            new MGROUP_ROTATE(meshidx, array_groups[i], 1, h.ref, axis, static_cast<float>(h.angle_deg * deg));
        ANIMATIONCOMPONENT_HANDLE parent = h.parent < 0 ? nullptr : array_comp[h.parent];
        array_comp[h.slot] = AddAnimationComponent(anim_arrays, 0.05, 0.95, rot, parent);
    }
}

// Deploying hands the host the unclamped value, so on the last step it may
// see a little below 0, while the stored state stops at exactly 0.
void Mervex::StepArrays()
{
    if (deploy_cmd) {
        if (!array_comp[0] || !(array_state > 0)) return;
        array_state = static_cast<float>(array_state - oapiGetSimStep() / deploy_time);
        SetAnimation(anim_arrays, array_state);
        if (array_state < 0) array_state = 0;
    } else if (array_state <= 1) {
        SetAnimation(anim_arrays, array_state);
    }
}
