/* Start-up time of a windowed program: from just before exec to the X server's
 * MapNotify of its first top-level window, over several runs.
 *
 * Usage: map_wait RUNS PROGRAM [ARG...]
 * Each run starts PROGRAM in the current folder, waits (at most 10 s) for the first
 * window mapped on the root window after the start, then ends the program with SIGTERM
 * (SIGKILL after 5 s) before the next run. Prints one line per run and the median, in
 * milliseconds. Exit 1 when a run saw no window or the program ended early. */
#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
#include <xcb/xcb.h>

static double now_ms(void) {
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1000.0 + ts.tv_nsec / 1e6;
}

static int compare(const void* a, const void* b) {
    double x = *(const double*)a, y = *(const double*)b;
    return (x > y) - (x < y);
}

/* Waits for the child to end; SIGKILL after `grace_ms`. */
static void reap(pid_t pid, double grace_ms) {
    double end = now_ms() + grace_ms;
    for (;;) {
        int status;
        pid_t r = waitpid(pid, &status, WNOHANG);
        if (r == pid || (r < 0 && errno != EINTR)) return;
        if (now_ms() > end) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            return;
        }
        usleep(10000);
    }
}

/* Milliseconds from exec to the first MapNotify, or a negative value on failure. */
static double one_run(xcb_connection_t* c, xcb_window_t root, char** argv) {
    /* Drop whatever earlier runs left queued. */
    xcb_generic_event_t* e;
    while ((e = xcb_poll_for_event(c)) != NULL) free(e);
    double start = now_ms();
    pid_t pid = fork();
    if (pid < 0) return -1;
    if (pid == 0) {
        /* The program's own output would mix with the figures. */
        int null = open("/dev/null", O_WRONLY);
        if (null >= 0) {
            dup2(null, 1);
            dup2(null, 2);
        }
        execvp(argv[0], argv);
        _exit(127);
    }
    double result = -1;
    int fd = xcb_get_file_descriptor(c);
    while (result < 0 && now_ms() - start < 10000) {
        while ((e = xcb_poll_for_event(c)) != NULL) {
            if ((e->response_type & 0x7f) == XCB_MAP_NOTIFY) {
                xcb_map_notify_event_t* m = (xcb_map_notify_event_t*)e;
                if (m->event == root && result < 0) result = now_ms() - start;
            }
            free(e);
        }
        if (result >= 0) break;
        if (xcb_connection_has_error(c)) break;
        int status;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            fprintf(stderr, "map_wait: %s ended before showing a window\n", argv[0]);
            return -1;
        }
        struct pollfd p = {fd, POLLIN, 0};
        poll(&p, 1, 20);
    }
    kill(pid, SIGTERM);
    reap(pid, 5000);
    return result;
}

int main(int argc, char** argv) {
    if (argc < 3 || atoi(argv[1]) < 1) {
        fprintf(stderr, "usage: map_wait RUNS PROGRAM [ARG...]\n");
        return 2;
    }
    int runs = atoi(argv[1]);
    xcb_connection_t* c = xcb_connect(NULL, NULL);
    if (xcb_connection_has_error(c)) {
        fprintf(stderr, "map_wait: cannot open the display\n");
        return 1;
    }
    xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_void_cookie_t ck = xcb_change_window_attributes_checked(c, root, XCB_CW_EVENT_MASK, &mask);
    xcb_generic_error_t* err = xcb_request_check(c, ck);
    if (err) {
        fprintf(stderr, "map_wait: cannot watch the root window\n");
        free(err);
        return 1;
    }
    double* times = calloc((size_t)runs, sizeof(double));
    for (int i = 0; i < runs; ++i) {
        times[i] = one_run(c, root, argv + 2);
        if (times[i] < 0) {
            fprintf(stderr, "map_wait: run %d saw no window\n", i + 1);
            return 1;
        }
        printf("run %d: %.1f ms\n", i + 1, times[i]);
        fflush(stdout);
    }
    qsort(times, (size_t)runs, sizeof(double), compare);
    double median =
        runs % 2 ? times[runs / 2] : (times[runs / 2 - 1] + times[runs / 2]) / 2.0;
    printf("median: %.1f ms (min %.1f, max %.1f, %d runs)\n", median, times[0],
           times[runs - 1], runs);
    free(times);
    xcb_disconnect(c);
    return 0;
}
