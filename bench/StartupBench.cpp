// Start-up to the main window mapped on an X display, VireoStudio (on the simulated frame
// grabber, with no stored settings) against a Qt hello-world, started alternately in one run.
// The figure is the ratio of the medians. Runs on $DISPLAY (on a machine without one:
// xvfb-run -a startup_bench).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRounds = 21;
constexpr int kMapTimeoutMs = 20000;

struct Program {
    const char* path;
    const char* title; // of the main window
};

std::string Property(xcb_connection_t* x, xcb_window_t window, xcb_atom_t atom, xcb_atom_t type)
{
    xcb_get_property_reply_t* reply =
        xcb_get_property_reply(x, xcb_get_property(x, 0, window, atom, type, 0, 256), nullptr);
    if (!reply)
        return {};
    const std::string value(static_cast<const char*>(xcb_get_property_value(reply)),
                            static_cast<std::size_t>(xcb_get_property_value_length(reply)));
    std::free(reply);
    return value;
}

xcb_atom_t Atom(xcb_connection_t* x, const char* name)
{
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        x, xcb_intern_atom(x, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return atom;
}

// Seconds from the start of the program to the mapping of a top-level window with its main
// window's title; negative when none came.
double TimeToMainWindow(xcb_connection_t* x, const Program& program, const std::string& home)
{
    const auto start = Clock::now();
    const pid_t child = ::fork();
    if (child == 0) {
        ::setenv("QT_QPA_PLATFORM", "xcb", 1);
        ::setenv("XDG_CONFIG_HOME", home.c_str(), 1);
        ::execl(program.path, program.path, static_cast<char*>(nullptr));
        ::_exit(127);
    }
    const xcb_atom_t utf8 = Atom(x, "UTF8_STRING");
    const xcb_atom_t netName = Atom(x, "_NET_WM_NAME");
    const xcb_atom_t windowType = Atom(x, "_NET_WM_WINDOW_TYPE");
    const xcb_atom_t splashType = Atom(x, "_NET_WM_WINDOW_TYPE_SPLASH");
    double seconds = -1;
    const auto deadline = start + std::chrono::milliseconds(kMapTimeoutMs);
    while (seconds < 0 && Clock::now() < deadline) {
        xcb_generic_event_t* event = xcb_poll_for_event(x);
        if (!event) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            pollfd ready{xcb_get_file_descriptor(x), POLLIN, 0};
            if (::poll(&ready, 1, static_cast<int>(std::max<long>(left.count(), 0))) <= 0)
                break;
            continue;
        }
        if ((event->response_type & 0x7F) == XCB_MAP_NOTIFY) {
            const auto* map = reinterpret_cast<xcb_map_notify_event_t*>(event);
            const auto mapped = Clock::now();
            std::string name = Property(x, map->window, netName, utf8);
            if (name.empty())
                name = Property(x, map->window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING);
            // The splash screen may carry the program's name too.
            const std::string type = Property(x, map->window, windowType, XCB_ATOM_ATOM);
            const bool splash = type.size() >= sizeof(xcb_atom_t) &&
                                *reinterpret_cast<const xcb_atom_t*>(type.data()) == splashType;
            if (std::getenv("STARTUP_BENCH_TRACE"))
                std::fprintf(stderr, "mapped \"%s\"%s after %.1f ms\n", name.c_str(),
                             splash ? " (splash)" : "",
                             std::chrono::duration<double, std::milli>(mapped - start).count());
            if (name == program.title && !splash)
                seconds = std::chrono::duration<double>(mapped - start).count();
        }
        std::free(event);
    }
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    return seconds;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main()
{
    xcb_connection_t* x = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(x)) {
        std::fprintf(stderr, "startup_bench: no X display (run it under xvfb-run -a)\n");
        return 1;
    }
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(x)).data;
    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(x, screen->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(x);

    // The program runs on the simulated grabber, as the README's run command starts it.
    ::setenv("CLALLSERIAL_LIBRARY", CLSIM_PATH, 1);
    char home[] = "/tmp/vireo-startup-XXXXXX";
    if (!::mkdtemp(home))
        return 1;
    const Program hello{HELLO_PATH, "Hello"};
    const Program vireo{VIREO_PATH, "VireoStudio"};
    std::vector<double> helloTimes;
    std::vector<double> vireoTimes;
    int status = 0;
    for (int round = 0; round < kRounds && status == 0; ++round) {
        const double h = TimeToMainWindow(x, hello, home);
        const double v = TimeToMainWindow(x, vireo, home);
        if (h < 0 || v < 0) {
            std::fprintf(stderr, "startup_bench: a main window was not mapped\n");
            status = 1;
        }
        helloTimes.push_back(h);
        vireoTimes.push_back(v);
    }
    if (status == 0)
        std::printf("startup_over_hello_world=%.3f (medians of %d: VireoStudio %.1f ms, "
                    "hello-world %.1f ms)\n",
                    Median(vireoTimes) / Median(helloTimes), kRounds, Median(vireoTimes) * 1e3,
                    Median(helloTimes) * 1e3);
    xcb_disconnect(x);
    std::system((std::string("rm -rf '") + home + "'").c_str());
    return status;
}
