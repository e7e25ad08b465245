// Wavefront OBJ meshes as the stand-in host loads them for a craft: the
// vertices and the faces of each group, groups numbered in file order.
// Only geometry is kept; normals, texture coordinates and materials are
// skipped.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "host/host_types.h"

namespace sim {

// A mesh that cannot be read. what() is "file:line: reason: text", or
// "file: reason" for the file as a whole.
struct MeshError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct MeshGroup {
    std::string name;
    std::vector<std::vector<size_t>> faces;  // indices into Mesh::vertices, from 0
};

struct Mesh {
    std::vector<VECTOR3> vertices;
    std::vector<MeshGroup> groups;
};

// Each "g" or "o" line starts a group; faces before the first go to a group
// named "default". `file` names the text in messages.
Mesh parse_obj(const std::string& text, const std::string& file);
Mesh load_obj(const std::string& path);

// Where the mesh a module names (e.g. "Maker/Ship", either slash) lies
// under `folder`: folder/Maker/Ship.obj.
std::string mesh_path(const std::string& folder, const std::string& name);

}  // namespace sim
