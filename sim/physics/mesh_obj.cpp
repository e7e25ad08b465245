#include "sim/mesh_obj.h"

#include <cerrno>
#include <cmath>
#include <cstring>
#include <sstream>

#include "util/input_file.h"
#include "util/text_lines.h"

namespace sim {

namespace {
[[noreturn]] void Fail(const std::string& file, int line_no, const std::string& why, const std::string& text)
{
    throw MeshError(file + ":" + std::to_string(line_no) + ": " + why + ": " + shown_text(text));
}

// One face corner, "7", "7/2", "7//3" or "-1": the vertex index from 0.
bool CornerIndex(const std::string& word, size_t vertex_count, size_t& out)
{
    const std::string head = word.substr(0, word.find('/'));
    if (head.empty()) return false;
    char* end = nullptr;
    errno = 0;
    const long n = std::strtol(head.c_str(), &end, 10);
    if (errno == ERANGE || *end != '\0' || n == 0) return false;
    const long index = n > 0 ? n - 1 : static_cast<long>(vertex_count) + n;
    if (index < 0 || static_cast<size_t>(index) >= vertex_count) return false;
    out = static_cast<size_t>(index);
    return true;
}
}  // namespace

Mesh parse_obj(const std::string& text, const std::string& file)
{
    Mesh mesh;
    int line_no = 0;
    for_each_line(text, [&](const std::string& raw) {
        ++line_no;
        std::istringstream words(raw);
        std::string key;
        if (!(words >> key) || key[0] == '#') return;
        if (key == "v") {
            double c[3];
            if (!(words >> c[0] >> c[1] >> c[2]) || !std::isfinite(c[0]) || !std::isfinite(c[1]) ||
                !std::isfinite(c[2]))
                Fail(file, line_no, "expected three finite coordinates", raw);
            mesh.vertices.push_back({c[0], c[1], c[2]});
        } else if (key == "f") {
            std::vector<size_t> face;
            std::string corner;
            while (words >> corner) {
                size_t index = 0;
                if (!CornerIndex(corner, mesh.vertices.size(), index)) Fail(file, line_no, "no such vertex", raw);
                face.push_back(index);
            }
            if (face.size() < 3) Fail(file, line_no, "a face needs three corners", raw);
            if (mesh.groups.empty()) mesh.groups.push_back({"default", {}});
            mesh.groups.back().faces.push_back(std::move(face));
        } else if (key == "g" || key == "o") {
            std::string name;
            std::getline(words >> std::ws, name);
            mesh.groups.push_back({name, {}});
        } else if (key != "vn" && key != "vt" && key != "s" && key != "usemtl" && key != "mtllib") {
            Fail(file, line_no, "unknown statement", raw);
        }
    });
    return mesh;
}

Mesh load_obj(const std::string& path)
{
    try {
        return parse_obj(read_input_file(path), path);
    } catch (const InputError& e) {
        throw MeshError(e.what());
    }
}

std::string mesh_path(const std::string& folder, const std::string& name)
{
    std::string rel = name;
    for (char& c : rel)
        if (c == '\\') c = '/';
    return (folder.empty() ? std::string(".") : folder) + "/" + rel + ".obj";
}

}  // namespace sim
