#include "files/mesh_library.h"

namespace app {

const sim::Mesh* MeshLibrary::get(const std::string& name)
{
    auto m = meshes_.find(name);
    if (m != meshes_.end()) return &m->second;
    if (failed_.count(name)) return nullptr;
    try {
        return &meshes_.emplace(name, sim::load_obj(sim::mesh_path(folder_, name))).first->second;
    } catch (const sim::MeshError& e) {
        failed_[name] = true;
        problems_.push_back(std::string("mesh \"") + name + "\" not drawn: " + e.what());
        return nullptr;
    }
}

}  // namespace app
