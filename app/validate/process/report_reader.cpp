#include "process/report_reader.h"

#include <cstdlib>
#include <cstring>

namespace validate {

namespace {
// The detail of an action keeps its line breaks as "\n" escapes.
std::string Unescaped(const std::string& s)
{
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 1 < s.size()) {
            out += s[i + 1] == 'n' ? '\n' : s[i + 1];
            ++i;
        } else {
            out += s[i];
        }
    }
    return out;
}
}  // namespace

void ReportReader::take(const char* data, size_t size)
{
    while (size > 0) {
        if (finished_) {
            past_end_ += size;
            return;
        }
        const char* nl = static_cast<const char*>(std::memchr(data, '\n', size));
        const size_t part = nl ? static_cast<size_t>(nl - data) : size;
        // One line is never kept longer than the whole report may be.
        const size_t room = report_cap - std::min(report_cap, line_.size());
        line_.append(data, std::min(part, room));
        if (part > room) cut_bytes_ += part - room, line_cut_ = true;
        if (!nl) return;
        if (line_cut_) ++cut_messages_;
        Line(line_);
        line_.clear();
        line_cut_ = false;
        data += part + 1;
        size -= part + 1;
    }
}

void ReportReader::Line(std::string& line)
{
    if (line.empty()) return;
    const char kind = line[0];
    std::string text = line.substr(1);
    if (kind == 'F' || kind == 'W' || kind == 'N') {
        if (kept_ + text.size() > report_cap) {
            cut_bytes_ += text.size();
            ++cut_messages_;
            return;
        }
        kept_ += text.size();
        (kind == 'F' ? out_.failures : kind == 'W' ? out_.warnings : out_.notes).push_back(std::move(text));
    } else if (kind == 'A' && text != out_.action) {
        out_.action = std::move(text), out_.detail.clear();
    } else if (kind == 'T') {
        out_.trial = std::atoi(text.c_str());
    } else if (kind == 'C') {
        out_.site = std::move(text);
    } else if (kind == 'B') {
        out_.detail = Unescaped(text);
    } else if (kind == 'D') {
        if (text == seal_)
            finished_ = true;
        else
            ++false_ends_;
    }
}

void ReportReader::finish()
{
    if (false_ends_)
        out_.failures.push_back(
            "something in the check's process wrote into the validator's report pipe: " + std::to_string(false_ends_) +
            " report end(s) the validator did not make (a module writing to a descriptor it "
            "did not open?)");
    if (cut_messages_)
        out_.notes.push_back("the check's report was cut at " + std::to_string(report_cap >> 20) +
                             " MB: " + std::to_string(cut_messages_) + " message(s), " + std::to_string(cut_bytes_) +
                             " bytes, not kept");
}

}  // namespace validate
