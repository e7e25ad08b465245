// The host interface in the Microsoft C++ ABI, as a vendor-built host
// exports it: every member of VESSEL and VESSEL2 and every host function,
// each handing its work to the host through the bridge. Compiled by clang
// for the vendor's target and linked into the MinGW-built host programs, so
// that they load modules of both ABIs. VESSEL2's default callbacks come from
// the host's own sources, compiled here a second time.
#include "host/oapi.h"
#include "host/vessel.h"
#include "host_bridge.h"

VESSEL::VESSEL(OBJHANDLE hVessel, int fmodel) noexcept : vessel_handle(hVessel), flight_model(fmodel) {}
VESSEL::~VESSEL() = default;

OBJHANDLE VESSEL::GetHandle() const noexcept { return vessel_handle; }

#define FACE_MEMBER(result, name, params, args) \
    result VESSEL::name params const noexcept { return simhost_msabi_##name(this MSABI_AFTER args); }
MSABI_VESSEL_MEMBERS(FACE_MEMBER)
#undef FACE_MEMBER

// The only virtual function of the module's that the host needs outside a
// callback is the transform's type: read here once, in the module's ABI.
ANIMATIONCOMPONENT_HANDLE VESSEL::AddAnimationComponent(UINT anim, double state0, double state1,
                                                        MGROUP_TRANSFORM* trans,
                                                        ANIMATIONCOMPONENT_HANDLE parent) const noexcept
{
    const MGROUP_TRANSFORM::TYPE type = trans ? trans->Type() : MGROUP_TRANSFORM::NULLTRANSFORM;
    return simhost_msabi_AddAnimationComponent(this, anim, state0, state1, trans, type, parent);
}

#define FACE_FUNCTION(result, name, params, args) \
    result name params noexcept { return simhost_msabi_##name args; }
MSABI_HOST_FUNCTIONS(FACE_FUNCTION)
#undef FACE_FUNCTION

namespace {
// Calls into the module's object in its own ABI, for the host.
#define FACE_CALLBACK(result, name, params, args) \
    result name(void* object MSABI_AFTER params) { return static_cast<VESSEL2*>(object)->name args; }
MSABI_VESSEL2_CALLBACKS(FACE_CALLBACK)
#undef FACE_CALLBACK

const MsabiCallbacks callbacks = {
#define FACE_CALLBACK_SLOT(result, name, params, args) name,
    MSABI_VESSEL2_CALLBACKS(FACE_CALLBACK_SLOT)
#undef FACE_CALLBACK_SLOT
};
}  // namespace

VESSEL2::VESSEL2(OBJHANDLE hVessel, int fmodel) noexcept : VESSEL(hVessel, fmodel)
{
    simhost_msabi_vessel2_built(hVessel, fmodel, this, &callbacks);
}

VESSEL2::~VESSEL2() { simhost_msabi_vessel2_gone(this); }
