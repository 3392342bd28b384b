#include "upgrade/run_log.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <stdexcept>
#include "platform/local_time.h"

namespace upgrade {
namespace {

TranscriptStyle log_style() {
  TranscriptStyle style;
  style.today_as_word = false;
  style.show_counts = true;
  style.stamp = [](std::string_view database) {
    return log_time_stamp() + " " + std::string(database.empty() ? "-" : database) + " ";
  };
  return style;
}

std::ofstream& opened(std::ofstream& file, const std::filesystem::path& path) {
  errno = 0;
  file.open(path, std::ios::binary | std::ios::app);
  if (!file)
    throw std::runtime_error("cannot open the log file " + path.string() + ": " +
                             (errno ? std::strerror(errno) : "unknown reason"));
  return file;
}

}  // namespace

RunLog::RunLog(const std::filesystem::path& path) : writer_(opened(file_, path), log_style()) {}

RunLog::RunLog(std::ostream& out) : writer_(out, log_style()) {}

std::string log_time_stamp() {
  using namespace std::chrono;
  const auto now = system_clock::now();
  const std::time_t seconds = system_clock::to_time_t(now);
  const auto millis = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
  const std::tm local = platform::local_time(seconds);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
  char with_millis[40];
  std::snprintf(with_millis, sizeof with_millis, "%s.%03d", text, static_cast<int>(millis));
  return with_millis;
}

}  // namespace upgrade
