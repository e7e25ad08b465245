// The host's side of the bridge to its face in the Microsoft C++ ABI (see
// host_bridge.h): each function serves a vendor-ABI module's call as the
// host's own interface serves a GCC-ABI module's. The VESSEL a vendor-ABI
// module hands over is laid out as the host's own (the craft's handle
// first), so the host's members read it directly.
#include <map>
#include <memory>

#include "host/oapi.h"
#include "interface/host_call.h"
#include "interface/vessel_api.h"
#include "msabi/host_bridge.h"

namespace {
const VESSEL* Vessel(const void* vessel) { return static_cast<const VESSEL*>(vessel); }

// The callbacks of a vendor-ABI module's VESSEL2, in the form the host calls
// them: a VESSEL2 of the host's own ABI whose every callback calls the
// module's object through the face's table. It announces itself to the
// craft's record as its VESSEL2 does.
class ForeignVessel2 final : public VESSEL2 {
public:
    ForeignVessel2(OBJHANDLE hVessel, int fmodel, void* object, const MsabiCallbacks* callbacks)
        : VESSEL2(hVessel, fmodel), object_(object), callbacks_(callbacks)
    {
    }
    ~ForeignVessel2() = default;

#define FORWARD_CALLBACK(result, name, params, args) \
    result name params override { return callbacks_->name(object_ MSABI_AFTER args); }
    MSABI_VESSEL2_CALLBACKS(FORWARD_CALLBACK)
#undef FORWARD_CALLBACK

private:
    void* object_;                      // the module's VESSEL2; outlives this
    const MsabiCallbacks* callbacks_;  // the face's, for the program's life
};

// Each live vendor-ABI VESSEL2 of any module, by the module's object; made
// by its constructor and dropped by its destructor.
std::map<const void*, std::unique_ptr<ForeignVessel2>>& Foreign()
{
    static std::map<const void*, std::unique_ptr<ForeignVessel2>> foreign;
    return foreign;
}
}  // namespace

extern "C" {
#define SERVE_MEMBER(result, name, params, args) \
    result simhost_msabi_##name(const void* vessel MSABI_AFTER params) noexcept { return Vessel(vessel)->name args; }
MSABI_VESSEL_MEMBERS(SERVE_MEMBER)
#undef SERVE_MEMBER

#define SERVE_FUNCTION(result, name, params, args) \
    result simhost_msabi_##name params noexcept { return ::name args; }
MSABI_HOST_FUNCTIONS(SERVE_FUNCTION)
#undef SERVE_FUNCTION

ANIMATIONCOMPONENT_HANDLE simhost_msabi_AddAnimationComponent(const void* vessel, UINT anim, double state0,
                                                              double state1, MGROUP_TRANSFORM* trans,
                                                              MGROUP_TRANSFORM::TYPE type,
                                                              ANIMATIONCOMPONENT_HANDLE parent) noexcept
{
    return sim::add_animation_component(Vessel(vessel), anim, state0, state1, trans, type,
                                        sim::TransformOwner::module, parent);
}

void simhost_msabi_vessel2_built(OBJHANDLE hVessel, int fmodel, void* object, const MsabiCallbacks* callbacks) noexcept
{
    try {
        Foreign()[object] = std::make_unique<ForeignVessel2>(hVessel, fmodel, object, callbacks);
    } catch (...) {
        sim::Call("VESSEL2", nullptr, {hVessel, fmodel}).host_failed();
    }
}

void simhost_msabi_vessel2_gone(void* object) noexcept { Foreign().erase(object); }
}
