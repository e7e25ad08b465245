// The craft's own scenario lines, after the host's: ARRAYS, PAYLOAD_MASS,
// and NAVLIGHTS and DIALOG while they apply. Keys match by prefix, any case.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "Mervex.h"
#include "oapi.h"
#include "resource.h"

#if !defined(_WIN32)
#include <strings.h>
#define _strnicmp strncasecmp
#endif

namespace {
bool HasKey(const char* line, const char* key, size_t len)
{
    return _strnicmp(line, key, len) == 0;
}
}  // namespace

void Mervex::clbkReadScenario(FILEHANDLE scn, void* status)
{
    char* line;
    while (oapiReadScenario_nextline(scn, line)) {
        if (HasKey(line, "ARRAYS", 6)) {
            // A value no float holds as a number ("nan", "inf", beyond 3.4e38)
            // reads as no number at all: 0. The host takes no other. (A value
            // less itself is 0 exactly when it is finite; the runtime of the
            // vendor-ABI build has no <cmath>.)
            const float value = static_cast<float>(atof(line + 6));
            array_state = value - value == 0.0f ? value : 0.0f;
        } else if (HasKey(line, "PAYLOAD_MASS", 12)) {
            // A value that is not a finite number (1e999, nan, inf) leaves the
            // mass as it was: not every C runtime could write it back.
            double mass = 0;
            if (sscanf(line + 12, "%lf", &mass) == 1 && mass - mass == 0) payload_mass = mass;
        } else if (HasKey(line, "NAVLIGHTS", 9)) {
            navlights_cmd = true;
        } else if (HasKey(line, "DIALOG", 6)) {
            dialog_requested = true;
        } else {
            ParseScenarioLineEx(line, status);
        }
    }
    SetAnimState(anim_arrays, array_state);
}

void Mervex::clbkWriteScenario(FILEHANDLE scn)
{
    SaveDefaultState(scn);
    oapiWriteScenario_float(scn, "ARRAYS", array_state);

    // Fixed point with four decimals. A magnitude too large for the buffer in
    // that form goes out in exponent form, with digits enough to read back as
    // the same number.
    char cbuf[256];
    if (snprintf(cbuf, sizeof cbuf, "%0.4f", payload_mass) >= static_cast<int>(sizeof cbuf))
        snprintf(cbuf, sizeof cbuf, "%.17g", payload_mass);
    oapiWriteScenario_string(scn, "PAYLOAD_MASS", cbuf);

    if (navlights_cmd) oapiWriteScenario_string(scn, "NAVLIGHTS", "");
    if (oapiFindDialog(module_instance, IDD_CONTROLS)) oapiWriteScenario_string(scn, "DIALOG", "");
}
