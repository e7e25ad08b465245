// The one way both programs write text into JSON and XML files, whatever
// bytes a module or a scenario put in it.
#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "markup/json_text.h"
#include "markup/xml_text.h"

namespace {

struct Case {
    const char* what;
    std::string in, json, xml;
};

TEST(Markup, AnyBytesBecomeValidTextWithNoControlCharacters)
{
    const Case cases[] = {
        {"plain", "Mervex-1", "\"Mervex-1\"", "Mervex-1"},
        {"markup", "a<b>&\"c\"", "\"a<b>&\\\"c\\\"\"", "a&lt;b&gt;&amp;&quot;c&quot;"},
        {"line ends and tab", "a\nb\r\tc", "\"a\\nb\\r\\tc\"", "a\nb?\tc"},
        {"controls and DEL", std::string("a\x01\x1b\x7f", 4), "\"a\\u0001\\u001b\\u007f\"", std::string("a??\x7f", 4)},
        {"not UTF-8", "M\xff\xc3", "\"M\xEF\xBF\xBD\xEF\xBF\xBD\"", "M\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"not allowed in XML", "\xef\xbf\xbf\xef\xbf\xbe\xc3\xa9", "\"\xef\xbf\xbf\xef\xbf\xbe\xc3\xa9\"",
         "\xEF\xBF\xBD\xEF\xBF\xBD\xc3\xa9"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(app::json_text(c.in), c.json) << c.what;
        EXPECT_EQ(app::xml_text(c.in), c.xml) << c.what;
    }
}

TEST(Markup, JsonKeepsKeyOrderAndTheDigitsAskedFor)
{
    const app::Json sample = {{"t", 0.1},         {"name", "x"},     {"mass", 2000.0},
                              {"pos", {1.0 / 3, -0.0, 1.5e12}}, {"bad", NAN}, {"n", 4}};
    EXPECT_EQ(app::json_text(sample, 10),
              "{\"t\":0.1,\"name\":\"x\",\"mass\":2000,\"pos\":[0.3333333333,-0,1.5e+12],\"bad\":null,\"n\":4}");
    EXPECT_EQ(app::json_text(app::Json(0.1)), "0.10000000000000001") << "17 digits unless told";
}

}  // namespace
