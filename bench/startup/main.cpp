// Start-up benchmark: time from process start to the main window painted, and peak
// memory, of the program against a bare Qt window. Runs each RUNS times (default 15),
// alternating, and prints the medians and their ratios (goal: at most 1.5 for both).
//
//     bench/startup [RUNS]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

struct Sample
{
    double ms = 0;
    long maxRssKiB = 0;
};

Sample RunOnce(const std::string& program)
{
    int out[2];
    if (pipe(out) != 0)
        std::exit(2);
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(out[1], STDOUT_FILENO);
        const int null = open("/dev/null", O_WRONLY); // Qt's platform chatter
        dup2(null, STDERR_FILENO);
        close(out[0]);
        close(out[1]);
        execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(out[1]);
    char buffer[64];
    const ssize_t n = read(out[0], buffer, sizeof buffer); // "shown"
    const auto shown = std::chrono::steady_clock::now();
    close(out[0]);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    if (n <= 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s did not show its window\n", program.c_str());
        std::exit(1);
    }
    return {std::chrono::duration<double, std::milli>(shown - start).count(), usage.ru_maxrss};
}

template <class T> T Median(std::vector<T> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char* argv[])
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    std::string self = argv[0];
    const std::string folder = self.substr(0, self.find_last_of('/') + 1);
    const std::string bare = folder + "startup_bare";
    const std::string window = folder + "startup_window";
    if (!getenv("DISPLAY") && !getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);

    RunOnce(bare); // warm the file cache for both
    RunOnce(window);
    std::vector<double> bareMs, windowMs;
    std::vector<long> bareRss, windowRss;
    for (int i = 0; i < runs; ++i) {
        const Sample b = RunOnce(bare);
        const Sample w = RunOnce(window);
        bareMs.push_back(b.ms);
        windowMs.push_back(w.ms);
        bareRss.push_back(b.maxRssKiB);
        windowRss.push_back(w.maxRssKiB);
    }
    const double tb = Median(bareMs), tw = Median(windowMs);
    const long mb = Median(bareRss), mw = Median(windowRss);
    std::printf("start-up to window shown: program %.1f ms, bare Qt window %.1f ms, ratio %.2f\n",
                tw, tb, tw / tb);
    std::printf("peak memory:              program %ld KiB, bare Qt window %ld KiB, ratio %.2f\n",
                mw, mb, double(mw) / double(mb));
    return 0;
}
