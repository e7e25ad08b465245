#include "serve/server/page_server.h"

#include <algorithm>
#include <optional>

#include <boost/asio/ip/address_v4.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <boost/beast/websocket.hpp>

#include "serve/server/page_socket.h"

namespace app {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
using tcp = asio::ip::tcp;

namespace {
constexpr std::uint32_t header_limit = 8 * 1024;
constexpr auto idle_limit = std::chrono::seconds(30);

// One HTTP connection: answers its requests one after another until it
// turns into a page's WebSocket or closes.
class Connection : public std::enable_shared_from_this<Connection> {
public:
    Connection(tcp::socket socket, PageServer& server) : stream_(std::move(socket)), server_(server) {}

    void Read()
    {
        parser_.emplace();
        parser_->header_limit(header_limit);
        parser_->body_limit(0);  // the page sends no bodies
        stream_.expires_after(idle_limit);
        auto self = shared_from_this();
        http::async_read(stream_, buffer_, *parser_, [self](beast::error_code ec, size_t) {
            if (ec == http::error::end_of_stream) return self->Close();
            if (ec) return self->Answer(http::status::bad_request, "text/plain", "bad request\n", false);
            self->Handle(self->parser_->release());
        });
    }

private:
    using Request = http::request<http::empty_body>;

    void Handle(Request request)
    {
        const AccessCheck& access = server_.access();
        const std::string target(request.target());
        auto field = [&](http::field f) {
            const auto v = request[f];
            return std::string_view(v.data(), v.size());
        };
        const bool upgrade = beast::websocket::is_upgrade(request);
        // Any request from another site's page is refused, not only those that change state.
        if (!access.host_allowed(field(http::field::host)) || !access.has_token(target, field(http::field::cookie)) ||
            !access.origin_allowed(field(http::field::origin), upgrade))
            return Answer(http::status::forbidden, "text/plain", "forbidden\n", false);
        const std::string path(target_path(target));
        if (upgrade) {
            if (path != "/live") return Answer(http::status::not_found, "text/plain", "not found\n", false);
            auto page = std::make_shared<PageSocket>(std::move(stream_), server_);
            server_.add_page(page);
            page->start(request);
            return;
        }
        if (request.method() != http::verb::get && request.method() != http::verb::head)
            return Answer(http::status::method_not_allowed, "text/plain", "only GET\n", request.keep_alive());
        const PageFile* file = server_.files().find(path);
        if (!file) return Answer(http::status::not_found, "text/plain", "not found\n", request.keep_alive());
        const bool index = path == "/" || path == "/index.html";
        Answer(http::status::ok, file->type, index ? server_.files().index(access.token()) : file->body,
               request.keep_alive(), index, request.method() == http::verb::head);
    }

    void Answer(http::status status, const std::string& type, std::string body, bool keep_alive,
                bool set_cookie = false, bool head = false)
    {
        auto response = std::make_shared<http::response<http::string_body>>(status, 11);
        response->set(http::field::server, "simhost-run");
        response->set(http::field::content_type, type);
        response->set(http::field::cache_control, "no-store");
        response->set("X-Content-Type-Options", "nosniff");
        response->set("X-Frame-Options", "DENY");
        response->set("Referrer-Policy", "no-referrer");
        if (set_cookie)
            response->set(http::field::set_cookie, std::string(token_cookie) + "=" + server_.access().token() +
                                                       "; Path=/; HttpOnly; SameSite=Strict");
        response->keep_alive(keep_alive);
        const size_t size = body.size();
        if (!head) response->body() = std::move(body);
        response->content_length(size);
        auto self = shared_from_this();
        http::async_write(stream_, *response, [self, response](beast::error_code ec, size_t) {
            if (ec || !response->keep_alive()) return self->Close();
            self->Read();
        });
    }

    void Close()
    {
        beast::error_code ec;
        stream_.socket().shutdown(tcp::socket::shutdown_send, ec);
    }

    beast::tcp_stream stream_;
    PageServer& server_;
    beast::flat_buffer buffer_;
    std::optional<http::request_parser<http::empty_body>> parser_;
};
}  // namespace

PageServer::PageServer(asio::io_context& io, unsigned short port, const PageFiles& files, std::string token,
                       PageHandlers handlers)
    : acceptor_(io), access_(std::move(token), 0), files_(files), handlers_(std::move(handlers))
{
    const tcp::endpoint at(asio::ip::address_v4::loopback(), port);
    acceptor_.open(at.protocol());
    acceptor_.set_option(asio::socket_base::reuse_address(true));
    acceptor_.bind(at);
    acceptor_.listen();
    port_ = acceptor_.local_endpoint().port();
    access_ = AccessCheck(access_.token(), port_);
    Accept();
}

PageServer::~PageServer() { close(); }

void PageServer::Accept()
{
    acceptor_.async_accept([this](beast::error_code ec, tcp::socket socket) {
        if (ec == asio::error::operation_aborted) return;
        if (!ec) {
            // Small messages go out at once, not held back to be joined with later ones.
            beast::error_code ignored;
            socket.set_option(tcp::no_delay(true), ignored);
            std::make_shared<Connection>(std::move(socket), *this)->Read();
        }
        if (acceptor_.is_open()) Accept();
    });
}

void PageServer::add_page(const std::shared_ptr<PageSocket>& page)
{
    pages_.erase(std::remove_if(pages_.begin(), pages_.end(), [](const auto& p) { return p.expired(); }), pages_.end());
    pages_.push_back(page);
}

size_t PageServer::pages() const
{
    return std::count_if(pages_.begin(), pages_.end(), [](const auto& p) { return !p.expired(); });
}

void PageServer::broadcast(std::shared_ptr<const std::string> text)
{
    for (const auto& weak : pages_)
        if (auto page = weak.lock()) page->send_state(text);
}

void PageServer::close()
{
    beast::error_code ec;
    acceptor_.close(ec);
    for (const auto& weak : pages_)
        if (auto page = weak.lock()) page->close();
    pages_.clear();
}

}  // namespace app
