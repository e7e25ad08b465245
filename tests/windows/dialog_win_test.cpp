// The control dialog as Windows builds it from the module's template, and
// its buttons driven by window messages.
#include <gtest/gtest.h>

#include <string>

#include "screenshot.h"
#include "win_fixture.h"

namespace {
class WinDialogTest : public WinModuleTest {
protected:
    HWND Open(sim::Craft r)
    {
        EXPECT_EQ(host->key_press(r, OAPI_KEY_SPACE, {OAPI_KEY_LCONTROL}), 1);
        HWND dlg = Dialog();
        EXPECT_NE(dlg, nullptr);
        return dlg;
    }
    static std::string Text(HWND w)
    {
        char buf[256] = {};
        GetWindowTextA(w, buf, sizeof buf);
        return buf;
    }
    static std::string Class(HWND w)
    {
        char buf[256] = {};
        GetClassNameA(w, buf, sizeof buf);
        return buf;
    }
    bool Saves(const std::string& line)
    {
        const sim::Scenario s = sim::parse_scenario(host->scenario_text(), "saved");
        for (const sim::ScenarioVessel& v : s.vessels)
            for (const sim::ScenarioLine& l : v.lines)
                if (l.text == line) return true;
        return false;
    }
};

TEST_F(WinDialogTest, WindowsBuildsTheFiveControlsOfTheTemplate)
{
    const sim::Craft r = NewVessel();
    HWND dlg = Open(r);
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(Text(dlg), "Mervex Controls");
    EXPECT_EQ(Class(dlg), "#32770");
    const LONG style = GetWindowLongA(dlg, GWL_STYLE);
    EXPECT_TRUE(style & WS_VISIBLE);
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_POPUP);

    struct Expected {
        int id;
        const char* cls;
        const char* text;
        DWORD style;
        DWORD exstyle;
        RECT units;  // x, y, width, height in dialog units
    };
    // The picture's WS_BORDER becomes a client edge when Windows makes it.
    const Expected want[5] = {
        {1001, "Static", nullptr, 0x5000004E, WS_EX_CLIENTEDGE, {40, 15, 64, 25}},
        {1003, "Button", "DEPLOY", 0x50010000, 0, {45, 20, 55, 15}},
        {0xFFFF, "Button", "Array Controls", 0x50000007, 0, {25, 5, 90, 45}},
        {0xFFFF, "Button", "NAV Lights", 0x50000007, 0, {25, 55, 90, 35}},
        {1004, "Button", " ", 0x50010000, 0, {50, 65, 45, 20}},
    };
    HWND child = GetWindow(dlg, GW_CHILD);
    for (const Expected& e : want) {
        SCOPED_TRACE(e.id);
        ASSERT_NE(child, nullptr);
        EXPECT_EQ(GetDlgCtrlID(child) & 0xFFFF, e.id);
        EXPECT_EQ(Class(child), e.cls);
        if (e.text) {
            EXPECT_EQ(Text(child), e.text);
        }
        EXPECT_EQ(DWORD(GetWindowLongA(child, GWL_STYLE)), e.style);
        EXPECT_EQ(DWORD(GetWindowLongA(child, GWL_EXSTYLE)) & ~DWORD(WS_EX_NOPARENTNOTIFY), e.exstyle);
        RECT units = e.units;
        MapDialogRect(dlg, &units);
        RECT got;
        GetWindowRect(child, &got);
        MapWindowPoints(nullptr, dlg, reinterpret_cast<POINT*>(&got), 2);
        EXPECT_EQ(got.left, units.left);
        EXPECT_EQ(got.top, units.top);
        EXPECT_EQ(got.right - got.left, units.right);
        EXPECT_EQ(got.bottom - got.top, units.bottom);
        child = GetWindow(child, GW_HWNDNEXT);
    }
    EXPECT_EQ(child, nullptr) << "more than five controls";
    // The picture shows the bitmap resource, loaded at its own size.
    HBITMAP shown = reinterpret_cast<HBITMAP>(SendMessageA(GetDlgItem(dlg, 1001), STM_GETIMAGE, IMAGE_BITMAP, 0));
    ASSERT_NE(shown, nullptr);
    BITMAP bm{};
    ASSERT_EQ(GetObjectA(shown, sizeof bm, &bm), int(sizeof bm));
    EXPECT_EQ(bm.bmWidth, 87);
    EXPECT_EQ(bm.bmHeight, 55);
}

TEST_F(WinDialogTest, DeployIsEnabledUntilOneStepAfterTheArraysReachZero)
{
    const sim::Craft r = NewVessel();
    HWND dlg = Open(r);
    HWND deploy = GetDlgItem(dlg, 1003);
    host->step(1);
    EXPECT_TRUE(IsWindowEnabled(deploy)) << "stowed";
    EXPECT_EQ(SendMessageA(deploy, BM_CLICK, 0, 0), 0);
    host->step(10);
    EXPECT_TRUE(IsWindowEnabled(deploy)) << "deploying";
    host->step(10);
    EXPECT_EQ(r.animation_states().at(0), 0);
    EXPECT_TRUE(IsWindowEnabled(deploy)) << "the step that reaches 0 still sees the old state";
    host->step(1);
    EXPECT_FALSE(IsWindowEnabled(deploy));
}

TEST_F(WinDialogTest, ClicksDeployAndToggleTheLightsAndCancelCloses)
{
    const sim::Craft r = NewVessel();
    HWND dlg = Open(r);
    SendMessageA(GetDlgItem(dlg, 1003), BM_CLICK, 0, 0);
    host->step(1);
    EXPECT_LT(r.animation_states().at(0), 1) << "DEPLOY deploys";

    SendMessageA(GetDlgItem(dlg, 1004), BM_CLICK, 0, 0);
    host->step(1);
    EXPECT_TRUE(r.beacons_lit().at(0));
    SendMessageA(GetDlgItem(dlg, 1004), BM_CLICK, 0, 0);
    SendMessageA(GetDlgItem(dlg, 1004), BM_CLICK, 0, 0);
    host->step(1);
    EXPECT_TRUE(r.beacons_lit().at(0)) << "two presses between steps cancel out";
    EXPECT_EQ(Text(GetDlgItem(dlg, 1004)), " ") << "the button never shows the state";

    EXPECT_TRUE(Saves("DIALOG"));
    // The close box: the system turns it into IDCANCEL.
    SendMessageA(dlg, WM_SYSCOMMAND, SC_CLOSE, 0);
    host->dialogs().process_messages();
    EXPECT_FALSE(IsWindow(dlg));
    EXPECT_EQ(Dialog(), nullptr);
    EXPECT_FALSE(Saves("DIALOG"));
}

TEST_F(WinDialogTest, TheWindowGoesWithTheCraftThatOpenedIt)
{
    const sim::Craft a = NewVessel("A");
    HWND dlg = Open(a);
    host->destroy_craft(a);
    EXPECT_FALSE(IsWindow(dlg)) << "no click can reach a destroyed craft";
}

INT_PTR CALLBACK PlainDialogProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return oapiDefDialogProc(hDlg, msg, wParam, lParam);
}

TEST_F(WinDialogTest, TheHostDestroysWindowsNoCraftClosed)
{
    // Opened straight through the host with no craft behind it, so only the host can close it.
    HWND dlg = oapiOpenDialogEx(module->instance(), 108, PlainDialogProc, 0, nullptr);
    ASSERT_TRUE(IsWindow(dlg));
    host.reset();
    EXPECT_FALSE(IsWindow(dlg));
}

TEST_F(WinDialogTest, ScenarioDialogLineOpensItInTheFirstStep)
{
    const std::string text = "BEGIN_VESSEL Mervex-1:Mervex\nDIALOG\nEND_VESSEL\n";
    host->load_scenario(sim::parse_scenario(text, "dialog.scn"), *module);
    EXPECT_EQ(Dialog(), nullptr);
    host->step(1);
    HWND dlg = Dialog();
    ASSERT_NE(dlg, nullptr);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dlg, 1003)));
    SendMessageA(dlg, WM_COMMAND, IDCANCEL, 0);
    host->step(1);
    EXPECT_EQ(Dialog(), nullptr) << "a closed dialog is not opened again";
}

TEST_F(WinDialogTest, ScreenshotOfTheOpenDialog)
{
    const sim::Craft r = NewVessel();
    HWND dlg = Open(r);
    host->step(1);
    host->dialogs().process_messages();
    const std::string path = MERVEX_SCREENSHOT_PATH;
    const Screenshot shot = CaptureWindow(dlg);
    ASSERT_GT(shot.width, 0);
    // Red stripes of the picture must be on screen, inside the picture control.
    RECT pic;
    GetWindowRect(GetDlgItem(dlg, 1001), &pic);
    RECT win;
    GetWindowRect(dlg, &win);
    int red = 0;
    for (int y = pic.top - win.top; y < pic.bottom - win.top; ++y)
        for (int x = pic.left - win.left; x < pic.right - win.left; ++x)
            if (shot.pixel(x, y) == 0xFF0000) ++red;
    EXPECT_GT(red, 100);
    std::string error;
    EXPECT_TRUE(WritePng(shot, path, error)) << error;
}
}  // namespace
