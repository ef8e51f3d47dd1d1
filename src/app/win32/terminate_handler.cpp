// What the program says when it must end on an exception no one caught. libstdc++'s own handler
// names the exception's type, which brings its demangler into the executable (45 KB, an eighth
// of it); this one gives the exception's message, then aborts the same way.

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <initializer_list>

#include "toolkit/win32/windows_api.h"

#if defined(__GLIBCXX__)
namespace __gnu_cxx {

void __verbose_terminate_handler() {
  const char* what = "no exception";
  if (const std::exception_ptr current = std::current_exception()) {
    try {
      std::rethrow_exception(current);
    } catch (const std::exception& exception) {
      what = exception.what();
    } catch (...) {
      what = "an exception that is not a std::exception";
    }
  }
  for (const char* part : {"Tintmark: terminated by ", what, "\n"}) {
    OutputDebugStringA(part);
    std::fputs(part, stderr);
  }
  std::abort();
}

}  // namespace __gnu_cxx
#endif
