#include <dlfcn.h>
#include <limits.h>
#include <unistd.h>

#include <string>

#include "x11/x11_drawing.h"

namespace kantrell {

std::unique_ptr<X11Drawing> loadX11Drawing(Display* display) {
#ifdef KANTRELL_DRAWING_LINKED
  return std::unique_ptr<X11Drawing>(kantrell_x11_drawing(display));
#else
  // Where the package puts it relative to the program, found from the program's own path: never
  // from the working directory or a library search path.
  char program[PATH_MAX] = {};
  const ssize_t length = readlink("/proc/self/exe", program, sizeof program - 1);
  if (length <= 0) return nullptr;
  std::string path(program, static_cast<std::size_t>(length));
  path = path.substr(0, path.rfind('/') + 1) + KANTRELL_DRAWING_MODULE;
  void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (module == nullptr) return nullptr;
  // Never unloaded: fontconfig keeps its state for the life of the process.
  const auto factory =
      reinterpret_cast<decltype(&kantrell_x11_drawing)>(dlsym(module, "kantrell_x11_drawing"));
  return std::unique_ptr<X11Drawing>(factory == nullptr ? nullptr : factory(display));
#endif
}

}  // namespace kantrell
