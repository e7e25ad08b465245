// A craft drawn as seen from above (+y): its mesh with every group where
// the animations put it now, and its beacons lit or dark. x runs to the
// right and z (forward) up the page.
#pragma once

#include <vector>

#include "files/mesh_library.h"
#include "sim/beacons.h"
#include "sim/craft.h"
#include "svg/plot.h"

namespace app {

// The craft's x-z extent over all its meshes as modelled, with its beacons.
void craft_extent(sim::Craft craft, MeshLibrary& meshes, double& x0, double& x1, double& z0, double& z1);

// With the animations at `states` (one per animation) when given, else as
// they are now. Returns false when no mesh of the craft could be drawn.
bool draw_craft_top(svg::Document& doc, const svg::Axes& view, sim::Craft craft,
                    const std::vector<sim::BeaconView>& beacons, MeshLibrary& meshes,
                    const std::vector<double>* states = nullptr);

// Legend rows for what draw_craft_top draws.
std::vector<svg::Series> craft_legend();

}  // namespace app
