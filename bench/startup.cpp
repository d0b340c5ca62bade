// Start-up to first frame: spawns velmora-bench-frame alternately for a bare window and the main
// window, with the spawn time taken just before posix_spawn, and prints medians.
// Usage: velmora-bench-startup [runs-per-kind]
#include "benchutil.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

extern char** environ;

namespace {

using namespace velmora::bench;

struct Sample {
    double toMain;   // spawn to main()
    double toBuilt;  // spawn to window built (application object included)
    double toFrame;  // spawn to first frame flushed
};

bool RunOnce(const std::string& exe, const char* mode, Sample* sample) {
    int fds[2];
    if (pipe(fds) != 0) {
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    std::string exeArg = exe;
    std::string modeArg = mode;
    char* argv[] = {exeArg.data(), modeArg.data(), nullptr};
    pid_t pid = 0;
    const std::int64_t spawned = MonotonicNs();
    const int rc = posix_spawn(&pid, exe.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    if (rc != 0) {
        close(fds[0]);
        return false;
    }
    std::string out;
    char buffer[256];
    for (ssize_t n; (n = read(fds[0], buffer, sizeof buffer)) > 0;) {
        out.append(buffer, static_cast<std::size_t>(n));
    }
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    long long main = 0;
    long long built = 0;
    long long frame = 0;
    if (std::sscanf(out.c_str(), "%lld %lld %lld", &main, &built, &frame) != 3) {
        std::fprintf(stderr, "no frame reported by %s %s (status %d)\n", exe.c_str(), mode, status);
        return false;
    }
    *sample = {Ms(main - spawned), Ms(built - spawned), Ms(frame - spawned)};
    return true;
}

std::string Name(const std::string& kind) {
    if (kind == "bare") {
        return "bare 515x549 QWidget";
    }
    if (kind == "bare-sharegl") {
        return "bare window + AA_ShareOpenGLContexts";
    }
    return kind == "form" ? "main window, browser panes on" : "main window, browser panes off";
}

}  // namespace

int main(int argc, char* argv[]) {
    const int runs = argc > 1 ? std::atoi(argv[1]) : 15;
    const std::string exe =
        (std::filesystem::path(argv[0]).parent_path() / "velmora-bench-frame").string();
    const char* kinds[] = {"bare", "bare-sharegl", "form", "form-nopanes"};
    std::map<std::string, std::vector<Sample>> samples;
    for (int run = -1; run < runs; ++run) {  // run -1 warms the caches and is not counted
        // The order rotates from round to round, so no kind always follows the same one.
        for (std::size_t k = 0; k < std::size(kinds); ++k) {
            const char* kind = kinds[(k + static_cast<std::size_t>(run + 1)) % std::size(kinds)];
            Sample sample{};
            if (!RunOnce(exe, kind, &sample)) {
                return EXIT_FAILURE;
            }
            if (run >= 0) {
                samples[kind].push_back(sample);
            }
        }
    }
    auto median = [&](const char* kind, double Sample::*field) {
        std::vector<double> values;
        for (const Sample& s : samples[kind]) {
            values.push_back(s.*field);
        }
        return Median(values);
    };
    const double bare = median("bare", &Sample::toFrame);
    for (const char* kind : kinds) {
        const double frame = median(kind, &Sample::toFrame);
        const std::string name = Name(kind);
        const std::string detail = " (main() at " + Fixed(median(kind, &Sample::toMain), 1) +
                                   ", window built at " + Fixed(median(kind, &Sample::toBuilt), 1) +
                                   ")";
        if (std::string(kind) == "bare") {
            Row("start-up to first frame: " + name, Fixed(frame, 1) + " ms" + detail, "-", "-");
        } else if (std::string(kind) == "bare-sharegl") {
            Row("start-up to first frame: " + name,
                Fixed(frame, 1) + " ms = " + Fixed(frame / bare, 2) + "x bare" + detail,
                "diagnostic", "-");
        } else {
            const double ratio = frame / bare;
            Row("start-up to first frame: " + name,
                Fixed(frame, 1) + " ms = " + Fixed(ratio, 2) + "x bare" + detail, "<= 1.5x bare",
                ratio <= 1.5 ? "met" : "missed");
        }
    }
    std::printf("(medians of %d alternating runs per kind, spawn to first flushed frame)\n", runs);
    return EXIT_SUCCESS;
}
