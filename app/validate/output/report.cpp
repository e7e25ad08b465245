#include "output/report.h"

#include <cstdio>

#include "markup/json_text.h"
#include "markup/xml_text.h"

namespace validate {

namespace {
// The report's own layout, a space after each comma; its strings, whatever
// bytes a module put in a message, written by the JSON library.
std::string JsonList(const std::vector<std::string>& items)
{
    std::string out = "[";
    for (size_t i = 0; i < items.size(); ++i) out += (i ? ", " : "") + app::json_text(items[i]);
    return out + "]";
}

std::string Seconds(double s)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.3f", s);
    return buf;
}

const char* Result(const Outcome& o)
{
    if (!o.passed) return "fail";
    return o.warnings.empty() ? "pass" : "warn";
}

int Failed(const std::vector<Outcome>& outcomes)
{
    int n = 0;
    for (const Outcome& o : outcomes) n += o.passed ? 0 : 1;
    return n;
}
}  // namespace

std::string json_report(const Options& options, const std::vector<Outcome>& outcomes)
{
    std::string out = "{\n  \"module\": " + app::json_text(options.module) + ",\n  \"level\": " + std::to_string(options.level) +
                      ",\n  \"seed\": " + std::to_string(options.seed) + ",\n  \"passed\": " +
                      std::to_string(outcomes.size() - Failed(outcomes)) + ",\n  \"failed\": " +
                      std::to_string(Failed(outcomes)) + ",\n  \"checks\": [";
    for (size_t i = 0; i < outcomes.size(); ++i) {
        const Outcome& o = outcomes[i];
        out += std::string(i ? "," : "") + "\n    {\"name\": " + app::json_text(o.check->name) +
               ", \"level\": " + std::to_string(o.check->min_level) + ", \"result\": \"" + Result(o) +
               "\", \"seed\": " + std::to_string(o.seed) + ", \"seconds\": " + Seconds(o.seconds) +
               ",\n     \"last_action\": " + app::json_text(o.action) + ", \"trial\": " + std::to_string(o.trial) +
               ",\n     \"failures\": " + JsonList(o.failures) + ",\n     \"warnings\": " + JsonList(o.warnings) +
               ",\n     \"notes\": " + JsonList(o.notes) + "}";
    }
    return out + "\n  ]\n}\n";
}

std::string junit_report(const Options& options, const std::vector<Outcome>& outcomes)
{
    double total = 0;
    for (const Outcome& o : outcomes) total += o.seconds;
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<testsuites>\n  <testsuite name=\"simhost-validate\" tests=\"" +
                      std::to_string(outcomes.size()) + "\" failures=\"" + std::to_string(Failed(outcomes)) +
                      "\" time=\"" + Seconds(total) + "\">\n    <properties>\n      <property name=\"module\" value=\"" +
                      app::xml_text(options.module) + "\"/>\n      <property name=\"level\" value=\"" +
                      std::to_string(options.level) + "\"/>\n      <property name=\"seed\" value=\"" +
                      std::to_string(options.seed) + "\"/>\n    </properties>\n";
    for (const Outcome& o : outcomes) {
        out += "    <testcase classname=\"simhost-validate\" name=\"" + app::xml_text(o.check->name) + "\" time=\"" +
               Seconds(o.seconds) + "\"";
        std::string notes;
        for (const std::string& w : o.warnings) notes += "WARN " + w + "\n";
        for (const std::string& n : o.notes) notes += n + "\n";
        if (o.passed && notes.empty()) {
            out += "/>\n";
            continue;
        }
        out += ">\n";
        if (!o.passed) {
            std::string text;
            for (const std::string& f : o.failures) text += f + "\n";
            for (const std::string& w : o.warnings) text += "WARN " + w + "\n";
            const std::string& first = o.failures.empty() ? o.warnings.front() : o.failures.front();
            out += "      <failure message=\"" + app::xml_text(first) + " (seed " + std::to_string(o.seed) +
                   ")\">" + app::xml_text(text) + "</failure>\n";
        }
        if (!notes.empty()) out += "      <system-out>" + app::xml_text(notes) + "</system-out>\n";
        out += "    </testcase>\n";
    }
    return out + "  </testsuite>\n</testsuites>\n";
}

}  // namespace validate
