// A craft that notes every callback it gets, for the tests of when the host
// calls what. Craft are numbered from 1 in the order ovcInit made them; the
// trace, entries "N:Callback" joined by blanks, is read and cleared through
// the export TakeTrace. Focus changes note (getfocus,new,old), 0 for none.
#include <map>
#include <string>

#include "oapi.h"
#include "vessel.h"

namespace {
std::string trace;
std::map<OBJHANDLE, int> numbers;
int made = 0;

class Tracer final : public VESSEL2 {
public:
    Tracer(OBJHANDLE hVessel, int fmodel) : VESSEL2(hVessel, fmodel), number(numbers[hVessel] = ++made) {}
    ~Tracer() { Note("Exit"); }

    void clbkDefineClass(FILEHANDLE) override { Note("DefineClass"); }
    void clbkReadScenario(FILEHANDLE scn, void* status) override
    {
        Note("ReadScenario");
        char* line;
        while (oapiReadScenario_nextline(scn, line)) ParseScenarioLineEx(line, status);
    }
    void clbkPostCreation() override { Note("PostCreation"); }
    void clbkFocusChanged(bool getfocus, OBJHANDLE hNew, OBJHANDLE hOld) override
    {
        Note("FocusChanged(" + std::to_string(getfocus) + "," + Number(hNew) + "," + Number(hOld) + ")");
    }
    void clbkPreStep(double, double, double) override { Note("PreStep"); }
    void clbkAfterStep(double, double, double) override { Note("AfterStep"); }
    void clbkAnimate(double) override { Note("Animate"); }
    int clbkConsumeDirectKey(char* kstate) override
    {
        Note("ConsumeDirectKey(" + std::to_string((static_cast<unsigned char>(kstate[OAPI_KEY_L]) & 0x80) != 0) + ")");
        return 0;
    }
    int clbkKeyPress(DWORD, bool down, char*) override
    {
        Note(down ? "KeyDown" : "KeyUp");
        return 1;
    }
    void clbkVisualCreated(VISHANDLE vis, int refcount) override
    {
        visual = vis;
        Note("VisualCreated(" + std::to_string(refcount) + ")");
    }
    void clbkVisualDestroyed(VISHANDLE vis, int) override { Note(vis == visual ? "VisualDestroyed" : "VisualDestroyed(unknown)"); }

private:
    static std::string Number(OBJHANDLE h)
    {
        auto it = numbers.find(h);
        return it == numbers.end() ? "0" : std::to_string(it->second);
    }
    void Note(const std::string& what) { trace += (trace.empty() ? "" : " ") + std::to_string(number) + ":" + what; }

    int number;
    VISHANDLE visual = nullptr;
};
}  // namespace

DLLCLBK void InitModule(HINSTANCE) {}
DLLCLBK VESSEL* ovcInit(OBJHANDLE hVessel, int flightmodel) { return new Tracer(hVessel, flightmodel); }
DLLCLBK void ovcExit(VESSEL* vessel) { delete static_cast<Tracer*>(vessel); }
DLLCLBK const char* ModuleDate() { return "Jan  1 2020"; }
DLLCLBK int GetModuleVersion() { return 1; }
// The trace so far, which then starts afresh; valid until the next call.
DLLCLBK const char* TakeTrace()
{
    static std::string taken;
    taken = trace;
    trace.clear();
    return taken.c_str();
}
