// SPDX-License-Identifier: GPL-3.0-or-later
// Starts a program and waits until a window of that process whose title starts with a given
// text is mapped and viewable. It sleeps on the X server's events (windows created, reparented,
// mapped) rather than polling, so that the wait takes no processor time from the program. Prints
// "milliseconds peak_kB" (the peak taken from /proc once the window is there), then ends the
// program with SIGTERM (SIGKILL when PALQUIN_WAIT_KILL is set).
// Usage: palquin_window_wait TITLE_PREFIX PROGRAM [ARGUMENTS...]
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

namespace {

xcb_atom_t Atom(xcb_connection_t* c, const char* name) {
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
    const xcb_atom_t atom = reply != nullptr ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return atom;
}

std::string Property(xcb_connection_t* c, xcb_window_t w, xcb_atom_t property, xcb_atom_t type) {
    xcb_get_property_reply_t* reply =
        xcb_get_property_reply(c, xcb_get_property(c, 0, w, property, type, 0, 256), nullptr);
    std::string value;
    if (reply != nullptr) {
        value.assign(static_cast<const char*>(xcb_get_property_value(reply)),
                     static_cast<size_t>(xcb_get_property_value_length(reply)));
    }
    std::free(reply);
    return value;
}

struct Atoms {
    xcb_atom_t pid, name, utf8;
};

// Whether w or a window below it is the one looked for.
bool Find(xcb_connection_t* c, xcb_window_t w, const Atoms& atoms, uint32_t pid,
          const std::string& prefix, int depth) {
    const std::string pidBytes = Property(c, w, atoms.pid, XCB_ATOM_CARDINAL);
    if (pidBytes.size() == 4) {
        uint32_t windowPid = 0;
        std::memcpy(&windowPid, pidBytes.data(), 4);
        if (windowPid == pid &&
            Property(c, w, atoms.name, atoms.utf8).compare(0, prefix.size(), prefix) == 0) {
            xcb_get_window_attributes_reply_t* attributes =
                xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, w), nullptr);
            const bool viewable =
                attributes != nullptr && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
            std::free(attributes);
            if (viewable) {
                return true;
            }
        }
    }
    if (depth == 0) {
        return false;
    }
    xcb_query_tree_reply_t* tree = xcb_query_tree_reply(c, xcb_query_tree(c, w), nullptr);
    bool found = false;
    if (tree != nullptr) {
        const xcb_window_t* children = xcb_query_tree_children(tree);
        for (int i = 0; i < xcb_query_tree_children_length(tree) && !found; ++i) {
            found = Find(c, children[i], atoms, pid, prefix, depth - 1);
        }
    }
    std::free(tree);
    return found;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s TITLE_PREFIX PROGRAM [ARGUMENTS...]\n", argv[0]);
        return 2;
    }
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c) != 0) {
        std::fprintf(stderr, "no X display\n");
        return 2;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const Atoms atoms{Atom(c, "_NET_WM_PID"), Atom(c, "_NET_WM_NAME"), Atom(c, "UTF8_STRING")};
    // The window manager's frame lies between the root and the program's window: the root and
    // every window on it report what happens among their children.
    const uint32_t substructure = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &substructure);
    if (xcb_query_tree_reply_t* tree = xcb_query_tree_reply(c, xcb_query_tree(c, root), nullptr)) {
        const xcb_window_t* children = xcb_query_tree_children(tree);
        for (int i = 0; i < xcb_query_tree_children_length(tree); ++i) {
            xcb_change_window_attributes(c, children[i], XCB_CW_EVENT_MASK, &substructure);
        }
        std::free(tree);
    }
    xcb_flush(c);
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execv(argv[2], argv + 2);
        _exit(127);
    }
    const auto found = [&] {
        return Find(c, root, atoms, static_cast<uint32_t>(child), argv[1], 2);
    };
    double ms = -1;
    bool look = false;
    while (std::chrono::steady_clock::now() - start < std::chrono::seconds(60)) {
        while (xcb_generic_event_t* event = xcb_poll_for_event(c)) {
            const uint8_t type = event->response_type & 0x7f;
            if (type == XCB_CREATE_NOTIFY) {
                const auto* created = reinterpret_cast<xcb_create_notify_event_t*>(event);
                if (created->parent == root) {
                    xcb_change_window_attributes(c, created->window, XCB_CW_EVENT_MASK,
                                                 &substructure);
                    xcb_flush(c);
                    look = true;  // the window may have been mapped before it was watched
                }
            } else if (type == XCB_MAP_NOTIFY || type == XCB_REPARENT_NOTIFY) {
                look = true;
            }
            std::free(event);
        }
        if (look) {
            look = false;
            if (found()) {
                ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() -
                                                               start)
                         .count();
                break;
            }
            continue;  // the replies read on the way may have brought events with them
        }
        if (xcb_connection_has_error(c) != 0) {
            break;
        }
        if (waitpid(child, nullptr, WNOHANG) == child) {
            std::fprintf(stderr, "the program ended without a window\n");
            return 1;
        }
        pollfd x{xcb_get_file_descriptor(c), POLLIN, 0};
        ::poll(&x, 1, 100);  // woken by the next event; the time-out only looks after the child
    }
    long peakKb = 0;
    std::ifstream status("/proc/" + std::to_string(child) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmHWM:", 0) == 0) {
            peakKb = std::atol(line.c_str() + 6);
        }
    }
    // SIGKILL for a profile of the start-up alone: the normal end would save the catalogue.
    kill(child, std::getenv("PALQUIN_WAIT_KILL") != nullptr ? SIGKILL : SIGTERM);
    waitpid(child, nullptr, 0);
    xcb_disconnect(c);
    if (ms < 0) {
        std::fprintf(stderr, "no window within 60 s\n");
        return 1;
    }
    std::printf("%.0f %ld\n", ms, peakKb);
    return 0;
}
