// The host interface's free functions.
#include <cstdio>

#include "interface/date.h"
#include "sim/host.h"
#include "host/oapi.h"
#include "sim/scenario_block.h"

namespace {
sim::ScenarioBlock& Block(FILEHANDLE scn) { return *static_cast<sim::ScenarioBlock*>(scn); }
}  // namespace

void InitLib(HINSTANCE hModule)
{
    sim::log_call(nullptr, "InitLib", {double(reinterpret_cast<std::uintptr_t>(hModule))});
}

int Date2Int(const char* date)
{
    sim::log_call(nullptr, "Date2Int", {}, date ? date : "");
    sim::Host* h = sim::Host::current_or_null();
    if (h && h->faults().date2int_returns_zero) return 0;
    return sim::date_to_int(date);
}

double oapiGetSimStep()
{
    sim::log_call(nullptr, "oapiGetSimStep");
    return sim::Host::current().sim_step();
}

bool oapiReadScenario_nextline(FILEHANDLE scn, char*& line)
{
    return Block(scn).next_line(line);
}

void oapiWriteScenario_string(FILEHANDLE scn, const char* item, const char* value)
{
    sim::log_call(nullptr, "oapiWriteScenario_string", {}, std::string(item) + "|" + value);
    Block(scn).write(item, value);
}

void oapiWriteScenario_float(FILEHANDLE scn, const char* item, double value)
{
    sim::log_call(nullptr, "oapiWriteScenario_float", {value}, item);
    // Enough digits that a 32-bit state comes back unchanged.
    char text[64];
    std::snprintf(text, sizeof text, "%.9g", value);
    Block(scn).write(item, text);
}
