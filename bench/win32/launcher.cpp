// Starts programs under the same Windows (or Wine) session and measures, for each start, the time
// from CreateProcessW to its window being visible with the program idle in its message loop, and
// its memory at that moment. The programs are started in turn, the order swapped every round, so
// that both meet the same state of the system.
//
//   bench_launcher.exe ROUNDS PROGRAM...
//
// Prints one line per start: "start <round> <program index> <ms> <working set> <private bytes>
// <child windows> <late> <cpu ms>", where late is 1 when the program went idle before its window
// showed, and cpu ms is the processor time of its Unix process under Wine (0 elsewhere).

#include <windows.h>
// After windows.h, whose types it uses.
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>

namespace {

struct Sample {
  double milliseconds = 0;
  double cpuMilliseconds = 0;
  SIZE_T workingSet = 0;
  SIZE_T privateBytes = 0;
  int childWindows = 0;
  bool late = false;
};

struct WindowSearch {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK NoteVisibleWindow(HWND window, LPARAM lParam) {
  auto& search = *reinterpret_cast<WindowSearch*>(lParam);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search.processId || !IsWindowVisible(window)) return TRUE;
  search.found = window;
  return FALSE;
}

HWND VisibleWindowOf(DWORD processId) {
  WindowSearch search{processId, nullptr};
  EnumWindows(NoteVisibleWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

BOOL CALLBACK CountChild(HWND, LPARAM count) {
  ++*reinterpret_cast<int*>(count);
  return TRUE;
}

// Committed private memory, as Windows counts private bytes. Wine's own counter for it stays 0
// (it reports swap there), so the address space is walked instead.
SIZE_T PrivateBytes(HANDLE process) {
  SIZE_T total = 0;
  MEMORY_BASIC_INFORMATION region{};
  const char* address = nullptr;
  while (VirtualQueryEx(process, address, &region, sizeof(region)) == sizeof(region)) {
    if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) total += region.RegionSize;
    address = static_cast<const char*>(region.BaseAddress) + region.RegionSize;
  }
  return total;
}

// The whole of a small file; /proc files tell no size, so it is read to its end.
std::string FileText(const std::wstring& path) {
  std::string text;
  const HANDLE file =
      CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return text;
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read > 0) {
    text.append(buffer, read);
  }
  CloseHandle(file);
  return text;
}

// Under Wine, the processor time that the program's own Unix process has used, all threads,
// from /proc: less disturbed by other work on the machine than the time on the clock, although
// it leaves out what the Wine server and the X server did for the program. Wine gives a process
// the program's Windows path as its command line. 0 where there is no /proc.
double UnixCpuMilliseconds(const wchar_t* program) {
  char path[MAX_PATH * 3];
  const int length =
      WideCharToMultiByte(CP_UTF8, 0, program, -1, path, sizeof(path), nullptr, nullptr);
  if (length <= 1) return 0;
  const std::string wanted(path, static_cast<std::size_t>(length - 1));
  WIN32_FIND_DATAW found;
  const HANDLE processes = FindFirstFileW(L"Z:\\proc\\*", &found);
  if (processes == INVALID_HANDLE_VALUE) return 0;
  double total = 0;
  do {
    const std::wstring name = found.cFileName;
    if (name.find_first_not_of(L"0123456789") != std::wstring::npos) continue;
    const std::wstring folder = L"Z:\\proc\\" + name;
    if (FileText(folder + L"\\cmdline").compare(0, wanted.size(), wanted) != 0) continue;
    WIN32_FIND_DATAW task;
    const HANDLE tasks = FindFirstFileW((folder + L"\\task\\*").c_str(), &task);
    if (tasks == INVALID_HANDLE_VALUE) continue;
    do {
      if (task.cFileName[0] == L'.') continue;
      // The first number of schedstat: nanoseconds on a processor.
      const std::string schedstat =
          FileText(folder + L"\\task\\" + task.cFileName + L"\\schedstat");
      total += std::strtod(schedstat.c_str(), nullptr) / 1e6;
    } while (FindNextFileW(tasks, &task));
    FindClose(tasks);
  } while (FindNextFileW(processes, &found));
  FindClose(processes);
  return total;
}

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER value;
    QueryPerformanceFrequency(&value);
    return value;
  }();
  return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
         static_cast<double>(frequency.QuadPart);
}

bool Measure(const wchar_t* program, Sample& sample) {
  wchar_t commandLine[MAX_PATH * 2];
  std::swprintf(commandLine, sizeof(commandLine) / sizeof(commandLine[0]), L"\"%ls\"", program);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  LARGE_INTEGER start, end;
  QueryPerformanceCounter(&start);
  if (!CreateProcessW(program, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    std::fprintf(stderr, "launcher: cannot start %ls (error %lu)\n", program, GetLastError());
    return false;
  }
  bool ok = WaitForInputIdle(process.hProcess, 30000) == 0;
  HWND window = ok ? VisibleWindowOf(process.dwProcessId) : nullptr;
  // Idle before the window showed (counted as late): wait for the window itself.
  for (int tries = 0; ok && !window && tries < 30000; ++tries) {
    sample.late = true;
    Sleep(1);
    window = VisibleWindowOf(process.dwProcessId);
  }
  QueryPerformanceCounter(&end);
  if (!window) {
    std::fprintf(stderr, "launcher: %ls showed no window\n", program);
    ok = false;
  } else {
    sample.milliseconds = Milliseconds(start, end);
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof(memory);
    GetProcessMemoryInfo(process.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                         sizeof(memory));
    sample.workingSet = memory.WorkingSetSize;
    sample.privateBytes =
        memory.PrivateUsage ? memory.PrivateUsage : PrivateBytes(process.hProcess);
    sample.cpuMilliseconds = UnixCpuMilliseconds(program);
    sample.childWindows = 0;
    EnumChildWindows(window, CountChild, reinterpret_cast<LPARAM>(&sample.childWindows));
  }
  TerminateProcess(process.hProcess, 0);
  WaitForSingleObject(process.hProcess, 10000);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  // The Wine and X servers are still clearing up after the program; the next start should not
  // pay for that.
  Sleep(100);
  return ok;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: bench_launcher ROUNDS PROGRAM...\n");
    return 2;
  }
  const int rounds = static_cast<int>(std::wcstol(argv[1], nullptr, 10));
  const int programs = argc - 2;
  // A first start of each fills the caches; it is not counted.
  for (int p = 0; p < programs; ++p) {
    Sample warmUp;
    if (!Measure(argv[2 + p], warmUp)) return 1;
  }
  for (int round = 0; round < rounds; ++round) {
    for (int step = 0; step < programs; ++step) {
      const int p = round % 2 == 0 ? step : programs - 1 - step;
      Sample sample;
      if (!Measure(argv[2 + p], sample)) return 1;
      std::printf("start %d %d %.2f %zu %zu %d %d %.2f\n", round, p, sample.milliseconds,
                  sample.workingSet, sample.privateBytes, sample.childWindows, sample.late ? 1 : 0,
                  sample.cpuMilliseconds);
      std::fflush(stdout);
    }
  }
  return 0;
}
