// The host interface's free functions (host/oapi.h): the clock, scenario
// lines, and the dialogs, which the host's dialog manager serves on every
// platform.
#include <cstring>

#include "host/oapi.h"
#include "interface/date.h"
#include "interface/host_call.h"
#include "core/host_access.h"
#include "util/number_text.h"
#include "scenario/scenario_block.h"

using sim::Call;
using sim::Serve;

namespace {
// A scenario line's key and value must come back as they went out.
const char* BadKey(const char* item)
{
    if (!item) return "the key is null";
    if (!*item) return "the key is empty";
    if (std::strpbrk(item, " \t\r\n\v\f")) return "the key holds a blank or a line break";
    return nullptr;
}

const char* BadValue(const char* value)
{
    if (!value) return "the value is null";
    if (std::strpbrk(value, "\r\n")) return "the value holds a line break";
    return nullptr;
}

// `scn` as the block the host handed to the callback in progress, to be
// read or to be written; null after a fault when it is not that block.
sim::ScenarioBlock* HandedBlock(const Call& call, FILEHANDLE scn, bool reading)
{
    if (!call.host()) return nullptr;
    const sim::ScenarioHandles& handed = *sim::host_access::scenario_handles();
    sim::ScenarioBlock* block = reading ? handed.read : handed.write;
    if (!block || block != scn) {
        call.fault(reading ? "not the scenario the host handed to clbkReadScenario"
                           : "not the scenario the host handed to clbkWriteScenario");
        return nullptr;
    }
    return block;
}
// The dialog manager, when the module's instance is a loaded module.
sim::DialogManager* ForModule(const Call& call, HINSTANCE instance)
{
    sim::Host* h = call.host();
    if (!h) return nullptr;
    if (!h->module_of(instance)) {
        call.fault("the instance handle is not a loaded module's");
        return nullptr;
    }
    return &h->dialogs();
}

// The dialog manager, when `hwnd` is an open dialog.
sim::DialogManager* ForDialog(const Call& call, HWND hwnd)
{
    sim::Host* h = call.host();
    if (!h) return nullptr;
    if (!h->dialogs().is_open(hwnd)) {
        call.fault("no open dialog has this handle");
        return nullptr;
    }
    return &h->dialogs();
}
}  // namespace

void InitLib(HINSTANCE hModule) noexcept
{
    Serve("InitLib", {double(reinterpret_cast<std::uintptr_t>(hModule))}, [&](const Call& call) {
        if (!hModule) call.fault("the instance handle is null");
    });
}

int Date2Int(const char* date) noexcept
{
    return Serve("Date2Int", {date}, 0, [&](const Call& call) {
        if (!date) {
            call.fault("the date is null");
            return 0;
        }
        if (const sim::Faults* f = sim::host_access::test_faults(); f && f->date2int_returns_zero) return 0;
        return sim::date_to_int(date);
    });
}

double oapiGetSimStep() noexcept
{
    return Serve("oapiGetSimStep", {}, 0.0, [&](const Call& call) {
        sim::Host* h = call.host();
        return h ? h->sim_step() : 0.0;
    });
}

// Not logged: it runs once per line of every block read.
bool oapiReadScenario_nextline(FILEHANDLE scn, char*& line) noexcept
{
    const Call call("oapiReadScenario_nextline", nullptr, {scn});
    try {
        sim::ScenarioBlock* block = HandedBlock(call, scn, true);
        if (block && block->ended()) call.warn("read on after the block's end was reported");
        return block && block->next_line(line);
    } catch (...) {
        call.host_failed();
    }
    return false;
}

void oapiWriteScenario_string(FILEHANDLE scn, const char* item, const char* value) noexcept
{
    Serve("oapiWriteScenario_string", {scn, item, value}, [&](const Call& call) {
        sim::ScenarioBlock* block = HandedBlock(call, scn, false);
        if (!block) return;
        const char* bad = BadKey(item);
        if (!bad) bad = BadValue(value);
        if (bad) return call.fault(bad);
        block->write(item, value);
    });
}

void oapiWriteScenario_float(FILEHANDLE scn, const char* item, double value) noexcept
{
    Serve("oapiWriteScenario_float", {scn, item, value}, [&](const Call& call) {
        sim::ScenarioBlock* block = HandedBlock(call, scn, false);
        if (!block) return;
        if (const char* bad = BadKey(item)) return call.fault(bad);
        block->write(item, sim::number_text(value));
    });
}

HWND oapiOpenDialogEx(HINSTANCE hInst, int resid, DLGPROC proc, DWORD flags, void* context) noexcept
{
    return Serve("oapiOpenDialogEx", {hInst, resid, reinterpret_cast<const void*>(proc), flags, context}, HWND(nullptr),
                 [&](const Call& call) -> HWND {
                     sim::DialogManager* dialogs = ForModule(call, hInst);
                     return dialogs ? dialogs->open(hInst, resid, proc, flags, context) : nullptr;
                 });
}

HWND oapiFindDialog(HINSTANCE hInst, int resid) noexcept
{
    return Serve("oapiFindDialog", {hInst, resid}, HWND(nullptr), [&](const Call& call) -> HWND {
        sim::DialogManager* dialogs = ForModule(call, hInst);
        return dialogs ? dialogs->find(hInst, resid) : nullptr;
    });
}

void oapiCloseDialog(HWND hDlg) noexcept
{
    Serve("oapiCloseDialog", {hDlg}, [&](const Call& call) {
        if (sim::DialogManager* dialogs = ForDialog(call, hDlg)) dialogs->close(hDlg);
    });
}

void* oapiGetDialogContext(HWND hDlg) noexcept
{
    // Not logged: a dialog procedure asks for it on every command.
    const Call call("oapiGetDialogContext", nullptr, {hDlg});
    try {
        sim::DialogManager* dialogs = ForDialog(call, hDlg);
        return dialogs ? dialogs->context(hDlg) : nullptr;
    } catch (...) {
        call.host_failed();
    }
    return nullptr;
}

// What the dialog manager does with a message no procedure handled.
INT_PTR oapiDefDialogProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam) noexcept
{
    return Serve("oapiDefDialogProc", {hDlg, msg, double(wParam), reinterpret_cast<const void*>(lParam)}, INT_PTR(0),
                 [&](const Call& call) -> INT_PTR {
                     if (!ForDialog(call, hDlg)) return 0;
                     return sim::host_access::test_faults()->default_dialog_answer;
                 });
}
