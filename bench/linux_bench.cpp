// Measures kantrell on X11 against the tools admins use today on the same X server: wall and
// processor time per call and peak memory, alternated pair by pair; the status window's idle
// cost; and what opening the window's fonts would cost a run that never shows the window.
//   kantrell_linux_bench KANTRELL LINKED [PAIRS]   (DISPLAY names the X server; default 20 pairs)
// LINKED is the same program with the status window's drawing (Xft, fontconfig, RandR) linked in
// rather than loaded when a window needs it: the design kantrell does not use, measured beside it.
#include <X11/XKBlib.h>
#include <X11/Xft/Xft.h>
#include <X11/Xlib.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "figures.h"

namespace {

struct Call {
  double wallMs = 0;
  double cpuMs = 0;
  double peakKiB = 0;
  int status = -1;
};

double nowMs() {
  timespec now = {};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
}

double ms(const timeval& time) {
  return static_cast<double>(time.tv_sec) * 1000.0 + static_cast<double>(time.tv_usec) / 1000.0;
}

// Runs a command to its end; its own processor time and peak resident memory come from wait4.
Call call(const std::vector<std::string>& command) {
  Call result;
  const double before = nowMs();
  const pid_t pid = fork();
  if (pid == 0) {
    const int nothing = open("/dev/null", O_WRONLY);
    dup2(nothing, STDOUT_FILENO);  // the report is this program's output
    std::vector<char*> argv;
    for (const std::string& word : command) argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  rusage usage = {};
  wait4(pid, &status, 0, &usage);
  result.wallMs = nowMs() - before;
  result.cpuMs = ms(usage.ru_utime) + ms(usage.ru_stime);
  result.peakKiB = static_cast<double>(usage.ru_maxrss);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

using bench::Figures;
using bench::figuresOf;
using bench::printRow;

// All three locks off, through XKB, before every timed call: each call has real work to do.
void allOff(Display* display) {
  XkbLockModifiers(display, XkbUseCoreKbd, LockMask | XkbKeysymToModifiers(display, 0xff7f), 0);
  XkbSetNamedIndicator(display, XInternAtom(display, "Scroll Lock", False), True, False, False,
                       nullptr);
  XSync(display, False);
}

bool numLockOn(Display* display) {
  XkbStateRec state = {};
  XkbGetState(display, XkbUseCoreKbd, &state);
  return (state.locked_mods & XkbKeysymToModifiers(display, 0xff7f)) != 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s KANTRELL LINKED [PAIRS]\n", argv[0]);
    return 2;
  }
  const std::string kantrell = argv[1];
  const std::string linked = argv[2];
  const int pairs = argc > 3 ? std::max(20, std::atoi(argv[3])) : 20;
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    std::fprintf(stderr, "no X server on DISPLAY\n");
    return 1;
  }

  // 1. Three keys against one: kantrell, numlockx and xdotool alternated, from all off each time.
  const std::vector<std::vector<std::string>> commands = {
      {kantrell, "on", "on", "on"}, {"numlockx", "on"}, {"xdotool", "key", "Num_Lock"}};
  std::vector<std::vector<double>> wall(3), cpu(3), peak(3);
  std::vector<double> ratios;
  for (int pair = 0; pair < pairs; ++pair) {
    double pairWall[3] = {};
    for (std::size_t k = 0; k < 3; ++k) {
      const std::size_t which = (k + static_cast<std::size_t>(pair)) % 3;  // rotate the order
      allOff(display);
      const Call result = call(commands[which]);
      if (result.status != 0 || !numLockOn(display)) {
        std::fprintf(stderr, "%s did not turn Num Lock on\n", commands[which][0].c_str());
        return 1;
      }
      wall[which].push_back(result.wallMs);
      cpu[which].push_back(result.cpuMs);
      peak[which].push_back(result.peakKiB);
      pairWall[which] = result.wallMs;
    }
    ratios.push_back(pairWall[0] / pairWall[1]);
  }
  allOff(display);

  // 2. The status window: the whole run's processor time with it and without it.
  std::vector<double> shownCpu, shownWall, hiddenCpu;
  for (int i = 0; i < 5; ++i) {
    const Call shown = call({kantrell, "x", "x", "x", "0", "s"});
    const Call hidden = call({kantrell, "x", "x", "x", "0"});
    shownCpu.push_back(shown.cpuMs);
    shownWall.push_back(shown.wallMs);
    hiddenCpu.push_back(hidden.cpuMs);
  }

  // 3. Start-up: the program as it is against the same program with the drawing linked in,
  // alternated: only loading the libraries (--version), and setting three keys. And what the two
  // fonts would cost if they were opened on every run (fontconfig's set-up included).
  std::vector<double> versionWall, linkedVersionWall, trueWall, keysWall, linkedKeysWall, keysCpu,
      linkedKeysCpu;
  for (int i = 0; i < pairs; ++i) {
    versionWall.push_back(call({kantrell, "--version"}).wallMs);
    linkedVersionWall.push_back(call({linked, "--version"}).wallMs);
    trueWall.push_back(call({"true"}).wallMs);
    allOff(display);
    const Call keys = call({kantrell, "on", "on", "on"});
    allOff(display);
    const Call linkedKeys = call({linked, "on", "on", "on"});
    keysWall.push_back(keys.wallMs);
    keysCpu.push_back(keys.cpuMs);
    linkedKeysWall.push_back(linkedKeys.wallMs);
    linkedKeysCpu.push_back(linkedKeys.cpuMs);
  }
  allOff(display);
  const double fontsBefore = nowMs();
  XftFont* label = XftFontOpen(display, DefaultScreen(display), XFT_FAMILY, XftTypeString, "Arial",
                               XFT_PIXEL_SIZE, XftTypeDouble, 11.0, XFT_SLANT, XftTypeInteger,
                               FC_SLANT_ITALIC, nullptr);
  XftFont* value = XftFontOpen(display, DefaultScreen(display), XFT_FAMILY, XftTypeString, "Arial",
                               XFT_PIXEL_SIZE, XftTypeDouble, 11.0, XFT_WEIGHT, XftTypeInteger,
                               FC_WEIGHT_BOLD, nullptr);
  const double fontsMs = nowMs() - fontsBefore;
  if (label != nullptr) XftFontClose(display, label);
  if (value != nullptr) XftFontClose(display, value);
  XCloseDisplay(display);

  const char* names[3] = {"`kantrell on on on` (three keys)", "`numlockx on` (Num Lock only)",
                          "`xdotool key Num_Lock` (a toggle)"};
  std::printf(
      "Each figure over %d alternated calls unless noted; before every call all three\n"
      "locks are turned off through XKB, so that every call has its work to do.\n\n",
      pairs);
  std::printf(
      "### Three keys against one\n\n| Figure | Median | Min | Max | Unit |\n"
      "|---|---|---|---|---|\n");
  for (std::size_t k = 0; k < 3; ++k) {
    printRow((std::string(names[k]) + ": wall time").c_str(), figuresOf(wall[k]), "ms");
    printRow((std::string(names[k]) + ": processor time").c_str(), figuresOf(cpu[k]), "ms");
    printRow((std::string(names[k]) + ": peak resident memory").c_str(), figuresOf(peak[k]), "KiB");
  }
  const Figures ratio = figuresOf(ratios);
  printRow("kantrell / numlockx, wall time, pair by pair", ratio, "ratio");
  std::printf(
      "\n### The status window\n\n| Figure | Median | Min | Max | Unit |\n"
      "|---|---|---|---|---|\n");
  printRow("`kantrell x x x 0 s`: wall time", figuresOf(shownWall), "ms");
  printRow("`kantrell x x x 0 s`: processor time, whole run", figuresOf(shownCpu), "ms");
  printRow("`kantrell x x x 0`: processor time, whole run", figuresOf(hiddenCpu), "ms");
  std::printf(
      "\n### Start-up: the drawing loaded when needed, against linked in\n\n"
      "| Figure | Median | Min | Max | Unit |\n|---|---|---|---|---|\n");
  printRow("`kantrell --version`: loads Xlib and XTest only", figuresOf(versionWall), "ms");
  printRow("the same with the drawing linked in: loads Xft, fontconfig and RandR too",
           figuresOf(linkedVersionWall), "ms");
  printRow("`true`, for scale", figuresOf(trueWall), "ms");
  printRow("`kantrell on on on`: wall time", figuresOf(keysWall), "ms");
  printRow("the same with the drawing linked in: wall time", figuresOf(linkedKeysWall), "ms");
  printRow("`kantrell on on on`: processor time", figuresOf(keysCpu), "ms");
  printRow("the same with the drawing linked in: processor time", figuresOf(linkedKeysCpu), "ms");
  std::printf(
      "\nOpening the window's two fonts, fontconfig's set-up included, measured once in "
      "this process: %.2f ms. kantrell opens them only when the window is first drawn, "
      "so a run without the status window never pays this.\n",
      fontsMs);

  const double idleCpu = figuresOf(shownCpu).maximum;
  const auto verdict = [](bool met) { return met ? "met" : "missed"; };
  std::printf("\n### Goals\n\n| Goal | Measured | Verdict |\n|---|---|---|\n");
  std::printf(
      "| three keys cost no more wall time than numlockx setting one (median of pairwise "
      "ratios <= 1.00) | %.3f | %s |\n",
      ratio.median, verdict(ratio.median <= 1.0));
  std::printf(
      "| the status window's five seconds cost under 20 ms of processor time | at most "
      "%.1f ms, start-up and fonts included | %s |\n",
      idleCpu, verdict(idleCpu < 20.0));
  return 0;
}
