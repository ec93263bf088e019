#pragma once

#include <functional>
#include <set>
#include <string>

namespace platform::audio {

// Takes one line for the user about something that does not work.
using Report = std::function<void(const std::string& line)>;

// Passes each distinct line on once: a missing library or a silent server is
// said once, not at every click.
class ReportOnce {
 public:
  explicit ReportOnce(Report report) : report_(std::move(report)) {}

  void operator()(const std::string& line) {
    if (said_.insert(line).second && report_) report_(line);
  }

 private:
  Report report_;
  std::set<std::string> said_;
};

}  // namespace platform::audio
