// Value types and opaque handles shared by the host and its vessel modules.
#pragma once

#include <cstddef>
#include <cstdint>

#include "win_compat.h"

// A vector of three doubles; positions in metres, directions in the vessel frame.
struct VECTOR3 {
    double x, y, z;
};

inline VECTOR3 _V(double x, double y, double z) { return VECTOR3{x, y, z}; }

// Handles the host hands out. A module stores them and gives them back
// unopened; each stays valid for the life of the vessel that created it.
typedef void* OBJHANDLE;
typedef void* PROPELLANT_HANDLE;
typedef void* THRUSTER_HANDLE;
typedef void* THGROUP_HANDLE;
typedef void* ATTACHMENTHANDLE;
typedef void* DOCKHANDLE;
typedef void* ANIMATIONCOMPONENT_HANDLE;
typedef void* FILEHANDLE;
typedef void* SURFHANDLE;
typedef void* VISHANDLE;
typedef void* DEVMESHHANDLE;

// Thruster-group roles. The number is what crosses the interface.
enum THGROUP_TYPE {
    THGROUP_MAIN = 0,
    THGROUP_RETRO = 1,
    THGROUP_HOVER = 2,
    THGROUP_ATT_PITCHUP = 3,
    THGROUP_ATT_PITCHDOWN = 4,
    THGROUP_ATT_YAWLEFT = 5,
    THGROUP_ATT_YAWRIGHT = 6,
    THGROUP_ATT_BANKLEFT = 7,
    THGROUP_ATT_BANKRIGHT = 8,
    THGROUP_ATT_RIGHT = 9,
    THGROUP_ATT_LEFT = 10,
    THGROUP_ATT_DOWN = 11,
    THGROUP_ATT_UP = 12,
    THGROUP_ATT_FORWARD = 13,
    THGROUP_ATT_BACK = 14,
};

// A beacon light. The host keeps the record's address from AddBeacon on and
// reads it every frame, so the record must stay in place while the vessel lives.
struct BEACONLIGHTSPEC {
    DWORD shape;       // 0 compact, 1 diffuse, 2 star-shaped
    VECTOR3* pos;      // metres in the vessel frame; read through on every frame; must outlive the vessel
    VECTOR3* col;      // red, green, blue, each 0 to 1; as pos
    double size;       // radius in metres
    double falloff;    // 0 to 1: how fast it dims with distance (0: not at all)
    double period;     // seconds from one flash to the next; 0: shines steadily
    double duration;   // seconds each flash lasts
    double tofs;       // seconds into the period that the first flash starts
    bool active;       // lit; the module may switch it at any time
};

// Base of the mesh-group transforms an animation component applies.
// Both classes are defined here in full, so host and module each carry their
// own copy and nothing of them crosses the interface but the record itself.
// A module makes an MGROUP_ROTATE with `new` for AddAnimationComponent,
// which takes it over (see there); the group list `grp` stays the module's.
class MGROUP_TRANSFORM {
public:
    enum TYPE { NULLTRANSFORM, ROTATE };
    MGROUP_TRANSFORM() : mesh(0), grp(nullptr), ngrp(0) {}
    MGROUP_TRANSFORM(UINT mesh_, UINT* grp_, UINT ngrp_) : mesh(mesh_), grp(grp_), ngrp(ngrp_) {}
    virtual TYPE Type() const { return NULLTRANSFORM; }

    UINT mesh;
    UINT* grp;  // the host reads the group list for as long as the animation exists
    UINT ngrp;

protected:
    ~MGROUP_TRANSFORM() = default;
};

// A rotation of mesh groups about the axis through `ref` along `axis`.
class MGROUP_ROTATE final : public MGROUP_TRANSFORM {
public:
    MGROUP_ROTATE(UINT mesh_, UINT* grp_, UINT ngrp_, const VECTOR3& ref_, const VECTOR3& axis_, float angle_)
        : MGROUP_TRANSFORM(mesh_, grp_, ngrp_), ref(ref_), axis(axis_), angle(angle_) {}
    TYPE Type() const override { return ROTATE; }

    VECTOR3 ref;
    VECTOR3 axis;
    float angle;  // radians
};

// Host and module are built apart, often by different compilers; these are
// the layouts both sides must agree on, for 64-bit and for 32-bit Windows
// (where a double inside a record is aligned to 8, as on 64-bit).
namespace host_layout {
constexpr bool wide = UINTPTR_MAX > 0xFFFFFFFFu;
constexpr std::size_t w(std::size_t at64, std::size_t at32) { return wide ? at64 : at32; }
}  // namespace host_layout

static_assert(sizeof(VECTOR3) == 24 && offsetof(VECTOR3, y) == 8 && offsetof(VECTOR3, z) == 16);
static_assert(sizeof(DWORD) == 4 && sizeof(WORD) == 2 && sizeof(UINT) == 4 && sizeof(bool) == 1);
static_assert(sizeof(THGROUP_TYPE) == 4);
static_assert(offsetof(BEACONLIGHTSPEC, pos) == host_layout::w(8, 4) &&
              offsetof(BEACONLIGHTSPEC, col) == host_layout::w(16, 8) &&
              offsetof(BEACONLIGHTSPEC, size) == host_layout::w(24, 16) &&
              offsetof(BEACONLIGHTSPEC, falloff) == host_layout::w(32, 24) &&
              offsetof(BEACONLIGHTSPEC, period) == host_layout::w(40, 32) &&
              offsetof(BEACONLIGHTSPEC, duration) == host_layout::w(48, 40) &&
              offsetof(BEACONLIGHTSPEC, tofs) == host_layout::w(56, 48) &&
              offsetof(BEACONLIGHTSPEC, active) == host_layout::w(64, 56) &&
              sizeof(BEACONLIGHTSPEC) == host_layout::w(72, 64));
// A table pointer, then the fields in order.
static_assert(sizeof(MGROUP_TRANSFORM) == host_layout::w(32, 16));
static_assert(sizeof(MGROUP_ROTATE) == host_layout::w(88, 72));
