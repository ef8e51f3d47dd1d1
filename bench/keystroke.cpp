// The work one user event costs in the main window, counted by callgrind: the window is started on
// the headless backend over an in-memory registry, then only the event itself is collected, from
// the input to the sample's colours set.
//
//   valgrind --tool=callgrind --collect-atstart=no bench_keystroke type|up
//
// type: one digit typed at the end of the red channel field; up: one press of the red ▲ button.
// Each is done once before, unmeasured, so that one-time set-up is not counted as per-event work.
// Prints the field and the sample colours before and after, which shows that the event did work.

#include <valgrind/callgrind.h>

#include <cstdio>
#include <string>

#include "app/frm_main.h"
#include "files/memory/memory_file_access.h"
#include "store/memory/memory_registry.h"
#include "toolkit/headless/headless_backend.h"

namespace {

constexpr char kOwners[] = "Software\\Mirabilis\\ICQ\\Owners";
constexpr char kSendMsg[] = "Software\\Mirabilis\\ICQ\\Owners\\12345678\\Windows\\SendMsg";

std::string Narrow(const std::u16string& text) { return std::string(text.begin(), text.end()); }

void Report(const char* when, tk::TextBox& field, tk::TextBox& sample) {
  std::printf("%s: field \"%s\", sample %06X on %06X\n", when, Narrow(field.Text()).c_str(),
              sample.ForeColor(), sample.BackColor());
}

}  // namespace

int main(int argc, char** argv) {
  const std::string event = argc > 1 ? argv[1] : "type";
  if (event != "type" && event != "up") {
    std::fprintf(stderr, "usage: bench_keystroke type|up\n");
    return 2;
  }

  store::MemoryRegistry registry;
  registry.SetDword(kOwners, "LastOwner", 12345678);
  registry.SetDword(kSendMsg, "Pen Color", 0x00800000);
  registry.SetDword(kSendMsg, "Back Color", 0x00E08040);
  tk::headless::HeadlessBackend backend;
  tk::Application application(backend);
  files::MemoryFileAccess fileAccess;
  app::FrmMain frmMain(application, registry, fileAccess);
  tk::Form& form = frmMain.Form();
  form.Show();
  auto settle = [&backend] { backend.RunUntil([] { return false; }); };
  settle();

  auto& field = form.Get<tk::TextBox>("txtColor", 0);
  auto& up = form.Get<tk::CommandButton>("btnUp", 0);
  auto& sample = form.Get<tk::TextBox>("txtTest");
  auto act = [&] {
    if (event == "type") {
      backend.UserType(u'1');
    } else {
      backend.UserClick(up, 0);
    }
    settle();
  };

  if (event == "type") {
    backend.UserClick(field, 0);
    backend.UserSelectAll();
    settle();
  }
  act();
  Report("before", field, sample);
  CALLGRIND_TOGGLE_COLLECT;
  act();
  CALLGRIND_TOGGLE_COLLECT;
  Report("after", field, sample);
  return 0;
}
