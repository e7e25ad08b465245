// The SVG pictures of a run. Each throws std::runtime_error when its file
// cannot be written.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "pictures/bitmap.h"
#include "files/mesh_library.h"
#include "pictures/telemetry_plot.h"
#include "sim/dialogs.h"
#include "sim/host.h"
#include "telemetry/sample.h"

namespace app {

// The craft seen from above, one panel each in rows of top_view_columns, at
// the host's current state. Past top_view_max_craft craft, the first that
// many are drawn and a note says how many there are.
constexpr size_t top_view_columns = 5;
constexpr size_t top_view_max_craft = 20;
void draw_top_view(const std::string& path, sim::Host& host, MeshLibrary& meshes, double t);

// One craft with every animation at each of several states, side by side.
void draw_deployment_strip(const std::string& path, sim::Craft craft, MeshLibrary& meshes,
                           const std::vector<double>& states);

// First animation state, propellant, speed and angular rates over time.
void draw_telemetry(const std::string& path, const TelemetryPlot& plot);


// An open dialog with the bitmaps its pictures show, by the picture's text
// ("#107", the bitmap's resource number).
struct DialogPicture {
    const sim::Dialog* dialog = nullptr;
    std::string module;  // the class of the module whose dialog it is
    std::map<std::string, Bitmap> bitmaps;
};

// The dialog and the bitmaps it shows, taken from its module's resources.
// A bitmap that cannot be used adds a line to `problems`; it is drawn as missing.
DialogPicture dialog_picture(const sim::Host& host, const sim::Dialog& dialog, std::vector<std::string>& problems);

// Every dialog as its template lays it out, in dialog units, one below the
// other, the first with its top left corner at (dialogs_margin, dialogs_margin).
void draw_dialogs(const std::string& path, const std::vector<DialogPicture>& dialogs);
std::string dialogs_svg(const std::vector<DialogPicture>& dialogs);
constexpr double dialogs_margin = 30;

// Where a dialog drawn alone by dialogs_svg shows each of its buttons and
// its close box, in the picture's units: what a click on the picture hits.
struct ControlBox {
    std::string button;  // as a click names it: the control id in decimal, or "close"
    std::string text;
    bool enabled = true;
    double x = 0, y = 0, w = 0, h = 0;
};
std::vector<ControlBox> dialog_boxes(const DialogPicture& picture);

}  // namespace app
