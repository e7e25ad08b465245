#include "flight/output_paths.h"

#include <cctype>
#include <filesystem>

#include "files/same_file.h"
#include "sim/module_resources.h"
#include "util/number_text.h"

namespace app {

namespace fs = std::filesystem;

const char* const end_pictures[4] = {"top_view.svg", "deployment.svg", "telemetry.svg", "dialog.svg"};

namespace {
// A file the pictures could read as a mesh: a .obj file anywhere below the
// mesh folder.
bool MeshFile(const std::string& path, const std::string& meshes)
{
    std::string ext = fs::path(path).extension().string();
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (meshes.empty() || ext != ".obj") return false;
    std::string folder = file_identity(meshes);
    if (folder.back() != '/') folder += '/';
    const std::string file = file_identity(path);
    return file.compare(0, folder.size(), folder) == 0;
}
}  // namespace

std::string output_path(const Options& o, const std::string& file)
{
    return fs::path(file).is_absolute() ? file : (fs::path(o.out_dir) / file).string();
}

std::string final_save_path(const Options& o) { return o.save.empty() ? output_path(o, "final.scn") : o.save; }

std::string picture_path(const Options& o, const Action& a)
{
    return output_path(o, (a.name.empty() ? "top_view_t" + sim::number_text(a.time) : a.name) + ".svg");
}

std::vector<PlannedOutput> planned_outputs(const Options& o)
{
    std::vector<PlannedOutput> out{{final_save_path(o), o.save.empty() ? "the scenario saved at the end" : "--save"}};
    if (!o.json.empty()) out.push_back({o.json, "--json"});
    for (const Action& a : o.actions) {
        if (a.kind == ActionKind::save) out.push_back({output_path(o, a.name), a.source() + " " + a.text});
        if (a.kind == ActionKind::picture) out.push_back({picture_path(o, a), a.source() + " " + a.text});
    }
    if (o.pictures)
        for (const char* p : end_pictures) out.push_back({output_path(o, p), std::string("the picture ") + p});
    return out;
}

void check_output_paths(const Options& o)
{
    const std::vector<PlannedOutput> outputs = planned_outputs(o);
    std::vector<PlannedOutput> inputs{{o.scenario, "the scenario"}, {o.module, "the module"}};
    if (!o.module.empty()) inputs.push_back({sim::module_resource_file(o.module), "the module's resources"});
    for (const std::string& t : o.timelines) inputs.push_back({t, "the timeline"});
    for (size_t i = 0; i < outputs.size(); ++i) {
        for (const PlannedOutput& in : inputs)
            if (!in.path.empty() && same_file(outputs[i].path, in.path))
                throw UsageError(outputs[i].what + " would write " + outputs[i].path + ", which is " + in.what +
                                 " it reads (" + in.path + ")");
        // A file there could be taken for a module by this run or the next.
        if (!o.modules.empty() && same_file(fs::path(file_identity(outputs[i].path)).parent_path().string(), o.modules))
            throw UsageError(outputs[i].what + " would write " + outputs[i].path + " into the modules folder " +
                             o.modules);
        if (MeshFile(outputs[i].path, o.meshes))
            throw UsageError(outputs[i].what + " would write " + outputs[i].path + ", a mesh file in the mesh folder " +
                             o.meshes);
        for (size_t j = 0; j < i; ++j)
            if (same_file(outputs[i].path, outputs[j].path))
                throw UsageError(outputs[j].what + " and " + outputs[i].what + " would both write " + outputs[i].path);
    }
}

std::string outputs_note(const std::vector<std::string>& written, const std::vector<std::string>& not_written)
{
    auto list = [](const std::vector<std::string>& paths) {
        std::string s;
        for (const std::string& p : paths) s += (s.empty() ? "" : ", ") + p;
        return s;
    };
    std::string note;
    if (!written.empty()) note += "; written: " + list(written);
    if (!not_written.empty()) note += "; not written: " + list(not_written);
    return note;
}

}  // namespace app
