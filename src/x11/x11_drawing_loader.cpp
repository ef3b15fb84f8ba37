#include <dlfcn.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <string>

#include "x11/x11_drawing.h"

namespace kantrell {

namespace {

// Someone the program may take code from: root, the user running it, or the owner of the
// program's own file (who could have changed the program itself).
bool trustedOwner(uid_t owner, uid_t programOwner) {
  return owner == 0 || owner == geteuid() || owner == programOwner;
}

// The module's folders and file, from the program's prefix down: none a symbolic link, each owned
// by someone trusted (a folder someone else made or swapped in is theirs), and the file writable
// by its owner alone. A copy of the program in a shared folder then never takes code that another
// user put beside it.
bool trustedModule(const std::string& prefix, const std::string& relative, uid_t programOwner) {
  std::string path = prefix;
  std::size_t start = 0;
  while (start < relative.size()) {
    const std::size_t end = std::min(relative.find('/', start), relative.size());
    path += "/" + relative.substr(start, end - start);
    start = end + 1;
    struct stat status = {};
    if (lstat(path.c_str(), &status) != 0 || S_ISLNK(status.st_mode)) return false;
    if (!trustedOwner(status.st_uid, programOwner)) return false;
    if (end == relative.size() && (status.st_mode & (S_IWGRP | S_IWOTH)) != 0) return false;
  }
  return true;
}

}  // namespace

std::unique_ptr<X11Drawing> loadX11Drawing(Display* display) {
#ifdef KANTRELL_DRAWING_LINKED
  return std::unique_ptr<X11Drawing>(kantrell_x11_drawing(display));
#else
  // Where the package puts it relative to the program, found from the program's own path: never
  // from the working directory or a library search path.
  char program[PATH_MAX] = {};
  const ssize_t length = readlink("/proc/self/exe", program, sizeof program);
  if (length <= 0 || static_cast<std::size_t>(length) >= sizeof program) return nullptr;
  const std::string programPath(program, static_cast<std::size_t>(length));
  struct stat programStatus = {};
  if (stat(programPath.c_str(), &programStatus) != 0) return nullptr;
  // The program lies in PREFIX/bin; the module in PREFIX/lib/kantrell.
  const std::string bin = programPath.substr(0, programPath.rfind('/'));
  const std::string prefix = bin.substr(0, bin.rfind('/'));
  if (!trustedModule(prefix, KANTRELL_DRAWING_MODULE, programStatus.st_uid)) return nullptr;

  // Loaded from the file just checked, through its descriptor: a swap after the check changes
  // nothing.
  const std::string path = prefix + "/" + KANTRELL_DRAWING_MODULE;
  const int file = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
  if (file < 0) return nullptr;
  struct stat opened = {};
  void* module = nullptr;
  if (fstat(file, &opened) == 0 && S_ISREG(opened.st_mode) &&
      trustedOwner(opened.st_uid, programStatus.st_uid) &&
      (opened.st_mode & (S_IWGRP | S_IWOTH)) == 0) {
    module = dlopen(("/proc/self/fd/" + std::to_string(file)).c_str(), RTLD_NOW | RTLD_LOCAL);
  }
  close(file);
  if (module == nullptr) return nullptr;
  // Never unloaded: fontconfig keeps its state for the life of the process.
  const auto factory =
      reinterpret_cast<decltype(&kantrell_x11_drawing)>(dlsym(module, "kantrell_x11_drawing"));
  return std::unique_ptr<X11Drawing>(factory == nullptr ? nullptr : factory(display));
#endif
}

}  // namespace kantrell
