#include "serve/serve.h"

#include <cstdio>
#include <functional>

#include <boost/asio/steady_timer.hpp>

#include "flight/output_paths.h"
#include "flight/stop_request.h"
#include "serve/server/page_server.h"
#include "serve/session/live_controller.h"
#include "util/number_text.h"
#include "util/text_lines.h"

namespace app {

namespace {
constexpr auto frame_interval = std::chrono::milliseconds(33);
constexpr int steps_per_turn = 200;  // then the sockets get their turn
}  // namespace

int serve(const Options& o, const std::string& page_folder)
{
    const PageFiles files(page_folder);
    LiveSession session(o);
    LiveController controller(session);
    boost::asio::io_context io;
    PageServer server(
        io, o.port, files, make_token(),
        {[&] { return controller.greeting(); }, [&](std::string_view m) { return controller.handle(m); }});
    std::printf("Open http://127.0.0.1:%u/?token=%s\n", unsigned(server.port()), server.access().token().c_str());
    std::fflush(stdout);

    const StopRequest stop;
    boost::asio::steady_timer step_timer(io), frame_timer(io), end_timer(io);
    bool saved_after_stop = false;
    int signal = 0;

    auto finish_if_done = [&] {
        if (!session.stopped().empty() && !saved_after_stop) {
            // As a batch run does at a fault: the state reached is saved at once.
            saved_after_stop = true;
            session.finish();
            std::fprintf(stderr, "simhost-run: %s\n", sim::terminal_text(session.stopped()).c_str());
        }
        if (!session.ended()) return false;
        session.finish();
        server.broadcast(std::make_shared<const std::string>(controller.state()));
        step_timer.cancel();
        frame_timer.cancel();
        // Gives the last state a moment on its way, then closes everything.
        end_timer.expires_after(std::chrono::milliseconds(200));
        end_timer.async_wait([&](boost::system::error_code) {
            server.close();
            io.stop();
        });
        return true;
    };

    size_t notes_shown = 0;
    std::function<void()> on_step = [&] {
        const auto next = controller.advance(std::chrono::steady_clock::now(), steps_per_turn);
        for (const std::string& w : session.take_warnings())
            std::fprintf(stderr, "simhost-run: warning: %s\n", sim::terminal_text(w).c_str());
        if (finish_if_done()) return;
        // What an action did is shown at once, not at the next frame.
        if (session.notes().size() != notes_shown && server.pages()) {
            notes_shown = session.notes().size();
            if (auto state = controller.frame(server.pages()))
                server.broadcast(std::make_shared<const std::string>(std::move(*state)));
        }
        step_timer.expires_at(next);
        step_timer.async_wait([&](boost::system::error_code ec) {
            if (!ec) on_step();
        });
    };
    std::function<void()> on_frame = [&] {
        if (stop.signal() && !signal) {
            signal = stop.signal();
            controller.pause();
            session.request_end();
            if (!session.ended()) session.step();
        }
        if (finish_if_done()) return;
        if (auto state = controller.frame(server.pages()))
            server.broadcast(std::make_shared<const std::string>(std::move(*state)));
        frame_timer.expires_after(frame_interval);
        frame_timer.async_wait([&](boost::system::error_code ec) {
            if (!ec) on_frame();
        });
    };
    on_step();
    on_frame();
    io.run();

    const std::string ended = "simhost-run: ended at t = " + sim::number_text(session.time()) + " s after " +
                              std::to_string(session.steps()) + " steps; saved " + final_save_path(o) + " and " +
                              session.timeline_path() + "\nreplay: " + session.replay_command() + "\n";
    std::fputs(sim::terminal_text(ended).c_str(), stdout);
    if (signal) return 130;
    return session.stopped().empty() ? 0 : 1;
}

}  // namespace app
