// simhost-run's telemetry file: the samples of a run as JSON.
#pragma once

#include <string>
#include <vector>

#include "telemetry/sample.h"
#include "util/atomic_file.h"

namespace app {

// Streams samples to a file as they come, so memory stays flat over long
// runs. The file appears, complete, only at close(); until then any earlier
// file of that name stays as it was.
class JsonTelemetry {
public:
    // Throws sim::WriteError when the file cannot be created.
    JsonTelemetry(const std::string& path, const std::vector<std::string>& modules, const std::string& scenario);

    void add(const Sample& sample);
    // Ends the file with the notes and the saved files and puts it in place;
    // throws sim::WriteError.
    void close(const std::vector<std::string>& events, const std::vector<std::string>& saved);

private:
    sim::AtomicFile file_;
    bool first_ = true;
};

}  // namespace app
