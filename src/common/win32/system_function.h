#pragma once
// A function of a system DLL found at run time, for what older Windows versions lack: the caller
// keeps working without it.

#include <windows.h>

namespace common::win32 {

// `name` of `module` as a `Function` pointer; null where the module or the function is missing.
template <class Function>
Function SystemFunction(HMODULE module, const char* name) {
  const FARPROC address = module ? GetProcAddress(module, name) : nullptr;
  // Through a plain function pointer type, which any function pointer may be cast to and from.
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(address));
}

}  // namespace common::win32
