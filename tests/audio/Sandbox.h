#pragma once

#include <stdlib.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/audio/Report.h"

// What the tests against the real libraries share: a folder and environment
// variables of their own, put back afterwards, and the lines the service reports.
namespace testing_support {

// A folder of the test's own under /tmp, removed with everything in it.
class Scratch {
 public:
  explicit Scratch(const std::string& prefix = "orbivane-audio") {
    std::string pattern = "/tmp/" + prefix + "-XXXXXX";
    if (mkdtemp(pattern.data())) path_ = pattern;
  }
  ~Scratch() {
    if (!path_.empty()) std::filesystem::remove_all(path_);
  }
  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// Sets or unsets variables of this process's environment and puts back what was
// there before.
class ScopedEnvironment {
 public:
  void Set(const std::string& name, const std::string& value) {
    Save(name);
    setenv(name.c_str(), value.c_str(), 1);
  }
  void Unset(const std::string& name) {
    Save(name);
    unsetenv(name.c_str());
  }
  ~ScopedEnvironment() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
      if (it->second) {
        setenv(it->first.c_str(), it->second->c_str(), 1);
      } else {
        unsetenv(it->first.c_str());
      }
    }
  }

 private:
  void Save(const std::string& name) {
    const char* old = getenv(name.c_str());
    saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
  }

  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

// The lines a service reports, from whichever thread.
class Reports {
 public:
  platform::audio::Report Sink() {
    return [this](const std::string& line) {
      std::lock_guard lock(mutex_);
      lines_.push_back(line);
      said_.notify_all();
    };
  }
  std::vector<std::string> Lines() {
    std::lock_guard lock(mutex_);
    return lines_;
  }
  bool WaitForOne(std::chrono::seconds limit = std::chrono::seconds(5)) {
    std::unique_lock lock(mutex_);
    return said_.wait_for(lock, limit, [this] { return !lines_.empty(); });
  }

 private:
  std::mutex mutex_;
  std::condition_variable said_;
  std::vector<std::string> lines_;
};

}  // namespace testing_support
