// One open page's WebSocket: reads its messages, bounded in size and rate,
// and writes the answers and the newest state to it in order.
#pragma once

#include <chrono>
#include <deque>
#include <memory>
#include <string>

#include <boost/beast/core/flat_buffer.hpp>
#include <boost/beast/core/tcp_stream.hpp>
#include <boost/beast/http/empty_body.hpp>
#include <boost/beast/http/message.hpp>
#include <boost/beast/websocket/stream.hpp>

#include "serve/server/page_server.h"

namespace app {

class PageSocket : public std::enable_shared_from_this<PageSocket> {
public:
    // `server` outlives every socket it accepted (it closes them first).
    PageSocket(boost::beast::tcp_stream&& stream, PageServer& server);
    // Completes the handshake the request began, then greets the page.
    void start(const boost::beast::http::request<boost::beast::http::empty_body>& request);
    void send(std::shared_ptr<const std::string> text);
    void send_state(std::shared_ptr<const std::string> text);
    void close();

private:
    void Read();
    void Write();
    bool WithinRate();

    boost::beast::websocket::stream<boost::beast::tcp_stream> ws_;
    PageServer& server_;
    boost::beast::flat_buffer buffer_;
    std::deque<std::shared_ptr<const std::string>> answers_;
    std::shared_ptr<const std::string> state_;  // the newest, not yet sent
    bool writing_ = false, open_ = false;
    // A bucket of messages: refilled at rate_per_second, holding at most rate_burst.
    double allowance_;
    std::chrono::steady_clock::time_point last_message_;
};

}  // namespace app
