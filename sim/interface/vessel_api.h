// What the host's side of VESSEL shares with its face in the other C++ ABI.
#pragma once

#include "host/vessel.h"

namespace sim {

// Who frees a transform once the craft is gone: the host, or nobody when it
// came from a module built against another C runtime.
enum class TransformOwner { host, module };

// AddAnimationComponent for `vessel`, with the transform's type as the
// module's ABI answers it.
ANIMATIONCOMPONENT_HANDLE add_animation_component(const VESSEL* vessel, UINT anim, double state0, double state1,
                                                  MGROUP_TRANSFORM* trans, MGROUP_TRANSFORM::TYPE type,
                                                  TransformOwner owner, ANIMATIONCOMPONENT_HANDLE parent) noexcept;

}  // namespace sim
