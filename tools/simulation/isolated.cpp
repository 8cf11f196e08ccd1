#include "tools/simulation/isolated.h"

#include <poll.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <utility>

namespace tb::simulation {
namespace {

using Clock = std::chrono::steady_clock;

struct Range {
  std::size_t begin;
  std::size_t end;
};

struct Worker {
  pid_t pid = -1;
  int fd = -1;
  std::size_t next = 0;  // the job it is on
  std::size_t end = 0;
  std::string pending;  // an unfinished line
  Clock::time_point lastNews;
};

void WriteAll(int fd, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t wrote = write(fd, text.data() + done, text.size() - done);
    if (wrote <= 0) {
      _exit(3);
    }
    done += static_cast<std::size_t>(wrote);
  }
}

// One line per job: "INDEX +" when it survived, "INDEX - WHAT | WHAT" when
// something broke.
[[noreturn]] void RunChild(Range range, int fd, const Job& job) {
  for (std::size_t i = range.begin; i < range.end; ++i) {
    const std::vector<std::string> broken = job(i);
    std::string line = std::to_string(i) + (broken.empty() ? " +" : " -");
    for (std::size_t b = 0; b < broken.size(); ++b) {
      line += (b == 0 ? " " : " | ") + broken[b];
    }
    for (char& c : line) {
      if (c == '\n' || c == '\r') {
        c = ' ';
      }
    }
    WriteAll(fd, line + "\n");
  }
  _exit(0);
}

std::string HowItEnded(int status) {
  if (WIFSIGNALED(status)) {
    return "crashed: signal " + std::to_string(WTERMSIG(status)) + " (" +
           strsignal(WTERMSIG(status)) + ")";
  }
  if (WIFEXITED(status)) {
    return "the process ended with status " + std::to_string(WEXITSTATUS(status));
  }
  return "the process ended";
}

class Pool {
 public:
  Pool(std::size_t count, const Isolation& isolation, const Job& job)
      : isolation_(isolation), job_(job), outcomes_(count) {
    for (std::size_t begin = 0; begin < count; begin += isolation.batch) {
      queue_.push_back(Range{begin, std::min(count, begin + isolation.batch)});
    }
  }

  std::vector<Outcome> Run() {
    while (!queue_.empty() || !workers_.empty()) {
      while (!queue_.empty() && static_cast<int>(workers_.size()) < isolation_.processes) {
        Start(queue_.front());
        queue_.pop_front();
      }
      Wait();
    }
    return std::move(outcomes_);
  }

 private:
  void Start(Range range) {
    int fds[2];
    if (pipe(fds) != 0) {
      std::perror("fault sweep: pipe");
      std::exit(2);
    }
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid < 0) {
      std::perror("fault sweep: fork");
      std::exit(2);
    }
    if (pid == 0) {
      close(fds[0]);
      RunChild(range, fds[1], job_);
    }
    close(fds[1]);
    workers_.push_back(Worker{pid, fds[0], range.begin, range.end, {}, Clock::now()});
  }

  void Wait() {
    std::vector<pollfd> polled;
    for (const Worker& worker : workers_) {
      polled.push_back(pollfd{worker.fd, POLLIN, 0});
    }
    poll(polled.data(), polled.size(), 500);
    for (std::size_t w = workers_.size(); w-- > 0;) {
      Worker& worker = workers_[w];
      if ((polled[w].revents & (POLLIN | POLLHUP | POLLERR)) != 0) {
        if (!Read(worker)) {
          int status = 0;
          waitpid(worker.pid, &status, 0);
          Finish(w, Outcome::kCrashed, HowItEnded(status));
          continue;
        }
      }
      const auto silent = Clock::now() - worker.lastNews;
      if (silent > isolation_.hangAfter) {
        kill(worker.pid, SIGKILL);
        waitpid(worker.pid, nullptr, 0);
        Finish(
            w, Outcome::kHung,
            "hung: no answer for " +
                std::to_string(std::chrono::duration_cast<std::chrono::seconds>(silent).count()) +
                " s");
      }
    }
  }

  // Takes what the worker wrote; false at the end of its output.
  bool Read(Worker& worker) {
    char buffer[4096];
    const ssize_t got = read(worker.fd, buffer, sizeof buffer);
    if (got <= 0) {
      return false;
    }
    worker.pending.append(buffer, static_cast<std::size_t>(got));
    std::size_t newline = 0;
    while ((newline = worker.pending.find('\n')) != std::string::npos) {
      const std::string line = worker.pending.substr(0, newline);
      worker.pending.erase(0, newline + 1);
      const std::size_t space = line.find(' ');
      const std::size_t index = std::stoul(line.substr(0, space));
      Outcome& outcome = outcomes_.at(index);
      outcome.kind = line.compare(space + 1, 1, "+") == 0 ? Outcome::kSurvived : Outcome::kBroken;
      outcome.details = line.size() > space + 3 ? line.substr(space + 3) : "";
      worker.next = index + 1;
      worker.lastNews = Clock::now();
    }
    return true;
  }

  // Ends a worker; a job it had not reported gets `kind`, and the rest of
  // its batch goes to a new process.
  void Finish(std::size_t w, Outcome::Kind kind, const std::string& details) {
    Worker worker = workers_[w];
    close(worker.fd);
    workers_.erase(workers_.begin() + static_cast<std::ptrdiff_t>(w));
    if (worker.next < worker.end) {
      outcomes_.at(worker.next) = Outcome{kind, details};
      if (worker.next + 1 < worker.end) {
        queue_.push_front(Range{worker.next + 1, worker.end});
      }
    }
  }

  const Isolation& isolation_;
  const Job& job_;
  std::vector<Outcome> outcomes_;
  std::deque<Range> queue_;
  std::vector<Worker> workers_;
};

}  // namespace

std::vector<Outcome> RunIsolated(std::size_t count, const Isolation& isolation, const Job& job) {
  return Pool(count, isolation, job).Run();
}

}  // namespace tb::simulation
