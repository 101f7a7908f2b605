// The program on a virtual X screen with a window manager, at the screen sizes and scales it
// meets: where its windows end up, decorations included, as the window manager reports them.
#include "tests/support/Process.h"

#include <gtest/gtest.h>
// After the test framework: Xlib's macros (None, Bool) would rename its names.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace testing_support;

namespace {

struct Frame {
    int x = 0, y = 0, width = 0, height = 0;
    bool decorated = false; // the window manager has told its decorations
    int Right() const { return x + width; }
    int Bottom() const { return y + height; }
};

std::string Text(const Frame& f)
{
    return std::to_string(f.x) + "," + std::to_string(f.y) + " " + std::to_string(f.width) + "x" +
           std::to_string(f.height);
}

// A program's full path on PATH, or empty.
std::string OnPath(const std::string& name)
{
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "/usr/bin:/bin";
    for (std::size_t start = 0; start <= dirs.size();) {
        const std::size_t end = std::min(dirs.find(':', start), dirs.size());
        const std::filesystem::path candidate = dirs.substr(start, end - start) + "/" + name;
        if (::access(candidate.c_str(), X_OK) == 0)
            return candidate;
        start = end + 1;
    }
    return {};
}

// Waits for done, checking every 50 ms, up to timeoutMs.
template <typename Done> bool Within(int timeoutMs, Done done)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        if (done())
            return true;
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

class XScreen {
public:
    explicit XScreen(Display* display) : m_display(display), m_root(DefaultRootWindow(display)) {}

    bool HasWindowManager() { return !Windows("_NET_SUPPORTING_WM_CHECK").empty(); }

    // The managed windows that are on show, by title, with their frames.
    std::map<std::string, Frame> Frames()
    {
        std::map<std::string, Frame> frames;
        for (const Window window : Windows("_NET_CLIENT_LIST")) {
            XWindowAttributes attributes;
            if (!XGetWindowAttributes(m_display, window, &attributes) ||
                attributes.map_state != IsViewable)
                continue;
            int x = 0, y = 0;
            Window child;
            XTranslateCoordinates(m_display, window, m_root, 0, 0, &x, &y, &child);
            const std::vector<long> extents = Cardinals(window, "_NET_FRAME_EXTENTS");
            Frame frame{x, y, attributes.width, attributes.height, extents.size() == 4};
            if (frame.decorated) {
                const long left = extents[0], right = extents[1], top = extents[2],
                           bottom = extents[3];
                frame = {x - static_cast<int>(left), y - static_cast<int>(top),
                         attributes.width + static_cast<int>(left + right),
                         attributes.height + static_cast<int>(top + bottom), true};
            }
            char* name = nullptr;
            XFetchName(m_display, window, &name);
            frames[name ? name : ""] = frame;
            if (name)
                XFree(name);
        }
        return frames;
    }

private:
    std::vector<long> Cardinals(Window window, const char* property)
    {
        Atom type;
        int format;
        unsigned long count, after;
        unsigned char* data = nullptr;
        std::vector<long> values;
        const Atom atom = XInternAtom(m_display, property, False);
        if (XGetWindowProperty(m_display, window, atom, 0, 64, False, AnyPropertyType, &type,
                               &format, &count, &after, &data) == Success &&
            data && format == 32) {
            const long* items = reinterpret_cast<const long*>(data);
            values.assign(items, items + count);
        }
        if (data)
            XFree(data);
        return values;
    }

    std::vector<Window> Windows(const char* property)
    {
        std::vector<Window> windows;
        for (const long id : Cardinals(m_root, property))
            windows.push_back(static_cast<Window>(id));
        return windows;
    }

    Display* m_display;
    Window m_root;
};

} // namespace

TEST(WindowsOnScreen, WithinTheScreenTheLogWindowBesideTheMainWindowOrClosed)
{
    const std::string xvfb = OnPath("Xvfb");
    const std::string openbox = OnPath("openbox");
    if (xvfb.empty() || openbox.empty())
        GTEST_SKIP() << "Xvfb and openbox are needed (apt-get install xvfb openbox)";

    struct Row {
        int width, height;
        const char* scale;
        bool room; // for both windows side by side or one above the other
    };
    const Row rows[] = {
        {1600, 1200, "1", true}, {1600, 1200, "1.5", true}, {1600, 1200, "2", true},
        {1280, 800, "1", true},  {1280, 800, "1.5", true},  {1280, 800, "2", false},
        {1024, 768, "1", true},  {1024, 768, "1.5", false}, {1024, 768, "2", false},
    };
    const char* display0 = std::getenv("DISPLAY");
    const std::string originalDisplay = display0 ? display0 : "";
    const std::filesystem::path config =
        std::filesystem::temp_directory_path() / ("vireo-screen-" + std::to_string(::getpid()));
    for (const Row& row : rows) {
        const std::string size = std::to_string(row.width) + "x" + std::to_string(row.height);
        SCOPED_TRACE(size + " at scale " + row.scale);
        // Xvfb picks a free display and names it on standard output once it accepts clients.
        BackgroundProcess server(
            {xvfb, "-displayfd", "1", "-screen", "0", size + "x24", "-nolisten", "tcp"});
        const std::string number = server.FirstLine();
        ASSERT_FALSE(number.empty()) << "Xvfb did not start";
        const std::string name = ":" + number;
        Display* display = XOpenDisplay(name.c_str());
        ASSERT_NE(display, nullptr);
        XScreen screen(display);

        ::setenv("DISPLAY", name.c_str(), 1);
        BackgroundProcess manager({openbox, "--sm-disable"});
        EXPECT_TRUE(Within(10000, [&] { return screen.HasWindowManager(); }));

        // As the run command starts it: on the simulated grabber, with settings of its own.
        std::filesystem::remove_all(config);
        std::filesystem::create_directories(config);
        ::setenv("QT_QPA_PLATFORM", "xcb", 1);
        ::setenv("QT_SCALE_FACTOR", row.scale, 1);
        ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
        ::setenv("CLALLSERIAL_LIBRARY", CLSIM_PATH, 1);
        BackgroundProcess program({VIREOSTUDIO_PATH});

        // Start-up ends with the setup dialog; the places settle once the decorations are known
        // (unchanged for half a second).
        std::map<std::string, Frame> frames;
        std::string previous;
        int unchanged = 0;
        const bool settled = Within(15000, [&] {
            frames.clear();
            // The main window's title may carry the camera's line ("VireoStudio - ...").
            for (auto& [title, frame] : screen.Frames())
                frames[title.rfind("VireoStudio", 0) == 0 ? "VireoStudio" : title] = frame;
            std::string now;
            for (const auto& [title, frame] : frames)
                now += title + (frame.decorated ? " " : " (bare) ") + Text(frame) + "; ";
            unchanged = now == previous ? unchanged + 1 : 0;
            previous = now;
            // Where there is no room beside the main window the log window stays closed.
            const bool shown = frames.count("VireoStudio") && frames.count("COMM Setup") &&
                               frames.count("Log") == (row.room ? 1u : 0u);
            return shown && unchanged >= 10;
        });
        program.Stop();
        manager.Stop();
        XCloseDisplay(display);
        server.Stop();
        ASSERT_TRUE(settled) << previous;

        SCOPED_TRACE(previous);
        for (const auto& [title, frame] : frames) {
            EXPECT_TRUE(frame.decorated) << title;
            EXPECT_GE(frame.x, 0) << title;
            EXPECT_GE(frame.y, 0) << title;
            EXPECT_LE(frame.Right(), row.width) << title;
            EXPECT_LE(frame.Bottom(), row.height) << title;
        }
        if (!row.room)
            continue;
        const Frame& main = frames["VireoStudio"];
        const Frame& log = frames["Log"];
        EXPECT_TRUE(log.x >= main.Right() || log.Right() <= main.x || log.y >= main.Bottom() ||
                    log.Bottom() <= main.y);
    }
    std::filesystem::remove_all(config);
    for (const char* variable :
         {"QT_QPA_PLATFORM", "QT_SCALE_FACTOR", "XDG_CONFIG_HOME", "CLALLSERIAL_LIBRARY"})
        ::unsetenv(variable);
    if (originalDisplay.empty())
        ::unsetenv("DISPLAY");
    else
        ::setenv("DISPLAY", originalDisplay.c_str(), 1);
}
