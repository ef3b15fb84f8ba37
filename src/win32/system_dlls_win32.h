// Loading DLLs from the system directory only. The program is often run from a Downloads folder,
// a USB stick or a shared tools folder; a DLL planted beside it must never be loaded.
#pragma once

#include <windows.h>

namespace kantrell {

// Restricts the search of every later DLL load, the system's own included, to the system
// directory. Called first thing; a Windows 7 without the update that brought the call skips it.
void restrictDllSearchToSystemDirectory();

// A system DLL (and its own dependencies) loaded from the system directory; nullptr when it cannot
// be. It stays loaded for the life of the process.
HMODULE loadSystemDll(const wchar_t* name);

}  // namespace kantrell
