// A vessel module that makes one bad call into the host on its first step,
// the one its scenario line "FAULT <what>" names (or never returns from it),
// or leaves the host something to tidy when it unloads, or crashes
// ("FAULT crash segv"). The host's boundary
// tests load it to watch each fault come back as a report, not as a crash.
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>

#include "oapi.h"
#include "vessel.h"

namespace {
HINSTANCE instance = nullptr;
bool call_while_unloading = false;

// Asks the host something from a static destructor, when told to.
struct Farewell {
    ~Farewell()
    {
        if (call_while_unloading) oapiGetSimStep();
    }
} farewell;

INT_PTR CALLBACK DialogProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return oapiDefDialogProc(hDlg, msg, wParam, lParam);
}

// Each way a module's code can end the process by a fault.
[[gnu::noinline]] int Deeper(volatile int depth)
{
    volatile char frame[256];
    frame[0] = static_cast<char>(depth);
    if (depth < 0) return 0;
    return Deeper(depth + 1) + frame[0];
}

__attribute__((no_sanitize("undefined"))) void Crash(const std::string& how)
{
    if (how == "segv") *static_cast<volatile int*>(nullptr) = 1;
    if (how == "ill") __builtin_trap();
    if (how == "fpe") {
        volatile int one = 1, zero = 0;
        std::printf("%d\n", one / zero);
    }
    if (how == "overflow") std::printf("%d\n", Deeper(0));
    if (how == "bus") std::raise(SIGBUS);
    if (how == "abort") std::abort();
}

// Closes its own dialog again as it is being closed.
INT_PTR CALLBACK ClosingDialogProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_DESTROY) oapiCloseDialog(hDlg);
    return oapiDefDialogProc(hDlg, msg, wParam, lParam);
}

// A VESSEL made up by the module around a handle the host never gave.
struct Stranger : VESSEL {
    Stranger() : VESSEL(reinterpret_cast<OBJHANDLE>(0x10)) {}
};

class Faulty final : public VESSEL2 {
public:
    using VESSEL2::VESSEL2;

    void clbkReadScenario(FILEHANDLE scn, void* status) override
    {
        char* line;
        while (oapiReadScenario_nextline(scn, line)) {
            if (std::strncmp(line, "FAULT ", 6) == 0) fault = line + 6;
            else ParseScenarioLineEx(line, status);
        }
        if (fault == "past-end") oapiReadScenario_nextline(scn, line);
    }

    void clbkPreStep(double, double, double) override
    {
        if (fault == "hang") {
            // A callback that never returns, after saying so for whoever waits for it.
            std::fputs("hanging\n", stderr);
            std::fflush(stderr);
            for (volatile bool forever = true; forever;) {
            }
        }
        const std::string what = fault;
        fault.clear();
        if (what == "animation") {
            SetAnimation(7, 0.5);
        } else if (what == "nan") {
            SetAnimation(CreateAnimation(0), std::nan(""));
        } else if (what == "nan-component") {
            // The host owns the transform all the same, and frees it with the craft.
            static UINT group = 0;
            AddAnimationComponent(CreateAnimation(0), std::nan(""), 1,
                                  new MGROUP_ROTATE(0, &group, 1, _V(0, 0, 0), _V(1, 0, 0), 1.0f));
        } else if (what == "infinite-vector") {
            SetPMI(_V(1, HUGE_VAL, 1));
        } else if (what == "null-text") {
            AddMesh(nullptr);
        } else if (what == "group") {
            THRUSTER_HANDLE th = this;
            CreateThrusterGroup(&th, 1, THGROUP_MAIN);
        } else if (what == "window") {
            EnableWindow(reinterpret_cast<HWND>(0x5), TRUE);
        } else if (what == "scenario") {
            char* line;
            oapiReadScenario_nextline(this, line);
        } else if (what == "vessel") {
            Stranger().SetSize(1);
        } else if (what == "empty-group") {
            CreateThrusterGroup(nullptr, 0, THGROUP_MAIN);
        } else if (what == "unload-call") {
            call_while_unloading = true;
        } else if (what == "open-dialog") {
            // A dialog of the whole module, never closed: it goes with the module.
            oapiOpenDialogEx(instance, 1, DialogProc, 0, nullptr);
        } else if (what == "close-in-destroy") {
            oapiOpenDialogEx(instance, 1, ClosingDialogProc, 0, nullptr);
        } else if (what == "craft-dialog") {
            // Holds the craft as its context, and is left open when the craft goes.
            oapiOpenDialogEx(instance, 1, DialogProc, 0, this);
        } else if (what == "transform-twice") {
            const UINT anim = CreateAnimation(0);
            static UINT groups[] = {0};
            auto* turn = new MGROUP_ROTATE(0, groups, 1, _V(0, 0, 0), _V(0, 0, 1), 1.0f);
            AddAnimationComponent(anim, 0, 1, turn);
            AddAnimationComponent(anim, 0, 1, turn);
        } else if (what == "throw") {
            throw std::runtime_error("thrown by the module");
        } else if (what.rfind("throw ", 0) == 0) {
            throw std::runtime_error("cannot use \"" + what.substr(6) + "\"");
        } else if (what.rfind("crash ", 0) == 0) {
            Crash(what.substr(6));
        }
    }

private:
    std::string fault;
};
}  // namespace

DLLCLBK void InitModule(HINSTANCE hModule) { instance = hModule; }
DLLCLBK VESSEL* ovcInit(OBJHANDLE hVessel, int flightmodel) { return new Faulty(hVessel, flightmodel); }
DLLCLBK void ovcExit(VESSEL* vessel) { delete static_cast<Faulty*>(vessel); }
DLLCLBK const char* ModuleDate() { return "Jan  1 2020"; }
DLLCLBK int GetModuleVersion() { return 1; }
