#include "scenario/scenario_block.h"

namespace sim {

bool ScenarioBlock::next_line(char*& line)
{
    if (next_ >= lines.size()) {
        ended_ = true;
        return false;
    }
    const std::string& text = lines[next_++].text;
    buffer_.assign(text.begin(), text.end());
    buffer_.push_back('\0');
    line = buffer_.data();
    return true;
}

void ScenarioBlock::write(const std::string& key, const std::string& value)
{
    written.push_back({value.empty() ? key : key + " " + value, false});
}

void ScenarioBlock::write_host_line(const std::string& key, const std::string& value)
{
    written.push_back({key + " " + value, true});
}

}  // namespace sim
