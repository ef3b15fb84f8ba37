// Reading what Wine's debug channels wrote about one run: the DLLs its loader loaded, and the
// calls its relay saw the program's own code make on its main thread.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace winelog {

// One relayed call, as Wine prints it: "user32.keybd_event" and "00000090,00000001,...".
struct Call {
  std::string function;
  std::string arguments;
  std::string text() const { return function + "(" + arguments + ")"; }
};

// A loaded DLL: the path as the loader names it, and whether it was native or builtin.
struct LoadedDll {
  std::string path;
  std::string kind;
};

// Wine writes its debug channels to the Unix standard error the first Wine process of a run was
// given, for the processes it starts too; the runner puts that in a file and names it in
// KANTRELL_WINE_OUTPUT. What was written there since this object was made.
class WineOutput {
 public:
  WineOutput();
  bool available() const { return !path_.empty(); }
  std::string writtenSince() const;

 private:
  std::wstring path_;
  std::uint64_t start_ = 0;
};

// The DLLs a log of WINEDEBUG=+loaddll,+pid reports loaded by the process that loaded
// `program` (a file name such as "KANTRELL.exe"), the program itself included.
std::vector<LoadedDll> loadedDlls(const std::string& log, const std::string& program);

// Of those, the ones loaded after the program's main thread first called `function` (such as
// "KERNEL32.SetDefaultDllDirectories"); the log must hold +relay for that function.
std::vector<LoadedDll> loadedAfterCall(const std::string& log, const std::string& program,
                                       const std::string& function);

// The calls a log of WINEDEBUG=+relay,+loaddll,+pid reports from `program`'s main thread whose
// return address lies inside its image of `imageSize` bytes: the program's own calls.
std::vector<Call> programCalls(const std::string& log, const std::string& program,
                               std::uint32_t imageSize);

// Sets which functions Wine's relay records in this prefix (HKCU\Software\Wine\Debug,
// RelayInclude, "dll.function;..."), for as long as it lives.
class RelayFilter {
 public:
  explicit RelayFilter(const std::wstring& functions);
  ~RelayFilter();
  RelayFilter(const RelayFilter&) = delete;
  RelayFilter& operator=(const RelayFilter&) = delete;

 private:
  void* key_ = nullptr;
};

// `text` matches `pattern`, where '*' stands for any run of characters.
bool matches(const std::string& text, const std::string& pattern);

}  // namespace winelog
