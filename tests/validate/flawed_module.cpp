// A small vessel module for the validator's own tests: a tank with one
// engine, a key that opens a dialog, and one scenario line of its own, which
// it applies in clbkPostCreation. Built
// as it is, it passes every check; each FLAW_ definition builds it with one
// fault that a check exists to catch, except FLAW_FAULTLESS_ ones: sound but
// unusual ways of doing the same, which must pass too.
#include <chrono>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

#if defined(FLAW_UNLOAD)
#include <dlfcn.h>
#endif
#if defined(FLAW_SLOW)
#include <time.h>
#endif
#if defined(FLAW_EXIT) || defined(FLAW_CLOSE_FDS) || defined(FLAW_FORK)
#include <unistd.h>
#endif
#if defined(FLAW_FORK) || defined(FLAW_THREAD)
#include <sys/prctl.h>
#endif
#if defined(FLAW_THREAD)
#include <thread>
#endif
#if defined(FLAW_FAKE_END) || defined(FLAW_CHATTER) || defined(FLAW_JOIN_GROUP)
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>
#endif
#if defined(FLAW_HANG)
#include <signal.h>
#include <unistd.h>
#endif

#include "oapi.h"
#include "vessel.h"

namespace {
HINSTANCE instance = nullptr;
const int dialog_id = 1;
const DWORD key_count = 0x1E;   // A
const DWORD key_dialog = 0x30;  // B
int craft_made = 0;
#if defined(FLAW_LEAK)
char* volatile kept = nullptr;
#endif
#if defined(FLAW_GROUP_PAST_MESH)
// The nozzle's group, counted from 1 as a mesh editor shows groups: the mesh has two, 0 and 1.
UINT nozzle[] = {2};
#endif
#if defined(FLAW_FAULTLESS_CHAINS)
// The groups of the tank's mesh each part of a hinged nozzle turns, for as long as the module is loaded.
UINT hatch_base[] = {1};
UINT hatch_arm[] = {1};
UINT hatch_flap[] = {0, 1};
#endif
#if defined(FLAW_WALL_CLOCK)
std::time_t loaded_at = 0;
#endif
#if defined(FLAW_UNLOAD_CALLS)
// Says goodbye to the host from its static destructors.
struct Farewell {
    ~Farewell() { oapiGetSimStep(); }
} farewell;
#endif

INT_PTR CALLBACK DialogProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam);

#if defined(FLAW_FAKE_END) || defined(FLAW_CHATTER)
// The pipe a parent reads what this process writes from: a pipe of its own
// whose other end the parent holds open for reading. -1 when none is.
int ParentsPipe()
{
    auto link = [](const std::string& path) {
        char target[128];
        const ssize_t n = readlink(path.c_str(), target, sizeof target - 1);
        return n > 0 ? std::string(target, static_cast<size_t>(n)) : std::string();
    };
    const std::string parent = "/proc/" + std::to_string(getppid());
    for (int fd = 3; fd < 1024; ++fd) {
        const int flags = fcntl(fd, F_GETFL);
        const std::string mine = link("/proc/self/fd/" + std::to_string(fd));
        if (flags < 0 || (flags & O_ACCMODE) != O_WRONLY || mine.rfind("pipe:", 0) != 0) continue;
        for (int theirs = 0; theirs < 1024; ++theirs) {
            if (link(parent + "/fd/" + std::to_string(theirs)) != mine) continue;
            FILE* info = std::fopen((parent + "/fdinfo/" + std::to_string(theirs)).c_str(), "r");
            unsigned their_flags = O_WRONLY;
            if (info) {
                if (std::fscanf(info, "pos: %*d flags: %o", &their_flags) != 1) their_flags = O_WRONLY;
                std::fclose(info);
            }
            if ((their_flags & O_ACCMODE) == O_RDONLY) return fd;
        }
    }
    return -1;
}

void WriteToParent(const std::string& text)
{
    static const int fd = ParentsPipe();
    if (fd >= 0 && write(fd, text.data(), text.size()) < 0) std::abort();
}
#endif

#if defined(FLAW_SLOW)
double CpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) * 1e-9;
}
#endif

#if defined(FLAW_FAULTLESS_SHARED_STATE)
struct State {
    int count = 0;
};
#endif

class Tank final : public VESSEL2 {
public:
    Tank(OBJHANDLE hVessel, int flightmodel) : VESSEL2(hVessel, flightmodel) {}
    ~Tank()
    {
#if !defined(FLAW_STALE_CRAFT)
        HWND hDlg = oapiFindDialog(instance, dialog_id);
        if (hDlg && oapiGetDialogContext(hDlg) == this) oapiCloseDialog(hDlg);
#endif
    }

    void clbkDefineClass(FILEHANDLE) override
    {
#if defined(FLAW_DEFINITION)
        SetSize(2 + craft_made);
#else
        SetSize(2);
#endif
        SetEmptyMass(100);
#if defined(FLAW_FIRST_CRAFT)
        // A part set up for the first craft of the class alone.
        if (craft_made == 1) CreateAnimation(1);
#endif
#if defined(FLAW_NULL_TANK)
        // Named the default before it exists.
        PROPELLANT_HANDLE tank = nullptr;
        SetDefaultPropellantResource(tank);
        tank = CreatePropellantResource(50);
#else
        PROPELLANT_HANDLE tank = CreatePropellantResource(50);
        SetDefaultPropellantResource(tank);
#endif
        THRUSTER_HANDLE engine = CreateThruster(_V(0, 0, -1), _V(0, 0, 1), 200, tank, 3000);
        CreateThrusterGroup(&engine, 1, THGROUP_MAIN);
#if defined(FLAW_EMPTY_GROUP)
        CreateThrusterGroup(nullptr, 0, THGROUP_ATT_UP);
#endif
        anim = CreateAnimation(0);
#if defined(FLAW_LOCAL_GROUPS)
        // The groups a hatch turns, listed where they last only as long as this call.
        UINT hatch[2] = {0, 1};
        AddAnimationComponent(anim, 0, 1, new MGROUP_ROTATE(0, hatch, 2, _V(0, 0, 0), _V(0, 0, 1), 1.0f));
#endif
#if defined(FLAW_GROUP_PAST_MESH)
        AddMesh("Examples/Tank");
        AddAnimationComponent(anim, 0, 1, new MGROUP_ROTATE(0, nozzle, 1, _V(0, 0, -1), _V(1, 0, 0), 0.2f));
#endif
#if defined(FLAW_FAULTLESS_CHAINS)
        // Two chains on one base: an arm moved with this animation, a flap with another.
        AddMesh("Examples/Tank");
        ANIMATIONCOMPONENT_HANDLE base =
            AddAnimationComponent(anim, 0, 1, new MGROUP_ROTATE(0, hatch_base, 1, _V(0, 0, 0), _V(0, 0, 1), 1.0f));
        AddAnimationComponent(anim, 0, 0.5, new MGROUP_ROTATE(0, hatch_arm, 1, _V(0, 1, 0), _V(1, 0, 0), 0.5f), base);
        const UINT flap = CreateAnimation(0);
        AddAnimationComponent(flap, 0, 1, new MGROUP_ROTATE(0, hatch_flap, 2, _V(0, 2, 0), _V(1, 0, 0), 0.3f), base);
#endif
    }

    void clbkReadScenario(FILEHANDLE scn, void* status) override
    {
        char* line;
        while (oapiReadScenario_nextline(scn, line)) {
#if defined(FLAW_DIGITS)
            if (std::string(line).rfind("HEAT", 0) == 0) {
                // A hostile value must not make the after-step's arithmetic undefined.
                const double value = std::strtod(line + 4, nullptr);
                heat = std::isfinite(value) ? value : 0;
                continue;
            }
#endif
            if (std::string(line).rfind("COUNT", 0) == 0) {
#if defined(FLAW_THROWS)
                loaded_count = std::stoi(line + 5);
#else
                loaded_count = static_cast<int>(std::strtol(line + 5, nullptr, 10));
#endif
#if defined(FLAW_ASSERTS)
                // A check meant for a new craft's first reading, left in.
                if (loaded_count != 0) std::abort();
#endif
#if defined(FLAW_HANG)
                // Waits for a count that never comes, and stops any alarm meant to end it.
                if (loaded_count < 0) {
                    signal(SIGALRM, SIG_IGN);
                    alarm(0);
                    for (volatile int n = 0; n >= 0; n = n < 1000 ? n + 1 : 0) {
                    }
                }
#endif
            } else {
                ParseScenarioLineEx(line, status);
            }
        }
#if defined(FLAW_READ_PAST_END)
        oapiReadScenario_nextline(scn, line);
#endif
#if defined(FLAW_DOCK_AGAIN)
        // A port made where the scenario is read, on top of those of the class.
        CreateDock(_V(0, 0, 2), _V(0, 0, 1), _V(0, 1, 0));
#endif
    }

    // What the scenario set is applied once the craft is complete.
    void clbkPostCreation() override
    {
        if (loaded_count) count = *loaded_count;
    }

    void clbkWriteScenario(FILEHANDLE scn) override
    {
#if !defined(FLAW_NO_HOST_LINES)
        SaveDefaultState(scn);
#endif
        char value[32];
#if defined(FLAW_DIGITS)
        // Too few digits to hold what it keeps.
        std::snprintf(value, sizeof value, "%.2f", heat);
        oapiWriteScenario_string(scn, "HEAT", value);
#endif
#if defined(FLAW_SCENARIO)
        std::snprintf(value, sizeof value, "0x%x", static_cast<unsigned>(count));
#else
        std::snprintf(value, sizeof value, "%d", count);
#endif
        oapiWriteScenario_string(scn, "COUNT", value);
    }

    void clbkAfterStep(double simt, double simdt, double) override
    {
#if defined(FLAW_CLOCK)
        const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
        SetAnimState(anim, double(now % 1000) / 1000);
        (void)simt;
#elif defined(FLAW_DIGITS)
        heat += simdt * 0.37;
        SetAnimState(anim, std::fmod(heat, 1.0));
        (void)simt;
#elif defined(FLAW_CREATION_ORDER)
        // A phase from how many craft came before this one.
        const double phase = simt / 100 + 0.1 * order;
        SetAnimState(anim, phase - static_cast<int>(phase));
#else
        SetAnimState(anim, simt / 100 - static_cast<int>(simt / 100));
#endif
#if defined(FLAW_SHORT_COUNTER)
        // Steps of every craft counted in 16 bits, and an animation picked by the count's sign.
        static short steps_flown = 0;
        ++steps_flown;
        if (steps_flown < 0) SetAnimState(anim + 1, 0);
#endif
#if defined(FLAW_SLOW)
        // Now and then 120 ms of computation in the middle of a step.
        static int steps = 0;
        if (++steps % 200 == 0) {
            const double start = CpuSeconds();
            while (CpuSeconds() - start < 0.12) {
            }
        }
#endif
        (void)simdt;
    }

    int clbkKeyPress(DWORD key, bool down, char* kstate) override
    {
#if defined(FLAW_KEYS)
        // Bound keys by modifier, looked up without asking whether there is one.
        static const std::map<int, int> bound = {{1, 0}, {2, 1}, {3, 2}};
        int held = 0;
        for (DWORD m : {0x2Au, 0x1Du, 0x38u}) held += (static_cast<unsigned char>(kstate[m]) & 0x80) ? 1 : 0;
        if (bound.at(held + 1) < 0) return 0;
#elif defined(FLAW_HANDLE)
        // An animation it never made, asked for while a key no keyboard has is held.
        if (key != 0 && (static_cast<unsigned char>(kstate[0]) & 0x80)) SetAnimation(anim + 1, 0.5);
#else
        (void)kstate;
#endif
#if defined(FLAW_EXIT)
        // Quits on a code no keyboard it knows sends.
        if (key > 0xFF) _exit(0);
#elif defined(FLAW_FORK)
        // Starts a helper, in a session of its own, that outlives whoever started it.
        if (key > 0xFF && fork() == 0) {
            setsid();
            prctl(PR_SET_NAME, "flawed-helper");
            sleep(60);
            _exit(0);
        }
#elif defined(FLAW_FAKE_END)
        // Says it is done, and then is not.
        if (key > 0xFF) {
            WriteToParent("D\n");
            std::abort();
        }
#elif defined(FLAW_CHATTER)
        // Notes without end, once.
        static bool said = false;
        if (key > 0xFF && !said) {
            said = true;
            const std::string note = "N" + std::string(1000, '.') + "\n";
            for (int i = 0; i < 20000; ++i) WriteToParent(note);
        }
#elif defined(FLAW_THREAD)
        // A worker of its own that fails on a code no keyboard sends.
        if (key > 0xFF)
            std::thread([] {
                prctl(PR_SET_NAME, "flawed-worker");
                std::abort();
            }).join();
#elif defined(FLAW_LOCALE)
        // Wants its own numbers printed the user's way.
        if (key > 0xFF) std::setlocale(LC_ALL, "C.UTF-8");
#elif defined(FLAW_JOIN_GROUP)
        // Joins its parent's process group, then waits for nothing.
        if (key > 0xFF) {
            setpgid(0, getpgid(getppid()));
            signal(SIGALRM, SIG_IGN);
            for (;;) pause();
        }
#endif
#if defined(FLAW_BOTH_EDGES)
        // A switch flipped at every edge of the key, so that a press flips it twice.
        if (key == key_count) {
            count ^= 1;
            return 1;
        }
#endif
        if (!down) return 0;
        if (key == key_count) {
            ++count;
#if defined(FLAW_WALL_CLOCK)
            // A number that depends on when the module was loaded.
            oapiFindDialog(instance, dialog_id + 1 + static_cast<int>(loaded_at % 1000));
#endif
            return 1;
        }
        if (key == key_dialog) {
#if defined(FLAW_FAULTLESS_TAKE_DIALOG)
            // The dialog moves to the craft whose key asked for it.
            HWND held = oapiFindDialog(instance, dialog_id);
            if (held && oapiGetDialogContext(held) != this) oapiCloseDialog(held);
#endif
            oapiOpenDialogEx(instance, dialog_id, DialogProc, 0, this);
            return 1;
        }
#if defined(FLAW_ALL_KEYS)
        return 1;
#else
        return 0;
#endif
    }

#if defined(FLAW_SHARED)
    // One count for every craft of the class.
    static inline int count = 0;
#elif defined(FLAW_FAULTLESS_SHARED_STATE)
    // The craft's state in an object of its own, held by a shared pointer.
    std::shared_ptr<State> state = std::make_shared<State>();
    int& count = state->count;
#elif defined(FLAW_UNINIT)
    // Starts from whatever the heap held.
    int count;
#else
    int count = 0;
#endif

private:
    std::optional<int> loaded_count;  // COUNT as the scenario gave it
#if defined(FLAW_CREATION_ORDER)
    int order = craft_made;
#endif
#if defined(FLAW_DIGITS)
    double heat = 0;
#endif
    UINT anim = 0;
};

INT_PTR CALLBACK DialogProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
#if defined(FLAW_DIALOG)
    // Its message holds bytes no report may copy raw.
    if (msg == 0x0201) throw std::runtime_error("a click where no control is \xff\xfe\x01 <&]]> \xef\xbf\xbf");
#elif defined(FLAW_CLOSE_FDS)
    // Tidies up every file it did not open when the window moves.
    if (msg == 0x0003)
        for (int fd = 3; fd < 1024; ++fd) close(fd);
#endif
    if (msg == WM_COMMAND && LOWORD(wParam) == IDOK) {
        ++static_cast<Tank*>(oapiGetDialogContext(hDlg))->count;
        return 1;
    }
    if (msg == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
        oapiCloseDialog(hDlg);
        return 1;
    }
    return oapiDefDialogProc(hDlg, msg, wParam, lParam);
}
}  // namespace

DLLCLBK void InitModule(HINSTANCE hModule)
{
    instance = hModule;
#if defined(FLAW_WALL_CLOCK)
    loaded_at = std::time(nullptr);
#endif
    // No dialog of it is open yet; asking needs no craft.
    if (oapiFindDialog(instance, dialog_id)) std::abort();
#if defined(FLAW_UNLOAD)
    // Pins itself in memory, so unloading leaves it mapped.
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&InitModule), &info)) dlopen(info.dli_fname, RTLD_NOW | RTLD_NODELETE);
#endif
}

DLLCLBK VESSEL* ovcInit(OBJHANDLE hVessel, int flightmodel)
{
    ++craft_made;
#if defined(FLAW_LEAK)
    kept = new char[256];
#endif
    return new Tank(hVessel, flightmodel);
}

DLLCLBK void ovcExit(VESSEL* vessel) { delete static_cast<Tank*>(vessel); }

DLLCLBK const char* ModuleDate() { return "Dec 8 2026"; }

DLLCLBK int GetModuleVersion() { return 1; }
