// What the page draws, as JSON: the scene once per page (each craft's meshes
// as the host read them, its exhausts and thruster groups) and the state
// many times a second (clock, bodies, group poses the host computed,
// thruster levels, beacons as the last step left them, open dialogs).
// The page draws what it is told; no module's logic lives in it.
#pragma once

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "files/mesh_library.h"
#include "serve/session/live_session.h"

namespace app {

nlohmann::json scene_message(LiveSession& session, MeshLibrary& meshes);

// Open dialogs are drawn again only when one opens, closes or changes a
// control's state; the message carries them when `full` or when they
// changed since the last message.
class StateMessages {
public:
    explicit StateMessages(MeshLibrary& meshes) : meshes_(meshes) {}
    nlohmann::json state(LiveSession& session, double warp, bool paused, bool full);

private:
    void RefreshDialogs(LiveSession& session);

    MeshLibrary& meshes_;
    std::string signature_;  // what the dialogs were drawn from
    nlohmann::json dialogs_ = nlohmann::json::array();
    int revision_ = 0, sent_revision_ = 0;
};

}  // namespace app
