#include "serve/session/live_controller.h"

#include "serve/session/page_message.h"
#include "util/text_lines.h"

namespace app {

namespace {
using nlohmann::json;

// Text from a module (names, captions) may hold bytes that are not UTF-8.
std::string Text(const json& j) { return j.dump(-1, ' ', false, json::error_handler_t::replace); }

std::string Error(const std::string& why) { return Text({{"type", "error"}, {"error", why}}); }

constexpr auto idle_wait = std::chrono::milliseconds(50);
}  // namespace

LiveController::LiveController(LiveSession& session)
    : session_(session), meshes_(session.options().meshes), states_(meshes_)
{
    Anchor(Clock::now());
}

void LiveController::Anchor(Clock::time_point now)
{
    wall_anchor_ = now;
    sim_anchor_ = session_.time();
}

std::vector<std::string> LiveController::greeting()
{
    session_.show_visuals(true);
    session_.animate_for_frame();
    return {Text(scene_message(session_, meshes_)), Text(states_.state(session_, warp_, paused_, true))};
}

std::string LiveController::state() { return Text(states_.state(session_, warp_, paused_, false)); }

std::optional<std::string> LiveController::frame(size_t pages)
{
    session_.show_visuals(pages > 0);
    if (!pages) return std::nullopt;
    session_.animate_for_frame();
    return state();
}

std::string LiveController::handle(std::string_view text)
{
    PageMessage m;
    try {
        m = parse_page_message(text);
    } catch (const PageMessageError& e) {
        return Error(e.what());
    }
    ++changes_;
    json ok{{"type", "ok"}};
    try {
        switch (m.action) {
            case PageAction::key:
            case PageAction::click:
            case PageAction::thrust:
                ok["at"] = session_.act(timeline_entry(m));
                break;
            case PageAction::focus: {
                // Choosing the craft that will have the focus anyway is no action.
                const sim::Craft focus = session_.focus_to_come();
                if (!focus || focus.name() != m.craft) ok["at"] = session_.act(timeline_entry(m));
                break;
            }
            case PageAction::pause:
                paused_ = true;
                break;
            case PageAction::run:
                paused_ = false;
                Anchor(Clock::now());
                break;
            case PageAction::step:
                if (!paused_) return Error("Step works while the run is paused");
                session_.step();
                break;
            case PageAction::warp:
                warp_ = m.warp;
                Anchor(Clock::now());
                break;
            case PageAction::save:
                ok["saved"] = session_.save_copy();
                break;
            case PageAction::quit:
                session_.request_end();
                // The end lands on a step end, as the replay's does.
                if (!session_.ended()) session_.step();
                break;
        }
    } catch (const TimelineError& e) {
        return Error(e.what());
    } catch (const std::runtime_error& e) {  // a save that could not be written, a module fault in it
        return Error(e.what());
    }
    return Text(ok);
}

void LiveController::pause() { paused_ = true; }

LiveController::Clock::time_point LiveController::advance(Clock::time_point now, int max_steps)
{
    if (paused_ || session_.ended() || !session_.stopped().empty()) {
        Anchor(now);
        return now + idle_wait;
    }
    for (int i = 0; i < max_steps; ++i) {
        const double ahead = (session_.time() + session_.next_step() - sim_anchor_) / warp_;
        const auto due =
            wall_anchor_ + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(ahead));
        if (due > now) return due;
        session_.step();
        if (session_.ended() || !session_.stopped().empty()) return now;
    }
    // Behind: the steps take longer than the wall clock gives them. Carry
    // on from here rather than racing to catch up.
    Anchor(now);
    return now;
}

}  // namespace app
