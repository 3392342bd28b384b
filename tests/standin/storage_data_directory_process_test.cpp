// The data directory against other processes: a process killed mid-append
// and a second server opening the same directory. They fork, so they stay
// on POSIX systems.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "storage_data_directory_fixture.h"

namespace standin::storage {
namespace {

class DataDirectoryProcessTest : public DataDirectoryTest {
 protected:
  // Runs `open()` in a child process, as another server would.
  std::string open_in_child_process() {
    int pipe_fds[2];
    EXPECT_EQ(::pipe(pipe_fds), 0);
    pid_t child = ::fork();
    if (child == 0) {
      ::close(pipe_fds[0]);
      std::string outcome = "opened";
      try {
        open();
      } catch (const OpenError& e) {
        outcome = e.what();
      } catch (...) {
        outcome = "other exception";
      }
      ssize_t ignored = ::write(pipe_fds[1], outcome.data(), outcome.size());
      (void)ignored;
      ::_exit(0);
    }
    ::close(pipe_fds[1]);
    std::string outcome;
    char buffer[512];
    ssize_t n;
    while ((n = ::read(pipe_fds[0], buffer, sizeof buffer)) > 0) outcome.append(buffer, n);
    ::close(pipe_fds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return outcome;
  }
};

// A process killed with SIGKILL keeps every record whose append returned,
// without any sync: the record is in the kernel once write(2) is back.
TEST_F(DataDirectoryProcessTest, KilledProcessKeepsEveryAppendedRecord) {
  open();  // create the directory
  int pipe_fds[2];
  ASSERT_EQ(::pipe(pipe_fds), 0);
  pid_t child = ::fork();
  if (child == 0) {
    ::close(pipe_fds[0]);
    auto data = open();
    for (uint32_t i = 0;; ++i) {
      data->append_journal("statement " + std::to_string(i));
      if (::write(pipe_fds[1], &i, sizeof i) != sizeof i) ::_exit(1);
    }
  }
  ::close(pipe_fds[1]);
  uint32_t acknowledged = 0, last = 0;
  while (acknowledged < 2000 && ::read(pipe_fds[0], &last, sizeof last) == sizeof last) {
    acknowledged = last + 1;
  }
  ::kill(child, SIGKILL);
  ::waitpid(child, nullptr, 0);
  ::close(pipe_fds[0]);

  auto records = open()->read_journal();
  ASSERT_GE(records.size(), acknowledged);
  for (size_t i = 0; i < records.size(); ++i) EXPECT_EQ(records[i], "statement " + std::to_string(i));
}

TEST_F(DataDirectoryProcessTest, SecondProcessIsRefusedWhileTheDirectoryIsOpen) {
  auto data = open();
  std::string outcome = open_in_child_process();
  EXPECT_EQ(outcome, "data directory " + dir_.string() + " is in use by another process");
  data.reset();
  EXPECT_EQ(open_in_child_process(), "opened");
}
}  // namespace
}  // namespace standin::storage
