// The meshes the craft name, loaded once each from the mesh folder.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "sim/mesh_obj.h"

namespace app {

class MeshLibrary {
public:
    explicit MeshLibrary(std::string folder) : folder_(std::move(folder)) {}
    // The mesh, or null when it cannot be loaded; the reason is kept in problems().
    const sim::Mesh* get(const std::string& name);
    const std::vector<std::string>& problems() const { return problems_; }

private:
    std::string folder_;
    std::map<std::string, sim::Mesh> meshes_;
    std::map<std::string, bool> failed_;
    std::vector<std::string> problems_;
};

}  // namespace app
