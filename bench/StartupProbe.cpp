// Starts a program and reports how long it took until its first top-level window was mapped
// on the X display, and its resident memory once that window is up. A diver opens the
// calculator to check one figure: the wait before the window shows is what they feel. It also
// reports the processor time the process had used by then, all its threads together, which
// other work on a busy machine disturbs far less than the wait.
// Usage: startup_probe <program> [arguments...]
// prints "<milliseconds> <resident kB> <processor milliseconds>"
#include <signal.h>  // NOLINT(modernize-deprecated-headers): POSIX signal calls, not in <csignal>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>
#include <xcb/xproto.h>

#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <ratio>
#include <string>
#include <system_error>
#include <thread>

namespace {

long ResidentKilobytes(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::stol(line.substr(6));
        }
    }
    return -1;
}

// The time the process's threads have run on a processor (the scheduler's own count, in
// nanoseconds), in milliseconds.
double ProcessorMilliseconds(pid_t pid) {
    std::uint64_t nanoseconds = 0;
    std::error_code error;
    const std::filesystem::path tasks = "/proc/" + std::to_string(pid) + "/task";
    for (const auto& task : std::filesystem::directory_iterator(tasks, error)) {
        std::ifstream schedstat(task.path() / "schedstat");
        std::uint64_t ran = 0;
        if (schedstat >> ran) {
            nanoseconds += ran;
        }
    }
    return static_cast<double>(nanoseconds) / 1e6;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <program> [arguments...]\n", argv[0]);
        return 2;
    }
    xcb_connection_t* display = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(display) != 0) {
        std::fprintf(stderr, "cannot open the display\n");
        return 1;
    }
    // Every window mapped as a child of the root announces itself to us.
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(display)).data;
    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(display, screen->root, XCB_CW_EVENT_MASK, &mask);
    // A round trip, so the server has the mask before the program can map anything.
    const std::unique_ptr<xcb_get_input_focus_reply_t, decltype(&std::free)> synced(
        xcb_get_input_focus_reply(display, xcb_get_input_focus(display), nullptr), &std::free);

    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[1], argv + 1);
        _exit(127);
    }
    double milliseconds = -1;
    double processor = -1;
    while (xcb_generic_event_t* event = xcb_wait_for_event(display)) {
        const std::unique_ptr<xcb_generic_event_t, decltype(&std::free)> owned(event, &std::free);
        if ((event->response_type & 0x7F) != XCB_MAP_NOTIFY) {
            continue;
        }
        // Popup menus and tooltips are override-redirect; the main window is not.
        if (reinterpret_cast<xcb_map_notify_event_t*>(event)->override_redirect == 0) {
            milliseconds = std::chrono::duration<double, std::milli>(
                               std::chrono::steady_clock::now() - start)
                               .count();
            processor = ProcessorMilliseconds(child);
            break;
        }
    }
    // Memory once the window has painted and settled.
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    const long resident = ResidentKilobytes(child);
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    xcb_disconnect(display);
    std::printf("%.1f %ld %.1f\n", milliseconds, resident, processor);
    return milliseconds < 0 ? 1 : 0;
}
