#include "serve/server/page_socket.h"

#include <boost/beast/core/buffers_to_string.hpp>
#include <boost/beast/websocket.hpp>

namespace app {

namespace beast = boost::beast;
namespace websocket = beast::websocket;

namespace {
constexpr double rate_per_second = 50, rate_burst = 100;
constexpr size_t answers_max = 64;  // a page that reads no answers is dropped
// Frames are cut off well above the largest message the parser takes, so
// that a long one still gets its answer.
constexpr size_t frame_max = 4 * 1024;
}  // namespace

PageSocket::PageSocket(beast::tcp_stream&& stream, PageServer& server)
    : ws_(std::move(stream)), server_(server), allowance_(rate_burst), last_message_(std::chrono::steady_clock::now())
{
}

void PageSocket::start(const beast::http::request<beast::http::empty_body>& request)
{
    beast::get_lowest_layer(ws_).expires_never();
    ws_.set_option(websocket::stream_base::timeout::suggested(beast::role_type::server));
    ws_.read_message_max(frame_max);
    auto self = shared_from_this();
    ws_.async_accept(request, [self](beast::error_code ec) {
        if (ec) return;
        self->open_ = true;
        for (const std::string& m : self->server_.handlers().greeting())
            self->send(std::make_shared<const std::string>(m));
        self->Read();
    });
}

bool PageSocket::WithinRate()
{
    const auto now = std::chrono::steady_clock::now();
    allowance_ =
        std::min(rate_burst, allowance_ + rate_per_second * std::chrono::duration<double>(now - last_message_).count());
    last_message_ = now;
    if (allowance_ < 1) return false;
    allowance_ -= 1;
    return true;
}

void PageSocket::Read()
{
    auto self = shared_from_this();
    ws_.async_read(buffer_, [self](beast::error_code ec, size_t) {
        if (ec) {
            self->open_ = false;
            return;
        }
        const std::string text = beast::buffers_to_string(self->buffer_.data());
        self->buffer_.consume(self->buffer_.size());
        std::string answer =
            self->WithinRate()
                ? self->server_.handlers().message(text)
                : R"({"type":"error","error":"too many messages: at most 50 a second; this one was ignored"})";
        self->send(std::make_shared<const std::string>(std::move(answer)));
        self->Read();
    });
}

void PageSocket::send(std::shared_ptr<const std::string> text)
{
    if (!open_) return;
    if (answers_.size() >= answers_max) {
        close();
        return;
    }
    answers_.push_back(std::move(text));
    Write();
}

void PageSocket::send_state(std::shared_ptr<const std::string> text)
{
    if (!open_) return;
    state_ = std::move(text);
    Write();
}

void PageSocket::Write()
{
    if (writing_ || !open_) return;
    std::shared_ptr<const std::string> next;
    if (!answers_.empty()) {
        next = std::move(answers_.front());
        answers_.pop_front();
    } else if (state_) {
        next = std::move(state_);
        state_.reset();
    } else {
        return;
    }
    writing_ = true;
    ws_.text(true);
    auto self = shared_from_this();
    ws_.async_write(boost::asio::buffer(*next), [self, next](beast::error_code ec, size_t) {
        self->writing_ = false;
        if (ec) {
            self->open_ = false;
            return;
        }
        self->Write();
    });
}

void PageSocket::close()
{
    if (!open_) return;
    open_ = false;
    beast::error_code ec;
    beast::get_lowest_layer(ws_).socket().shutdown(boost::asio::ip::tcp::socket::shutdown_both, ec);
    beast::get_lowest_layer(ws_).socket().close(ec);
}

}  // namespace app
