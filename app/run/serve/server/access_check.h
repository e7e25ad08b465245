// Who may talk to a live session: only a page on this machine that was given
// the session's token. A request must carry the token (in its query or in
// the cookie the page got with it), name this server as 127.0.0.1 or
// localhost with its port in its Host header (so a name rebound to this
// address by another site's DNS is refused), and a WebSocket must come
// from a page of this server's own origin (no other site's page drives it).
#pragma once

#include <string>
#include <string_view>

namespace app {

// 32 hex digits from the system's random source.
std::string make_token();

// The cookie that carries the token to the page's later requests.
constexpr const char* token_cookie = "simhost_token";

class AccessCheck {
public:
    AccessCheck(std::string token, unsigned short port) : token_(std::move(token)), port_(port) {}

    const std::string& token() const { return token_; }
    // The request's target ("/app.js?token=...") or its Cookie header carries the token.
    bool has_token(std::string_view target, std::string_view cookie) const;
    // The Host header names this server on the loopback address.
    bool host_allowed(std::string_view host) const;
    // The Origin header is this server's own; `required` refuses a request without one.
    bool origin_allowed(std::string_view origin, bool required) const;

private:
    bool Matches(std::string_view candidate) const;

    std::string token_;
    unsigned short port_;
};

// The path of a request target, without its query.
std::string_view target_path(std::string_view target);

}  // namespace app
