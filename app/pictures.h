// The SVG pictures of a run. Each throws std::runtime_error when its file
// cannot be written.
#pragma once

#include <string>
#include <vector>

#include "bitmap.h"
#include "sim/dialogs.h"
#include "sim/host.h"
#include "mesh_library.h"
#include "telemetry.h"
#include "telemetry_plot.h"

namespace app {

// The craft seen from above, one panel each in rows of top_view_columns, at
// the host's current state. Past top_view_max_craft craft, the first that
// many are drawn and a note says how many there are.
constexpr size_t top_view_columns = 5;
constexpr size_t top_view_max_craft = 20;
void draw_top_view(const std::string& path, sim::Host& host, MeshLibrary& meshes, double t);

// One craft at several array states, side by side. The craft's animations
// are moved for the drawing and put back before returning.
void draw_deployment_strip(const std::string& path, sim::VesselRecord& craft, MeshLibrary& meshes,
                           const std::vector<double>& states);

// Array state, propellant, speed and angular rates over time.
void draw_telemetry(const std::string& path, const TelemetryPlot& plot);

// The dialog from its template, in dialog units; `picture` fills a bitmap
// static when given.
void draw_dialog(const std::string& path, const sim::Dialog& dialog, const Bitmap* picture);

}  // namespace app
