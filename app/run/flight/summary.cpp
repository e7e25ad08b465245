#include "flight/summary.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>

#include "util/text_lines.h"

namespace app {

namespace {
constexpr double rad_to_deg = 57.29577951308232;

std::string Fmt(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Fmt(const char* format, ...)
{
    char buf[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buf, sizeof buf, format, args);
    va_end(args);
    return buf;
}

// A button as a reader knows it: by its caption, or by its id when it has none.
std::string ButtonWords(const DialogSample::Control& b)
{
    if (b.caption.find_first_not_of(' ') == std::string::npos) return "button " + std::to_string(b.id);
    return sim::shown_text(b.caption);
}
}  // namespace

std::string summary_text(const RunReport& r)
{
    std::string out = Fmt("Ran %.3f simulated seconds in %ld steps.\n", r.seconds, r.steps);
    for (const CraftReport& c : r.craft) {
        const CraftSample& s = c.last;
        // Names and notes come from files and modules: shown escaped, as in messages.
        out += "\n" + sim::shown_text(c.name, c.name.size()) + " (" + sim::shown_text(c.class_name) + ")\n";
        if (!s.animations.empty())
            out += Fmt("  animation      state %.3f (the first of %d)\n", s.first_animation(),
                       static_cast<int>(s.animations.size()));
        const int beacons = static_cast<int>(s.beacons_lit.size()), lit = s.lit_beacons();
        if (beacons)
            out += Fmt("  lights         %s (%d of %d beacons lit)\n", lit == beacons ? "on" : lit ? "mixed" : "off", lit,
                       beacons);
        out += Fmt("  propellant     %.3f kg of %.0f kg\n", s.propellant, s.capacity);
        out += Fmt("  mass           %.3f kg\n", s.mass);
        out += Fmt("  velocity       (%.4f, %.4f, %.4f) m/s, speed %.4f m/s\n", s.body.vel.x, s.body.vel.y, s.body.vel.z,
                   s.speed);
        out += Fmt("  position       (%.3f, %.3f, %.3f) m\n", s.body.pos.x, s.body.pos.y, s.body.pos.z);
        out += Fmt("  angular rates  (%.4f, %.4f, %.4f) deg/s about body x, y, z\n", s.body.omega.x * rad_to_deg,
                   s.body.omega.y * rad_to_deg, s.body.omega.z * rad_to_deg);
        std::string own;
        for (const std::string& l : c.module_lines) own += (own.empty() ? "" : " | ") + sim::shown_text(l);
        out += "  craft's lines  " + (own.empty() ? std::string("(none)") : own) + "\n";
    }
    if (r.dialogs.empty()) out += "\nno dialog open\n";
    for (const DialogSample& d : r.dialogs) {
        out += "\ndialog \"" + sim::shown_text(d.caption) + "\" of " + d.module + " open";
        const char* separator = ": ";
        for (const DialogSample::Control& b : d.controls) {
            if (!b.button) continue;
            out += separator + ButtonWords(b) + (b.enabled ? " enabled" : " disabled");
            separator = ", ";
        }
        out += "\n";
    }
    out += "\nsaved:\n";
    for (const std::string& s : r.saved) out += "  " + s + "\n";
    if (!r.pictures.empty()) {
        out += "pictures:\n";
        for (const std::string& p : r.pictures) out += "  " + p + "\n";
    }
    if (!r.notes.empty()) {
        out += "events:\n";
        for (const std::string& n : r.notes) out += "  " + sim::shown_text(n, n.size()) + "\n";
    }
    return out;
}

}  // namespace app
