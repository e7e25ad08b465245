// The live page's server: HTTP for the page's files and one WebSocket per
// open page, on 127.0.0.1 only, all on the caller's io_context (one thread:
// the host is only ever called from it). Every request passes AccessCheck;
// refused ones get 403 and nothing else.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>

#include "serve/server/access_check.h"
#include "serve/server/page_files.h"

namespace app {

class PageSocket;

// What the server asks of the program behind it.
struct PageHandlers {
    // The first messages a newly opened page gets.
    std::function<std::vector<std::string>()> greeting;
    // The answer to one message of a page (an error answer for a bad one).
    std::function<std::string(std::string_view message)> message;
};

class PageServer {
public:
    // Listens on 127.0.0.1:`port` (0: any free port); throws boost::system::system_error.
    PageServer(boost::asio::io_context& io, unsigned short port, const PageFiles& files, std::string token,
               PageHandlers handlers);
    ~PageServer();
    PageServer(const PageServer&) = delete;
    PageServer& operator=(const PageServer&) = delete;

    unsigned short port() const { return port_; }
    const AccessCheck& access() const { return access_; }
    // Each open page gets `text` next; a page still busy with an older one
    // gets only the newest.
    void broadcast(std::shared_ptr<const std::string> text);
    size_t pages() const;
    // Stops listening and closes every page's socket.
    void close();

    // For the connections.
    const PageFiles& files() const { return files_; }
    const PageHandlers& handlers() const { return handlers_; }
    void add_page(const std::shared_ptr<PageSocket>& page);

private:
    void Accept();

    boost::asio::ip::tcp::acceptor acceptor_;
    unsigned short port_ = 0;
    AccessCheck access_;
    const PageFiles& files_;  // the caller's, outliving the server
    PageHandlers handlers_;
    std::vector<std::weak_ptr<PageSocket>> pages_;
};

}  // namespace app
