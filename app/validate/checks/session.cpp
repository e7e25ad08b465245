#include "session.h"

#include "guard.h"
#include "telemetry.h"

namespace validate {

Session::Session(const CheckContext& ctx_, sim::CallLogging logging) : ctx(ctx_), host(logging), random(ctx_.seed)
{
    if (logging == sim::CallLogging::on) require_call_log(host);
}

bool Session::open(Findings& f, bool probing)
{
    if (!attempt(f, "loading", [&] { module = &host.load_module(ctx.module); })) return false;
    return !probing || attempt(f, "probing keys", [&] { probe = probe_module(host, *module); });
}

}  // namespace validate
