// The module's resources: the compiled dialog template and bitmap field by
// field, the committed picture, the parsers' answers to broken files, and the
// dialog as the host builds it when the loaded module opens it.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "resfmt/dialog_template.h"
#include "sim/host.h"
#include "sim/keyboard.h"
#include "support/module_fixture.h"
#include "panel_measures.h"
#include "resfmt/resource_file.h"

#ifndef MERVEX_RES_PATH
#error "the tests need the path of the compiled resources"
#endif

namespace {

std::vector<std::uint8_t> ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in) << path;
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string Joined(const std::vector<std::string>& lines)
{
    std::string out;
    for (const std::string& l : lines) out += l + "\n";
    return out;
}

// What the script must give for each control, in template order.
struct ExpectedControl {
    std::int16_t id;
    std::uint16_t class_atom;
    resfmt::NameOrId text;
    std::uint32_t style;
    std::int16_t x, y, cx, cy;
};

const std::vector<ExpectedControl> controls = {
    {1001, 0x82, resfmt::NameOrId::number(107), 0x5080004E, 40, 15, 64, 25},
    {1003, 0x80, resfmt::NameOrId::text("DEPLOY"), 0x50010000, 45, 20, 55, 15},
    {-1, 0x80, resfmt::NameOrId::text("Array Controls"), 0x50000007, 25, 5, 90, 45},
    {-1, 0x80, resfmt::NameOrId::text("NAV Lights"), 0x50000007, 25, 55, 90, 35},
    {1004, 0x80, resfmt::NameOrId::text(" "), 0x50010000, 50, 65, 45, 20},
};

class CompiledResources : public ::testing::Test {
protected:
    static void SetUpTestSuite() { entries = resfmt::read_resource_file(MERVEX_RES_PATH); }
    static const resfmt::ResourceEntry& Dialog() { return Find(resfmt::rt_dialog, 108); }
    static const resfmt::ResourceEntry& Bitmap() { return Find(resfmt::rt_bitmap, 107); }
    static const resfmt::ResourceEntry& Find(std::uint16_t type, std::uint16_t id)
    {
        const resfmt::ResourceEntry* e = resfmt::find_resource(entries, type, id);
        if (!e) throw std::runtime_error("resource missing");
        return *e;
    }
    static std::vector<resfmt::ResourceEntry> entries;
};
std::vector<resfmt::ResourceEntry> CompiledResources::entries;

TEST_F(CompiledResources, HoldExactlyTheDialogAndTheBitmapInTheNeutralLanguage)
{
    ASSERT_EQ(entries.size(), 2u);
    for (const resfmt::ResourceEntry& e : entries) EXPECT_EQ(e.language, 0) << e.type.str() << " " << e.name.str();
    EXPECT_EQ(Dialog().data.size(), 284u);
    EXPECT_EQ(Bitmap().data.size(), mervex::panel::dib_size);
}

TEST_F(CompiledResources, DialogHeaderIsTheStandardFormWithEveryField)
{
    const resfmt::DialogTemplate t = resfmt::parse_dialog_template(Dialog().data.data(), Dialog().data.size());
    EXPECT_EQ(t.size, 284u);
    EXPECT_EQ(t.style, 0x90C808CCu);
    EXPECT_EQ(t.exstyle, 0u);
    EXPECT_EQ(t.x, 0);
    EXPECT_EQ(t.y, 0);
    EXPECT_EQ(t.cx, 143);
    EXPECT_EQ(t.cy, 127);
    EXPECT_FALSE(t.has_menu);
    EXPECT_FALSE(t.has_class);
    EXPECT_EQ(t.caption, "Mervex Controls");
    EXPECT_TRUE(t.has_font);
    EXPECT_EQ(t.point_size, 8);
    EXPECT_EQ(t.face, "Ms Shell Dlg");
}

TEST_F(CompiledResources, ControlsInOrderWithNumberedClassesAndNoExtras)
{
    const resfmt::DialogTemplate t = resfmt::parse_dialog_template(Dialog().data.data(), Dialog().data.size());
    ASSERT_EQ(t.items.size(), controls.size());
    for (std::size_t i = 0; i < controls.size(); ++i) {
        SCOPED_TRACE("control " + std::to_string(i + 1));
        const resfmt::DialogItemTemplate& got = t.items[i];
        const ExpectedControl& want = controls[i];
        EXPECT_EQ(got.id, want.id);
        EXPECT_TRUE(got.window_class == resfmt::NameOrId::number(want.class_atom)) << got.window_class.str();
        EXPECT_TRUE(got.text == want.text) << got.text.str();
        EXPECT_EQ(got.style, want.style) << std::hex << got.style;
        EXPECT_EQ(got.exstyle, 0u);
        EXPECT_EQ(got.creation_data_size, 0);
        EXPECT_EQ(got.x, want.x);
        EXPECT_EQ(got.y, want.y);
        EXPECT_EQ(got.cx, want.cx);
        EXPECT_EQ(got.cy, want.cy);
    }
}

TEST_F(CompiledResources, BitmapIsTheCommittedPictureWithoutItsFileHeader)
{
    const mervex::panel::Report r = mervex::panel::check_dib(Bitmap().data.data(), Bitmap().data.size());
    EXPECT_TRUE(r.pixels_read);
    EXPECT_TRUE(r.failures.empty()) << Joined(r.failures);

    const std::vector<std::uint8_t> file = ReadFile(MERVEX_PANEL_BMP);
    ASSERT_EQ(file.size(), mervex::panel::file_header_size + mervex::panel::dib_size);
    EXPECT_TRUE(std::equal(Bitmap().data.begin(), Bitmap().data.end(), file.begin() + mervex::panel::file_header_size));
}

TEST(PanelPicture, CommittedFileMeetsEveryMeasure)
{
    const std::vector<std::uint8_t> file = ReadFile(MERVEX_PANEL_BMP);
    const mervex::panel::Report r = mervex::panel::check_bmp_file(file.data(), file.size());
    EXPECT_TRUE(r.failures.empty()) << Joined(r.failures);
    const mervex::panel::Measures& m = r.measures;
    EXPECT_EQ(m.red, 2944);
    EXPECT_EQ(m.white, 1841);
    EXPECT_EQ(m.stripes, 7);
    EXPECT_EQ(m.column_white.min, 5);
    EXPECT_EQ(m.column_white.max, 6);
}

// The checks themselves must notice single-pixel and single-field faults.
class PanelChecks : public ::testing::Test {
protected:
    void SetUp() override { file = ReadFile(MERVEX_PANEL_BMP); }
    std::uint8_t* Pixel(int col, int row)
    {
        const std::size_t stored = static_cast<std::size_t>(mervex::panel::height - 1 - row);
        return file.data() + mervex::panel::file_header_size + mervex::panel::header_size +
               stored * mervex::panel::row_bytes + 3 * static_cast<std::size_t>(col);
    }
    std::string Failures() { return Joined(mervex::panel::check_bmp_file(file.data(), file.size()).failures); }
    std::vector<std::uint8_t> file;
};

TEST_F(PanelChecks, NoticeAWhitePixelTurnedRedOnAnEdge)
{
    Pixel(3, 0)[0] = Pixel(3, 0)[1] = 0;  // last white of the top row
    const std::string f = Failures();
    EXPECT_NE(f.find("top row: 0-2, 22-28"), std::string::npos) << f;
    EXPECT_NE(f.find("2945 red, 1840 white"), std::string::npos) << f;
}

TEST_F(PanelChecks, NoticeAForeignColour)
{
    Pixel(43, 20)[1] = 1;  // inside the picture, off pure red and white
    EXPECT_NE(Failures().find("pixels neither pure red nor pure white: 1"), std::string::npos) << Failures();
}

TEST_F(PanelChecks, NoticeAStripeJoinedToItsNeighbour)
{
    // A white bridge along row 27 joins the stripes that cross it.
    std::uint8_t* row = Pixel(0, 27);
    for (int c = 1; c < mervex::panel::width - 1; ++c) row[3 * c] = row[3 * c + 1] = row[3 * c + 2] = 255;
    const std::string f = Failures();
    // Five stripes cross that row; the two others stay apart.
    EXPECT_NE(f.find("white stripes: 3, expected 7"), std::string::npos) << f;
    EXPECT_NE(f.find("white runs along columns"), std::string::npos) << f;
    EXPECT_NE(f.find("is split in"), std::string::npos) << f;
}

TEST_F(PanelChecks, StopBeforeThePixelsWhenTheHeaderIsWrong)
{
    file[mervex::panel::file_header_size + 8] = 56;  // height
    const mervex::panel::Report r = mervex::panel::check_bmp_file(file.data(), file.size());
    EXPECT_FALSE(r.pixels_read);
    EXPECT_NE(Joined(r.failures).find("height is 56, expected 55"), std::string::npos);

    const mervex::panel::Report short_file = mervex::panel::check_bmp_file(file.data(), 30);
    EXPECT_FALSE(short_file.pixels_read);
    EXPECT_NE(Joined(short_file.failures).find("shorter than its 40-byte header"), std::string::npos);
}

// The message a parse fails with, or "" when it succeeds.
template <class Parse>
std::string FailureOf(Parse parse)
{
    try {
        parse();
    } catch (const resfmt::ParseError& e) {
        return e.what();
    }
    return "";
}

// Broken input: every failure is a ParseError with a message, never a read past the data.
class BrokenResources : public ::testing::Test {
protected:
    void SetUp() override { res = ReadFile(MERVEX_RES_PATH); }
    static std::string ParseMessage(const std::vector<std::uint8_t>& bytes)
    {
        return FailureOf([&] { resfmt::parse_resource_file(bytes.data(), bytes.size()); });
    }
    std::vector<std::uint8_t> res;
};

TEST_F(BrokenResources, EveryTruncationOfTheFileFailsOrStopsAtAnEntry)
{
    int parsed = 0;
    for (std::size_t n = 0; n < res.size(); ++n) {
        const std::vector<std::uint8_t> prefix(res.begin(), res.begin() + static_cast<std::ptrdiff_t>(n));
        if (ParseMessage(prefix).empty()) ++parsed;
    }
    // Only the cuts between entries: nothing, the marker, the marker and the bitmap.
    EXPECT_EQ(parsed, 3);
}

TEST_F(BrokenResources, BadSizesAreNamed)
{
    std::vector<std::uint8_t> b = res;
    b[32 + 4] = 31;  // the bitmap's header size
    EXPECT_NE(ParseMessage(b).find("header size 31"), std::string::npos) << ParseMessage(b);

    b = res;
    b[32 + 3] = 0x7F;  // the bitmap's data size, far beyond the file
    EXPECT_NE(ParseMessage(b).find("resource data needs"), std::string::npos) << ParseMessage(b);

    b = res;
    b[32 + 4] = 0xF0, b[32 + 5] = 0xFF;  // a header longer than the file
    EXPECT_NE(ParseMessage(b).find("runs past the end"), std::string::npos) << ParseMessage(b);
}

TEST_F(BrokenResources, UnterminatedNameInsideTheHeaderFails)
{
    // A header of 32 bytes whose type is a string with no terminator in it.
    std::vector<std::uint8_t> b(32, 'A');
    b[0] = b[1] = b[2] = b[3] = 0;
    b[4] = 32, b[5] = b[6] = b[7] = 0;
    EXPECT_NE(ParseMessage(b).find("type needs 2 bytes"), std::string::npos) << ParseMessage(b);
}

class BrokenTemplates : public CompiledResources {
protected:
    static std::string ParseMessage(const std::vector<std::uint8_t>& bytes)
    {
        return FailureOf([&] { resfmt::parse_dialog_template(bytes.data(), bytes.size()); });
    }
};

TEST_F(BrokenTemplates, EveryTruncationFails)
{
    const std::vector<std::uint8_t>& full = Dialog().data;
    for (std::size_t n = 0; n < full.size(); ++n) {
        const std::vector<std::uint8_t> prefix(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(n));
        EXPECT_NE(ParseMessage(prefix), "") << "prefix of " << n << " bytes";
    }
}

TEST_F(BrokenTemplates, ExtendedFormAndMissingControlsAreRefusedByName)
{
    std::vector<std::uint8_t> b = Dialog().data;
    b[0] = 1, b[1] = 0, b[2] = 0xFF, b[3] = 0xFF;
    EXPECT_NE(ParseMessage(b).find("extended dialog template"), std::string::npos);

    b = Dialog().data;
    b[8] = 6;  // one control more than the template holds
    EXPECT_NE(ParseMessage(b).find("control 6 of 6 is missing"), std::string::npos) << ParseMessage(b);
}

// The dialog as the host builds it from the module's resources.
class DialogFromModule : public ModuleTest {
protected:
    const sim::Dialog* OpenWithCtrlSpace()
    {
        const sim::Craft r = NewVessel();
        EXPECT_EQ(host->key_press(r, OAPI_KEY_SPACE, {OAPI_KEY_LCONTROL}), 1);
        return host->dialogs().dialog(host->dialogs().find(module->instance(), 108));
    }
};

TEST_F(DialogFromModule, CtrlSpaceOpensTheTemplatesFiveControls)
{
    const sim::Dialog* d = OpenWithCtrlSpace();
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->caption, "Mervex Controls");
    EXPECT_EQ(d->style, 0x90C808CCu);
    EXPECT_EQ(d->cx, 143);
    EXPECT_EQ(d->cy, 127);
    ASSERT_EQ(d->controls.size(), controls.size());
    for (std::size_t i = 0; i < controls.size(); ++i) {
        SCOPED_TRACE("control " + std::to_string(i + 1));
        const sim::Control& c = d->controls[i];
        EXPECT_EQ(c.id, controls[i].id);
        EXPECT_EQ(c.class_atom, controls[i].class_atom);
        EXPECT_EQ(c.text, controls[i].text.str());
        EXPECT_EQ(c.style, controls[i].style);
        EXPECT_EQ(c.x, controls[i].x);
        EXPECT_EQ(c.y, controls[i].y);
        EXPECT_EQ(c.cx, controls[i].cx);
        EXPECT_EQ(c.cy, controls[i].cy);
        EXPECT_TRUE(c.enabled);
        EXPECT_NE(c.hwnd, nullptr);
    }
    EXPECT_EQ(d->controls[0].text, "#107");
    EXPECT_EQ(GetDlgItem(d->hwnd, 1003), d->controls[1].hwnd);
}

// A copy of the module in its own folder, with whatever resources a test puts beside it.
class ModuleCopy : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = std::filesystem::temp_directory_path() /
              ("mervex_res_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir);
        copy = dir / std::filesystem::path(MERVEX_MODULE_PATH).filename();
        std::filesystem::copy_file(MERVEX_MODULE_PATH, copy, std::filesystem::copy_options::overwrite_existing);
    }
    void TearDown() override
    {
        host.reset();
        std::filesystem::remove_all(dir);
    }
    const sim::Dialog* Open()
    {
        host = std::make_unique<sim::Host>(sim::CallLogging::on);
        sim::Module& m = host->load_module(copy.string());
        const sim::Craft r = host->create_craft(m, "Mervex-1");
        host->key_press(r, OAPI_KEY_SPACE, {OAPI_KEY_LCONTROL});
        return host->dialogs().dialog(host->dialogs().find(m.instance(), 108));
    }
    std::filesystem::path dir, copy;
    std::unique_ptr<sim::Host> host;
};

TEST_F(ModuleCopy, WithoutResourcesTheDialogOpensEmpty)
{
    const sim::Dialog* d = Open();
    ASSERT_NE(d, nullptr);
    EXPECT_TRUE(d->controls.empty());
    EXPECT_EQ(d->caption, "");
}

TEST_F(ModuleCopy, BrokenResourcesOpenAnEmptyDialogAndSaySo)
{
    std::vector<std::uint8_t> res = ReadFile(MERVEX_RES_PATH);
    res.resize(res.size() - 100);  // cuts into the dialog template
    std::ofstream(std::filesystem::path(copy).replace_extension(".res"), std::ios::binary)
        .write(reinterpret_cast<const char*>(res.data()), static_cast<std::streamsize>(res.size()));
    ::testing::internal::CaptureStderr();
    const sim::Dialog* d = Open();
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "") << "the host never prints; it warns";
    ASSERT_NE(d, nullptr);
    EXPECT_TRUE(d->controls.empty());
    std::string said;
    for (const sim::ModuleFault& w : host->take_warnings()) said += w.text() + "\n";
    EXPECT_NE(said.find("resource data needs"), std::string::npos) << said;
}

}  // namespace
