// Start-up time of whole programs on an X display: from the moment the
// process is started to the moment its first top-level window is mapped,
// and to the moment the program first draws into that window (its first
// paint, seen through the DAMAGE extension).
// The programs are run in turn (the order rotating every round, so that a
// busy machine hurts all of them alike); each is killed once its window is
// up. Prints for each program the median start-up time and peak resident
// memory, and its ratio to the first program.
//
//   bench_startup [--runs N] [--remove FILE]... NAME=PROGRAM [ARG...] ...
//
// Each NAME=... is one argument; the program and its arguments are split at
// blanks. --remove names a file that a killed program leaves and a closed
// one does not (the lock of the slip it showed): it is removed after every
// run, so that each run starts as after a normal close. bench/startup/
// startup.sh runs it under its own Xvfb.
#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <signal.h>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Program {
    std::string name;
    std::vector<std::string> argv;
    std::vector<double> ms;
    std::vector<double> paintMs;
    std::vector<long> peakKb;
};

struct Run {
    double ms = -1;      // negative: no window within the time limit
    double paintMs = -1; // negative: nothing drawn within the time limit
    long peakKb = 0;
};

int damageEvents = -1; // the DAMAGE extension's first event number; -1 without it

double median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

double msSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Waits for a MapNotify of a child of the root window, then for the first
// drawing into that window, up to limitMs in all.
void waitForWindow(Display *display, Clock::time_point start, int limitMs, Run *run)
{
    pollfd fd{ConnectionNumber(display), POLLIN, 0};
    Damage damage = 0;
    for (;;) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (run->ms < 0 && event.type == MapNotify && event.xmap.event == DefaultRootWindow(display)) {
                run->ms = msSince(start);
                if (damageEvents < 0)
                    return;
                // The server reports the whole window as damaged when the
                // damage object is made on a window just shown; the round
                // trip collects that report, and the next one is the
                // program's own drawing.
                damage = XDamageCreate(display, event.xmap.window, XDamageReportRawRectangles);
                XSync(display, False);
                XEvent pending;
                while (XCheckTypedEvent(display, damageEvents + XDamageNotify, &pending)) {
                }
            } else if (damage && event.type == damageEvents + XDamageNotify) {
                run->paintMs = msSince(start);
                XDamageDestroy(display, damage);
                XSync(display, False);
                return;
            }
        }
        const auto left = limitMs - msSince(start);
        if (left <= 0) {
            if (damage)
                XDamageDestroy(display, damage);
            return;
        }
        if (poll(&fd, 1, int(left) + 1) < 0 && errno != EINTR)
            return;
    }
}

Run runOnce(Display *display, const Program &program)
{
    // Events of earlier runs (unmaps, destroys) are dropped first.
    XSync(display, False);
    while (XPending(display)) {
        XEvent event;
        XNextEvent(display, &event);
    }
    std::vector<char *> argv;
    for (const std::string &a : program.argv)
        argv.push_back(const_cast<char *>(a.c_str()));
    argv.push_back(nullptr);

    Run run;
    const auto start = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        execv(argv[0], argv.data());
        std::perror(argv[0]);
        _exit(127);
    }
    if (pid < 0)
        return run;
    waitForWindow(display, start, 20000, &run);
    kill(pid, SIGKILL);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    run.peakKb = usage.ru_maxrss;
    return run;
}

} // namespace

int main(int argc, char **argv)
{
    int runs = 15;
    std::vector<Program> programs;
    std::vector<std::string> leftovers;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--runs" && i + 1 < argc) {
            runs = std::max(1, std::atoi(argv[++i]));
            continue;
        }
        if (arg == "--remove" && i + 1 < argc) {
            leftovers.push_back(argv[++i]);
            continue;
        }
        const size_t eq = arg.find('=');
        if (eq == std::string::npos || eq == 0) {
            std::fprintf(stderr, "usage: %s [--runs N] [--remove FILE]... NAME=PROGRAM [ARG...] ...\n",
                         argv[0]);
            return 2;
        }
        Program p;
        p.name = arg.substr(0, eq);
        std::istringstream words(arg.substr(eq + 1));
        for (std::string w; words >> w;)
            p.argv.push_back(w);
        programs.push_back(p);
    }
    if (programs.empty()) {
        std::fprintf(stderr, "usage: %s [--runs N] [--remove FILE]... NAME=PROGRAM [ARG...] ...\n", argv[0]);
        return 2;
    }
    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "no X display (DISPLAY=%s)\n",
                     std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "");
        return 1;
    }
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    int damageErrors = 0;
    if (!XDamageQueryExtension(display, &damageEvents, &damageErrors)) {
        damageEvents = -1;
        std::fprintf(stderr, "no DAMAGE extension: the first paint is not measured\n");
    }

    const auto runAndTidy = [&](const Program &p) {
        const Run run = runOnce(display, p);
        for (const std::string &f : leftovers)
            unlink(f.c_str());
        return run;
    };
    // One warm-up round: page cache, font cache.
    for (const Program &p : programs)
        runAndTidy(p);
    for (int r = 0; r < runs; ++r) {
        for (size_t k = 0; k < programs.size(); ++k) {
            Program &p = programs[(k + size_t(r)) % programs.size()];
            const Run run = runAndTidy(p);
            if (run.ms < 0) {
                std::fprintf(stderr, "%s: no window within 20 s\n", p.name.c_str());
                return 1;
            }
            p.ms.push_back(run.ms);
            if (run.paintMs >= 0)
                p.paintMs.push_back(run.paintMs);
            p.peakKb.push_back(run.peakKb);
        }
    }
    XCloseDisplay(display);

    const double base = median(programs.front().ms);
    const double paintBase = median(programs.front().paintMs);
    std::printf("%-16s %10s %7s %12s %7s %12s   (%d runs each, alternating)\n", "program", "mapped ms",
                "ratio", "painted ms", "ratio", "peak RSS MB", runs);
    for (const Program &p : programs) {
        std::vector<double> kb(p.peakKb.begin(), p.peakKb.end());
        const double m = median(p.ms);
        const double painted = median(p.paintMs);
        std::printf("%-16s %10.1f %7.2f %12.1f %7.2f %12.1f\n", p.name.c_str(), m, base > 0 ? m / base : 0,
                    painted, paintBase > 0 ? painted / paintBase : 0, median(kb) / 1024.0);
    }
    return 0;
}
