// The 32-bit program's entry point. On a processor without CMOV (see processor_requirement.h) the
// runtime would die of an illegal instruction while the window is built; this says why instead,
// before the C runtime starts. It is built for the Pentium, so that it uses neither CMOV nor FCOMI
// itself, and the link makes ProcessorCheckedStart the entry.

#if defined(__MINGW32__) && defined(__i386__)
#include <windows.h>
// commctrl.h needs the types of windows.h.
#include <commctrl.h>
#include <cpuid.h>

#include "app/processor_requirement.h"

extern "C" int WinMainCRTStartup();

namespace {

constexpr wchar_t kText[] =
    L"このコンピューターのCPUでは、Tintmarkは動作しません。\r\n\r\n"
    L"Pentium Pro、Pentium II以降のCPU（CMOV命令のあるもの）が必要です。";
constexpr wchar_t kTitle[] = L" - CPUエラー - Tintmark";
constexpr wchar_t kEnglishText[] =
    L"Tintmark cannot run on this computer's processor.\r\n\r\n"
    L"It needs a Pentium Pro, a Pentium II or a later processor (one with the CMOV instruction).";
constexpr wchar_t kEnglishTitle[] = L" - Processor Error - Tintmark";
constexpr UINT kJapaneseCodePage = 932;

app::ProcessorId ThisProcessor() {
  app::ProcessorId processor{__get_cpuid_max(0, nullptr), 0};
  unsigned int eax = 0, ebx = 0, ecx = 0;
  if (processor.highestLeaf >= 1) __cpuid(1, eax, ebx, ecx, processor.features);
  return processor;
}

}  // namespace

extern "C" int ProcessorCheckedStart() {
  if (app::RunsTheProgram(ThisProcessor())) return WinMainCRTStartup();
  // MessageBoxW is one of the few W functions Windows 95, 98 and ME implement. Common controls
  // first, as for every box: Windows XP shows none without them (see Win32Backend).
  InitCommonControls();
  // The systems of processors without CMOV (95, 98, NT 4.0) show Japanese where their code page
  // is Japanese; the rest of the program asks more, with code this check must not run yet.
  const bool japanese = GetACP() == kJapaneseCodePage;
  MessageBoxW(nullptr, japanese ? kText : kEnglishText, japanese ? kTitle : kEnglishTitle,
              MB_OK | MB_ICONSTOP);
  ExitProcess(1);
}
#endif
