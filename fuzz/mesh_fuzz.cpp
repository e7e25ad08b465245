// The Wavefront OBJ reader: any text gives a mesh whose faces name existing
// vertices, or a readable refusal.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz_checks.h"
#include "sim/mesh_obj.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    try {
        const sim::Mesh mesh = sim::parse_obj(std::string(reinterpret_cast<const char*>(data), size), "fuzz.obj");
        for (const sim::MeshGroup& g : mesh.groups)
            for (const auto& face : g.faces)
                for (std::size_t v : face)
                    if (v >= mesh.vertices.size()) std::abort();
    } catch (const sim::MeshError& e) {
        fuzz::check_message(e.what());
    }
    return 0;
}
