#include "x11_support.h"

#include <X11/XKBlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>

namespace x11test {

namespace {

KeySym keysymOf(Lock lock) {
  switch (lock) {
    case Lock::Num:
      return XK_Num_Lock;
    case Lock::Scroll:
      return XK_Scroll_Lock;
    case Lock::Caps:
      break;
  }
  return XK_Caps_Lock;
}

unsigned modifiersOf(Display* display, Lock lock) {
  if (lock == Lock::Caps) return LockMask;
  if (lock == Lock::Num) return XkbKeysymToModifiers(display, XK_Num_Lock);
  return 0;
}

}  // namespace

Display* openDisplay() {
  XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
  return XOpenDisplay(nullptr);
}

double nowMs() {
  timespec now = {};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
}

Spawned spawn(const std::string& program, const std::vector<std::string>& args,
              const std::vector<EnvChange>& env) {
  int out[2] = {-1, -1}, err[2] = {-1, -1};
  if (pipe(out) != 0 || pipe(err) != 0) return {};
  Spawned spawned;
  spawned.pid = fork();
  if (spawned.pid == 0) {
    setsid();
    // The session the tests run in is the X server's only: whatever the caller's is.
    unsetenv("WAYLAND_DISPLAY");
    unsetenv("XDG_SESSION_TYPE");
    for (const auto& [name, value] : env) {
      if (value == nullptr) {
        unsetenv(name.c_str());
      } else {
        setenv(name.c_str(), value, 1);
      }
    }
    dup2(out[1], STDOUT_FILENO);
    dup2(err[1], STDERR_FILENO);
    close(out[0]);
    close(err[0]);
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  close(out[1]);
  close(err[1]);
  spawned.out = out[0];
  spawned.err = err[0];
  return spawned;
}

Result finish(const Spawned& spawned, int limitMs) {
  Result result;
  const double start = nowMs();
  pollfd fds[2] = {{spawned.out, POLLIN, 0}, {spawned.err, POLLIN, 0}};
  std::string* sinks[2] = {&result.out, &result.err};
  int open = 2;
  while (open > 0) {
    const int left = limitMs - static_cast<int>(nowMs() - start);
    if (left <= 0 || poll(fds, 2, left) <= 0) break;
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || fds[i].revents == 0) continue;
      char buffer[4096];
      const ssize_t got = read(fds[i].fd, buffer, sizeof buffer);
      if (got > 0) {
        sinks[i]->append(buffer, static_cast<std::size_t>(got));
      } else {
        close(fds[i].fd);
        fds[i].fd = -1;
        --open;
      }
    }
  }
  int status = 0;
  if (open > 0) kill(spawned.pid, SIGKILL);
  waitpid(spawned.pid, &status, 0);
  for (const pollfd& fd : fds) {
    if (fd.fd >= 0) close(fd.fd);
  }
  result.ms = nowMs() - start;
  result.exited = open == 0 && WIFEXITED(status);
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

Result run(const std::string& program, const std::vector<std::string>& args,
           const std::vector<EnvChange>& env) {
  return finish(spawn(program, args, env));
}

bool isOn(Display* display, Lock lock) {
  const unsigned modifiers = modifiersOf(display, lock);
  if (modifiers != 0) {
    XkbStateRec state = {};
    XkbGetState(display, XkbUseCoreKbd, &state);
    return (state.locked_mods & modifiers) != 0;
  }
  Bool on = False;
  XkbGetNamedIndicator(display, XInternAtom(display, "Scroll Lock", False), nullptr, &on, nullptr,
                       nullptr);
  return on == True;
}

void setOn(Display* display, Lock lock, bool on) {
  const unsigned modifiers = modifiersOf(display, lock);
  if (modifiers != 0) {
    XkbLockModifiers(display, XkbUseCoreKbd, modifiers, on ? modifiers : 0);
  } else {
    XkbSetNamedIndicator(display, XInternAtom(display, "Scroll Lock", False), True,
                         on ? True : False, False, nullptr);
  }
  XSync(display, False);
}

void press(Display* display, Lock lock, bool down) {
  XTestFakeKeyEvent(display, XKeysymToKeycode(display, keysymOf(lock)), down ? True : False,
                    CurrentTime);
  XSync(display, False);
}

}  // namespace x11test
