// Measures KANTRELL.exe from outside (wait precision, start-up, processor time, memory) and the
// status window's event loop from inside, and prints the figures as markdown.
//   kantrell_bench.exe [RUNS]     (default 10 runs of each measurement)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "figures.h"

#include "pe_image.h"
#include "probe.h"
#include "status/status_style.h"
#include "status/status_window.h"
#include "toolkit/clock.h"
#include "win32/clock_win32.h"
#include "win32/system_win32.h"
#include "win32/window_toolkit_win32.h"

namespace {

using bench::Figures;
using bench::figuresOf;
using bench::printRow;

probe::Run runProgram(const std::wstring& file, const std::wstring& line) {
  probe::Run run = probe::run(probe::ownDirectory() + file, line, 60'000);
  if (!run.started || !run.finished || run.exitCode != 0) {
    std::fprintf(stderr, "run of %ls failed\n", line.c_str());
    std::exit(1);
  }
  return run;
}

double firstKeyMs(const probe::Run& run) {
  if (run.keys.empty()) {
    std::fprintf(stderr, "no key event seen\n");
    std::exit(1);
  }
  return run.keys.front().atMs;
}

double nowMs() {
  LARGE_INTEGER frequency = {}, count = {};
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&count);
  return static_cast<double>(count.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

double threadCpuMs() {
  FILETIME created = {}, exited = {}, kernel = {}, user = {};
  GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
  const auto ms = [](const FILETIME& t) {
    return static_cast<double>((static_cast<std::uint64_t>(t.dwHighDateTime) << 32) |
                               t.dwLowDateTime) /
           10'000.0;
  };
  return ms(kernel) + ms(user);
}

// Forwards to the real event wait and counts what the display loop's waits do.
class CountingEvents final : public kantrell::EventWait {
 public:
  explicit CountingEvents(kantrell::EventWait& real) : real_(real) {}
  int waits = 0;
  int timeouts = 0;

  std::int64_t nextEvent(std::int32_t timeoutMs) override {
    ++waits;
    const std::int64_t code = real_.nextEvent(timeoutMs);
    if (code == 0) ++timeouts;
    return code;
  }

 private:
  kantrell::EventWait& real_;
};

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;

  // The program's own start-up work, timed in this process before anything else touched the
  // window system: toolkit start-up, both fonts, the three key reads, the end sequence.
  double ownStartUpMs = 0;
  {
    const double before = nowMs();
    kantrell::Win32WindowToolkit toolkit(GetModuleHandleW(nullptr));
    toolkit.start();
    kantrell::prepareStatusStyle(toolkit);
    kantrell::Win32Keyboard keyboard;
    for (std::uint8_t key :
         {kantrell::kVkNumLock, kantrell::kVkScrollLock, kantrell::kVkCapsLock}) {
      keyboard.keyState(key);
    }
    toolkit.end();
    ownStartUpMs = nowMs() - before;
  }

  // 1. Wait precision: start to first key event, waits of 0 and 2 s alternated.
  std::vector<double> immediate, delayed;
  for (int i = 0; i < runs; ++i) {
    immediate.push_back(firstKeyMs(runProgram(L"KANTRELL.exe", L"KANTRELL.exe on x x 0")));
    delayed.push_back(firstKeyMs(runProgram(L"KANTRELL.exe", L"KANTRELL.exe on x x 2")));
  }
  const Figures atZero = figuresOf(immediate);
  const Figures atTwo = figuresOf(delayed);
  std::vector<double> overshoots, pairedOvershoots;
  for (std::size_t i = 0; i < delayed.size(); ++i) {
    overshoots.push_back(delayed[i] - atZero.median - 2000.0);
    pairedOvershoots.push_back(delayed[i] - immediate[i] - 2000.0);
  }
  Figures overshoot = figuresOf(overshoots);
  overshoot.median = atTwo.median - atZero.median - 2000.0;

  // The wait alone, in this process: first a plain Sleep before anything raised the timer
  // resolution, then delayMs of 2 s through the real timer, then short sleeps; by the counter.
  const auto sleepOvershoot = [](DWORD count) {
    const double before = nowMs();
    Sleep(count);
    return nowMs() - before - count;
  };
  std::vector<double> plainOvershoots, sleepOvershoots, shortOvershoots;
  for (int i = 0; i < runs; ++i) plainOvershoots.push_back(sleepOvershoot(2000));
  {
    kantrell::Win32Timer timer;
    kantrell::Delay delay(timer);
    for (int i = 0; i < runs; ++i) {
      const double before = nowMs();
      delay.delayMs(2000);
      sleepOvershoots.push_back(nowMs() - before - 2000.0);
    }
  }
  for (int i = 0; i < runs; ++i) shortOvershoots.push_back(sleepOvershoot(100));

  // 2. Start-up: KANTRELL.exe without words against an empty GUI program, A B A B.
  // A third program, empty but with the same imports and manifest, shows what the loader's part
  // costs alone.
  std::vector<double> kantrellMs, emptyMs, importsMs;
  for (int i = 0; i < runs; ++i) {
    kantrellMs.push_back(runProgram(L"KANTRELL.exe", L"KANTRELL.exe").exitMs);
    emptyMs.push_back(runProgram(L"empty_gui.exe", L"empty_gui.exe").exitMs);
    importsMs.push_back(runProgram(L"empty_gui_imports.exe", L"empty_gui_imports.exe").exitMs);
  }
  const Figures kantrellStart = figuresOf(kantrellMs);
  const Figures emptyStart = figuresOf(emptyMs);
  const Figures importsStart = figuresOf(importsMs);

  // 3. Idle cost: processor time with the status window and without it; 4. peak working set.
  std::vector<double> cpuShown, cpuHidden, memoryShown, memoryHidden, shownMs;
  for (int i = 0; i < runs; ++i) {
    const probe::Run shown = runProgram(L"KANTRELL.exe", L"KANTRELL.exe on off on 0 s");
    const probe::Run hidden = runProgram(L"KANTRELL.exe", L"KANTRELL.exe on off on 0");
    cpuShown.push_back(shown.cpuMs);
    cpuHidden.push_back(hidden.cpuMs);
    memoryShown.push_back(static_cast<double>(shown.peakWorkingSetBytes) / 1024.0);
    memoryHidden.push_back(static_cast<double>(hidden.peakWorkingSetBytes) / 1024.0);
    shownMs.push_back(shown.window.lastMs - shown.window.firstMs);
  }
  std::vector<double> displayCost;
  const Figures hiddenCpu = figuresOf(cpuHidden);
  for (double cpu : cpuShown) displayCost.push_back(cpu - hiddenCpu.median);
  Figures cost = figuresOf(displayCost);
  cost.median = figuresOf(cpuShown).median - hiddenCpu.median;

  // The display loop itself, in this process: how often its thread wakes without input.
  std::vector<double> waits, timeouts, loopMs, loopCpuMs;
  for (int i = 0; i < std::min(runs, 3); ++i) {
    kantrell::Win32WindowToolkit toolkit(GetModuleHandleW(nullptr));
    CountingEvents events(toolkit);
    kantrell::Win32PerformanceCounter counter;
    kantrell::CounterClock clock(counter);
    toolkit.start();
    const kantrell::StatusStyle style = kantrell::prepareStatusStyle(toolkit);
    kantrell::StatusWindow window(toolkit, events, clock);
    kantrell::LockRequest request;
    if (!window.open(request, style, u"1.1")) return 1;
    const std::int64_t before = clock.clockMs();
    const double cpuBefore = threadCpuMs();
    window.holdOpen();
    loopCpuMs.push_back(threadCpuMs() - cpuBefore);
    loopMs.push_back(static_cast<double>(clock.clockMs() - before));
    window.close();
    toolkit.end();
    waits.push_back(events.waits);
    timeouts.push_back(events.timeouts);
  }

  const auto image = pe::Image::load(probe::ownDirectory() + L"KANTRELL.exe");
  WIN32_FILE_ATTRIBUTE_DATA attributes = {};
  GetFileAttributesExW((probe::ownDirectory() + L"KANTRELL.exe").c_str(), GetFileExInfoStandard,
                       &attributes);

  std::printf("Each figure over %d runs unless noted.\n\n", runs);
  std::printf(
      "## 1. Wait precision\n\n| Figure | Median | Min | Max | Unit |\n|---|---|---|---|---|\n");
  printRow("start to first key event, wait 0", atZero, "ms");
  printRow("start to first key event, wait 2", atTwo, "ms");
  printRow("overshoot: wait-2 run minus wait-0 median minus 2000", overshoot, "ms");
  printRow("overshoot of alternated pairs (run by run)", figuresOf(pairedOvershoots), "ms");
  printRow("overshoot of the wait alone (delayMs(2000) in-process)", figuresOf(sleepOvershoots),
           "ms");
  printRow("for comparison: Sleep(2000) before the resolution was raised",
           figuresOf(plainOvershoots), "ms");
  printRow("for comparison: Sleep(100) with the resolution raised", figuresOf(shortOvershoots),
           "ms");
  std::printf(
      "\n## 2. Start-up cost\n\n| Figure | Median | Min | Max | Unit |\n|---|---|---|---|---|\n");
  printRow("KANTRELL.exe, no words: start to exit", kantrellStart, "ms");
  printRow("empty GUI program: start to exit", emptyStart, "ms");
  printRow("empty GUI program with the same imports and manifest: start to exit", importsStart,
           "ms");
  std::printf(
      "\nRatio of medians against the empty program: **%.3f**; against the empty program "
      "with the same imports and manifest: **%.3f**\n",
      kantrellStart.median / emptyStart.median, kantrellStart.median / importsStart.median);
  std::printf("\nThe program's own start-up work, timed in-process (one cold run): %.2f ms\n",
              ownStartUpMs);
  std::printf(
      "\nRatio of minima, the least disturbed runs: **%.3f** against the empty program; "
      "**%.3f** against the same imports and manifest\n",
      kantrellStart.minimum / emptyStart.minimum, kantrellStart.minimum / importsStart.minimum);
  std::printf(
      "\n## 3. Idle cost of the status window\n\n| Figure | Median | Min | Max | Unit "
      "|\n|---|---|---|---|---|\n");
  printRow("processor time, with window", figuresOf(cpuShown), "ms");
  printRow("processor time, without window", hiddenCpu, "ms");
  printRow("processor time of the display (difference)", cost, "ms");
  printRow("window visible, seen from outside", figuresOf(shownMs), "ms");
  printRow("display loop: event waits per display (in-process, 3 runs)", figuresOf(waits), "calls");
  printRow("display loop: of which time-outs", figuresOf(timeouts), "calls");
  printRow("display loop: duration by its clock", figuresOf(loopMs), "ms");
  printRow("display loop: processor time of its thread", figuresOf(loopCpuMs), "ms");
  std::printf("\n## 4. Footprint\n\n");
  std::printf("- `KANTRELL.exe`: %lu bytes\n", static_cast<unsigned long>(attributes.nFileSizeLow));
  std::printf("- imports:");
  if (image) {
    for (const std::string& dll : image->importedDlls()) std::printf(" %s", dll.c_str());
  }
  std::printf("\n\n| Figure | Median | Min | Max | Unit |\n|---|---|---|---|---|\n");
  printRow("peak working set, with window", figuresOf(memoryShown), "KiB");
  printRow("peak working set, without window", figuresOf(memoryHidden), "KiB");

  const Figures alone = figuresOf(sleepOvershoots);
  const double startRatio = kantrellStart.median / emptyStart.median;
  const double ownStartRatio = kantrellStart.median / importsStart.median;
  const Figures loopCpu = figuresOf(loopCpuMs);
  const auto verdict = [](bool met) { return met ? "met" : "missed"; };
  std::printf("\n## Goals\n\n| Goal | Measured | Verdict |\n|---|---|---|\n");
  std::printf(
      "| wait overshoot: median within 2 ms | %.2f ms (the wait alone); %.2f ms from "
      "outside | %s |\n",
      alone.median, overshoot.median, verdict(alone.median <= 2.0));
  std::printf(
      "| wait overshoot: maximum within 5 ms | %.2f ms (the wait alone); %.2f ms from "
      "outside | %s |\n",
      alone.maximum, overshoot.maximum, verdict(alone.maximum <= 5.0));
  std::printf(
      "| start-up at most 1.10 times the empty program | %.3f (medians); %.3f against the same "
      "imports and manifest | %s |\n",
      startRatio, ownStartRatio, verdict(startRatio <= 1.10));
  std::printf(
      "| display costs under 50 ms of processor time | at most %.0f ms (its thread) | "
      "%s |\n",
      loopCpu.maximum, verdict(loopCpu.maximum < 50.0));
  std::printf(
      "| without input the thread wakes about once a second | %.0f time-outs in %.0f ms "
      "| %s |\n",
      figuresOf(timeouts).median, figuresOf(loopMs).median,
      verdict(figuresOf(timeouts).maximum <= 6.0));
  return 0;
}
