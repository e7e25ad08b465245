#include "output/report.h"

#include <cstdio>

#include "util/utf8.h"

namespace validate {

namespace {
// Whatever bytes a module put in a message, the reports hold valid UTF-8.
std::string Json(const std::string& text)
{
    const std::string s = sim::valid_utf8(text);
    std::string out = "\"";
    for (char ch : s) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (c == '"' || c == '\\') out += '\\', out += ch;
        else if (c == '\n') out += "\\n";
        else if (c < 0x20 || c == 0x7F) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", c);
            out += buf;
        } else out += ch;
    }
    return out + "\"";
}

std::string JsonList(const std::vector<std::string>& items)
{
    std::string out = "[";
    for (size_t i = 0; i < items.size(); ++i) out += (i ? ", " : "") + Json(items[i]);
    return out + "]";
}

// XML 1.0 holds no control characters but tab and line breaks, nor U+FFFE and U+FFFF.
std::string Xml(const std::string& text)
{
    const std::string s = sim::valid_utf8(text);
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        const char ch = s[i];
        const unsigned char c = static_cast<unsigned char>(ch);
        if (c == 0xEF && s.compare(i + 1, 1, "\xBF") == 0 && i + 2 < s.size() &&
            (static_cast<unsigned char>(s[i + 2]) & 0xFE) == 0xBE) {
            out += '?';
            i += 2;
        } else if (c == '&') out += "&amp;";
        else if (c == '<') out += "&lt;";
        else if (c == '>') out += "&gt;";
        else if (c == '"') out += "&quot;";
        else if (c < 0x20 && c != '\t' && c != '\n') out += '?';
        else out += ch;
    }
    return out;
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
    std::string out = "{\n  \"module\": " + Json(options.module) + ",\n  \"level\": " + std::to_string(options.level) +
                      ",\n  \"seed\": " + std::to_string(options.seed) + ",\n  \"passed\": " +
                      std::to_string(outcomes.size() - Failed(outcomes)) + ",\n  \"failed\": " +
                      std::to_string(Failed(outcomes)) + ",\n  \"checks\": [";
    for (size_t i = 0; i < outcomes.size(); ++i) {
        const Outcome& o = outcomes[i];
        out += std::string(i ? "," : "") + "\n    {\"name\": " + Json(o.check->name) +
               ", \"level\": " + std::to_string(o.check->min_level) + ", \"result\": \"" + Result(o) +
               "\", \"seed\": " + std::to_string(o.seed) + ", \"seconds\": " + Seconds(o.seconds) +
               ",\n     \"last_action\": " + Json(o.action) + ", \"trial\": " + std::to_string(o.trial) +
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
                      Xml(options.module) + "\"/>\n      <property name=\"level\" value=\"" +
                      std::to_string(options.level) + "\"/>\n      <property name=\"seed\" value=\"" +
                      std::to_string(options.seed) + "\"/>\n    </properties>\n";
    for (const Outcome& o : outcomes) {
        out += "    <testcase classname=\"simhost-validate\" name=\"" + Xml(o.check->name) + "\" time=\"" +
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
            out += "      <failure message=\"" + Xml(first) + " (seed " + std::to_string(o.seed) +
                   ")\">" + Xml(text) + "</failure>\n";
        }
        if (!notes.empty()) out += "      <system-out>" + Xml(notes) + "</system-out>\n";
        out += "    </testcase>\n";
    }
    return out + "  </testsuite>\n</testsuites>\n";
}

}  // namespace validate
