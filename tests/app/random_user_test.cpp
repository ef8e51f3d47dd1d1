// A random user on the whole main window: seeded, reproducible runs of typing, pasting, keys,
// clicks, ▲ / ▼ presses, menus and shortcuts, colour files good and bad, message boxes, the About
// box, closing and starting again, with registry and file faults and registry changes behind the
// window's back. After every event the window is held against a model. TINTMARK_RANDOM_EVENTS and
// TINTMARK_RANDOM_SEED choose the length and the seed of the run.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <set>
#include <sstream>

#include "app/main_window_harness.h"
#include "files/color_file.h"
#include "files/memory/memory_file_access.h"
#include "store/memory/memory_registry.h"

namespace tktest {
namespace {

#ifdef _WIN32
constexpr long kDefaultEvents = 3000;
constexpr std::size_t kLargestPaste = 1 << 15;
#else
constexpr long kDefaultEvents = 100000;
constexpr std::size_t kLargestPaste = 1 << 20;
#endif

enum Kind { kType, kPaste, kKey, kCtrl, kMenu, kStep, kClick, kSelect, kWorld, kClose, kFile };
constexpr int kWeights[] = {14, 5, 14, 4, 4, 16, 14, 4, 3, 2, 6};
constexpr char16_t kQuestionTitle[] = u"! - 適用確認 - Tintmark";
constexpr char16_t kSaveErrorTitle[] = u" - 保存エラー - Tintmark";
constexpr char16_t kReadErrorTitle[] = u" - 読み込みエラー - Tintmark";
constexpr std::uint32_t kOwnerIds[] = {12345678, 555};
const std::u16string kCharacters[] = {u"0", u"1", u"2", u"5", u"9",  u"a",  u"f",  u"A",
                                      u"F", u"g", u"-", u" ", u"１", u"Ａ", u"色", u"\U0001F600"};
// The file commands come with their dialogs' answers, as kFile events.
const char* const kMenus[] = {"mnuAccept", "mnuChangeID", "mnuEnd", "mnuQuit", "mnuHelp"};
const char* const kRefusableOpens[] = {"Owners", "12345678", "555", "Windows", "SendMsg"};

struct Event {
  int kind;
  std::uint32_t seed;  // everything else the event chooses comes from it
};

long FromEnvironment(const char* name, long fallback) {
  const char* text = std::getenv(name);
  return text ? std::strtol(text, nullptr, 10) : fallback;
}

std::string Printable(const std::u16string& text) {
  std::string out;
  for (char16_t c : text.substr(0, 24)) out += c >= 0x20 && c < 0x7F ? char(c) : '?';
  return text.size() > 24 ? out + "...(" + std::to_string(text.size()) + ")" : out;
}

class RandomUser : public MainWindowTest {
 protected:
  using Snapshot = std::vector<std::pair<std::uint32_t, std::optional<std::vector<std::uint8_t>>>>;

  // Runs `events` over a fresh registry; returns the index of the event after which the window
  // first broke the model (-1: none), with what broke in `broken` and the events done in `log`.
  long Run(const std::vector<Event>& events, std::vector<std::string>* log = nullptr) {
    frm.reset();
    refusing.reset();
    registry.reset();
    registry = MakeRegistryFixture();
    files.reset();
    driver = MakeDriver();
    files = MakeFileFixture();
    const std::u16string folder = files->Folder(u"色の設定");
    disk.clear();
    newNames = 0;
    for (const char16_t* name : {u"good.reg", u"bad.reg", u"new.reg", u"refused.reg"}) {
      disk[folder + u"\\" + name] = std::nullopt;
    }
    paths = {folder + u"\\good.reg",    folder + u"\\bad.reg",
             folder + u"\\new.reg",     folder + u"\\refused.reg",
             folder + u"\\none\\x.reg", files->LockedFolder() + u"\\x.reg"};
    files->Put(paths[0], files::ColorFileBytes(u"555", 0x00123456, 0xFFFFFFFF));
    files->Put(paths[1], "REGEDIT4\r\n\r\n[x]\r\n\"Pen Color\"=dword:123456789\r\n");
    if (auto* memory = dynamic_cast<files::MemoryFileAccess*>(&files->Access())) {
      memory->RefuseMoveOnto(paths[3]);
    }
    for (auto& [path, bytes] : disk) bytes = files->Get(path);
    AddOwner(12345678, 0x000000FF, 0x00FFFFFF);
    AddOwner(555, 0x00000000, 0x00FF0000, false);
    world = Snap();
    refusedOpens.clear();
    const bool trace = std::getenv("TINTMARK_RANDOM_TRACE");  // to find a hang
    // TINTMARK_RANDOM_PROGRESS=N: a line every N seconds, for the long runs.
    const auto every = std::chrono::seconds(FromEnvironment("TINTMARK_RANDOM_PROGRESS", 0));
    auto next = std::chrono::steady_clock::now() + every;
    for (std::size_t i = 0; i < events.size(); ++i) {
      if (every.count() > 0 && std::chrono::steady_clock::now() >= next) {
        next += every;
        std::fprintf(stderr, "random user: %zu events of %zu\n", i, events.size());
        std::fflush(stderr);
      }
      if (trace) std::fprintf(stderr, "%zu {%d, %u}\n", i, events[i].kind, events[i].seed);
      const std::string done = Do(events[i]);
      if (trace) std::fprintf(stderr, "  %s\n", done.c_str());
      if (log) log->push_back(done);
      broken = Check();
      if (!broken.empty()) return static_cast<long>(i);
    }
    if (frm && Form().IsLoaded()) driver->EndSession(Form());
    return -1;
  }

  std::string Do(const Event& event) {
    std::mt19937 rng(event.seed);
    auto pick = [&rng](std::size_t n) { return static_cast<int>(rng() % n); };
    driver->ClearRecords();
    driver->ForgetAnswers();
    driver->AnswerNextMessageBox(pick(2) ? tk::kAnswerYes : tk::kAnswerNo);
    attempt = 0;
    idBefore = frm ? driver->ShownText(Text("txtID")) : u"";
    tableBefore = frm ? State().intColor : editor::ColorTable{};
    const bool inChannel = frm && Form().IsLoaded() && ChannelFocused() >= 0;
    std::string done;
    if (!frm || !Form().IsLoaded()) {
      done = StartAgain(rng);
    } else if (event.kind == kType || event.kind == kPaste) {
      if (!TextFocused()) driver->Click(Text("txtColor", pick(3)));
      edited |= ChannelFocused() >= 0;
      std::u16string text;
      const std::size_t length = event.kind == kPaste && pick(50) == 0
                                     ? 1 + rng() % kLargestPaste
                                     : 1 + pick(event.kind == kType ? 6 : 40);
      while (text.size() < length) text += kCharacters[pick(std::size(kCharacters))];
      event.kind == kType ? driver->Type(text) : driver->Paste(text);
      done = (event.kind == kType ? "type " : "paste ") + Printable(text);
    } else if (event.kind == kKey) {
      const int keys[] = {kVkTab,    kVkUp,    kVkDown, kVkLeft,   kVkRight,
                          kVkHome,   kVkEnd,   kVkBack, kVkDelete, kVkReturn,
                          kVkEscape, kVkSpace, 'R',     'G',       'B'};
      const int key = keys[pick(std::size(keys))];
      std::int16_t shift = static_cast<std::int16_t>(pick(8));
      // Alt only where the window has a use for it: Alt+Space would open the system menu.
      if (key != kVkUp && key != kVkDown) shift &= key == kVkTab ? tk::kShiftBit : ~tk::kAltBit;
      if (key >= 'B') shift = tk::kAltBit;
      // Space clicks a focused button, whatever else is held, and steps on a ▲ or ▼.
      const tk::Control* focus = driver->ShownFocus(Form());
      const bool onStep = focus && (focus->Name() == "btnUp" || focus->Name() == "btnDown");
      edited |= (inChannel && (key == kVkBack || key == kVkDelete)) ||
                (key == kVkSpace && (inChannel || onStep));
      if (key == kVkSpace && focus == &Button("btnReset")) attempt = 'L';
      if (key == kVkSpace && focus == &Button("btnAccept")) attempt = 'A';
      driver->PressKey(key, shift);
      done = "key " + std::to_string(key) + " shift " + std::to_string(shift);
    } else if (event.kind == kCtrl) {
      const char key = "AIZQ"[pick(4)];
      if (key == 'A') attempt = 'A';
      driver->PressKey(key, tk::kCtrlBit);
      done = std::string("Ctrl+") + key;
    } else if (event.kind == kMenu) {
      const std::string menu = kMenus[pick(std::size(kMenus))];
      if (menu == "mnuAccept") attempt = 'A';
      if (menu == "mnuHelp") WhenAboutShown(pick(4)), attempt = 'H';
      driver->ChooseMenu(Menu(menu.c_str()));
      done = "menu " + menu;
    } else if (event.kind == kStep) {
      const bool up = pick(2);
      const int channel = pick(3);
      const std::int16_t button = std::int16_t{1} << pick(3);
      const auto shift = static_cast<std::int16_t>(pick(8));
      tk::CommandButton& target = Button(up ? "btnUp" : "btnDown", channel);
      button == tk::kLeftButton ? driver->Click(target, shift)
                                : driver->Press(target, button, shift);
      edited = true;
      done = std::string(up ? "up " : "down ") + std::to_string(channel) + " button " +
             std::to_string(button) + " shift " + std::to_string(shift);
    } else if (event.kind == kClick) {
      const char* names[] = {"txtColor",  "txtColor", "txtColor", "optObject",
                             "optObject", "optDes",   "optDes",   "btnAccept",
                             "btnQuit",   "btnReset", "txtTest",  "txtID"};
      const int which = pick(std::size(names));
      const int index = which < 3 ? which : which < 7 ? (which - 3) % 2 : -1;
      if (which == 7) attempt = 'A';
      if (which == 9) attempt = 'L';
      driver->Click(Form().Find(names[which], index));
      done = std::string("click ") + names[which] + " " + std::to_string(index);
    } else if (event.kind == kSelect) {
      if (TextFocused()) driver->SelectAll();
      done = "select all";
    } else if (event.kind == kFile) {
      done = FileCommand(rng);
    } else if (event.kind == kWorld) {
      done = ChangeTheWorld(rng);
    } else {
      pick(3) ? driver->CloseBox(Form()) : driver->EndSession(Form());
      done = "close";
    }
    return done;
  }

  // The About box, closed with its button, Enter, Escape or its close box.
  void WhenAboutShown(int how) {
    driver->WhenNextModalShown([this, how](tk::Form& box) {
      if (how == 0) driver->Click(box.Get<tk::CommandButton>("cmdOK"));
      if (how == 1) driver->PressKey(kVkReturn);
      if (how == 2) driver->PressKey(kVkEscape);
      if (box.IsLoaded()) driver->CloseBox(box);
    });
  }

  // Open, Save, Save under new name (by menu or shortcut) or a dropped file. The real dialogs
  // take only an existing file to open and a new one to save under.
  std::string FileCommand(std::mt19937& rng) {
    const int command = static_cast<int>(rng() % 4);
    std::u16string path = paths[rng() % paths.size()];
#ifdef _WIN32
    if (command == 0) path = paths[rng() % 2];
    if (command == 2 || (command == 1 && State().strFileName.empty())) {
      // Sixteen names taken in turn, each removed before it is used again: every file is read
      // after every event, so a long run must not let the folder grow.
      const std::string name = "new" + std::to_string(newNames++ % 16) + ".reg";
      path = paths[0].substr(0, paths[0].size() - 8) + std::u16string(name.begin(), name.end());
      std::error_code ignored;
      std::filesystem::remove(std::filesystem::path(path), ignored);
      disk[path] = std::nullopt;
    }
#endif
    rng() % 8 ? driver->AnswerNextFileDialog(path) : driver->CancelNextFileDialog();
    if (auto* memory = dynamic_cast<files::MemoryFileAccess*>(&files->Access());
        memory && rng() % 4 == 0) {
      memory->FailNextWriteAfter(rng() % 300);
    }
    attempt = command == 0 || command == 3 ? 'O' : 'W';
    readPath = path;
    if (command == 3) {
      driver->DropFile(Form(), path);
    } else if (rng() % 2) {
      driver->PressKey("OSX"[command], tk::kCtrlBit);
    } else {
      driver->ChooseMenu(Menu(command == 0   ? "mnuOpen"
                              : command == 1 ? "mnuSave"
                                             : "mnuSaveAsNewName"));
    }
    return "file command " + std::to_string(command) + " " + Printable(path);
  }

  // A file may only change by a save, to the whole file of the ID and colours shown; no file but
  // the test's own stays, none is held open; a file opened gives its colours or nothing.
  std::string CheckFiles() {
    if (files->OpenFiles() != 0) return "a file left open";
    bool saveFailed = false, asked = false, readFailed = false;
    for (const auto& box : driver->MessageBoxes()) {
      saveFailed |= box.title == kSaveErrorTitle;
      asked |= box.title == kQuestionTitle;
      readFailed |= box.title == kReadErrorTitle;
    }
    const std::u16string folder = paths[0].substr(0, paths[0].rfind(u'\\'));
    for (const std::u16string& name : files->Names(folder)) {
      if (!disk.count(folder + u"\\" + name)) return "a stray file " + Printable(name);
    }
    const auto& table = State().intColor;
    const std::string saved =
        files::ColorFileBytes(driver->ShownText(Text("txtID")), editor::ColorValue(table, 0),
                              editor::ColorValue(table, 1));
    for (auto& [path, bytes] : disk) {
      const std::optional<std::string> now = files->Get(path);
      if (now != bytes && (attempt != 'W' || now != saved || saveFailed)) {
        return "a file neither as it was nor a whole new one";
      }
      bytes = now;
    }
    if (attempt != 'O') return {};
    const std::optional<std::string> bytes = files->Get(readPath);
    const files::ReadResult read = files::ReadColorFile(bytes.value_or(""));
    if ((asked || readFailed) && asked != (bytes && read.Ok())) {
      return "a colour file was read unforeseen";
    }
    editor::ColorTable expected = tableBefore;
    if (asked) {
      editor::StoreColorValue(expected, read.pen, 0);
      editor::StoreColorValue(expected, read.back, 1);
      edited = true;
    }
    if (State().intColor != expected) return "the colours opened are not the file's";
    return {};
  }

  std::string StartAgain(std::mt19937& rng) {
    frm.reset();
    refusing.reset();
    const std::uint32_t last[] = {12345678, 555, 0, 99};
    lastOwner = last[rng() % 4];
    registry->SetDword(kOwners, "LastOwner", lastOwner);
    refusedOpens.clear();
    refusedWrites.clear();
    for (const char* name : kRefusableOpens) {
      if (rng() % 12 == 0) refusedOpens.insert(name), Refusing().RefuseOpen(name);
    }
    for (const char* name : {"Pen Color", "Back Color", ""}) {
      if (rng() % 12 != 0) continue;
      refusedWrites.insert(name);
      *name ? Refusing().RefuseWrite(name) : Refusing().RefuseWritesUnder("SendMsg");
    }
    StartRefusing();
    attempt = 'S';
    return "start";
  }

  std::string ChangeTheWorld(std::mt19937& rng) {
    const std::string owner = std::string(kOwners) + "\\" + std::to_string(kOwnerIds[rng() % 2]);
    const std::string sendMsg = owner + "\\Windows\\SendMsg";
    const int what = static_cast<int>(rng() % 4);
    if (what == 0) registry->Delete(rng() % 2 ? owner : sendMsg);
    if (what >= 1) {
      registry->SetDword(sendMsg, rng() % 2 ? "Pen Color" : "Back Color",
                         what == 1 ? 0xFFFFFFFF : static_cast<std::uint32_t>(rng()));
    }
    if (what == 3) registry->CreateKey(owner);
    world = Snap();
    return "world " + std::to_string(what) + " " + owner;
  }

  int ChannelFocused() {
    tk::Control* focus = driver->ShownFocus(Form());
    for (int i = 0; i < 3; ++i) {
      if (focus == &Text("txtColor", i)) return i;
    }
    return -1;
  }
  bool TextFocused() {
    return ChannelFocused() >= 0 || driver->ShownFocus(Form()) == &Text("txtID");
  }

  // Everything the window may change in the registry, and any key it might wrongly create.
  Snapshot Snap() {
    Snapshot all;
    for (std::uint32_t id : kOwnerIds) {
      const std::string owner = std::string(kOwners) + "\\" + std::to_string(id);
      for (const char* name : {"Pen Color", "Back Color"}) {
        const std::string sendMsg = owner + "\\Windows\\SendMsg";
        all.emplace_back(registry->ValueType(sendMsg, name), registry->ReadBytes(sendMsg, name));
      }
      for (const std::string& key : {owner, owner + "\\Windows", owner + "\\Windows\\SendMsg"}) {
        all.emplace_back(registry->KeyExists(key), std::nullopt);
      }
    }
    return all;
  }

  bool Openable(const std::u16string& id) {
    const std::string name(id.begin(), id.end());
    return !id.empty() && id.size() <= 10 && !refusedOpens.count("Owners") &&
           !refusedOpens.count(name) && registry->KeyExists(std::string(kOwners) + "\\" + name);
  }
  static std::string SendMsgOf(const std::u16string& id) {
    return std::string(kOwners) + "\\" + std::string(id.begin(), id.end()) + "\\Windows\\SendMsg";
  }
  bool Writable(const std::u16string& id) {
    return Openable(id) && registry->KeyExists(SendMsgOf(id)) && !refusedOpens.count("Windows") &&
           !refusedOpens.count("SendMsg") && refusedWrites.empty();
  }
  // The table a load of `id` must give.
  editor::ColorTable Loaded(const std::u16string& id) {
    editor::ColorTable table{};
    const bool readable = !refusedOpens.count("Windows") && !refusedOpens.count("SendMsg");
    for (int target = 0; target < 2; ++target) {
      std::uint32_t value =
          readable
              ? registry->ReadDword(SendMsgOf(id), target ? "Back Color" : "Pen Color").value_or(0)
              : 0;
      if (value == 0xFFFFFFFF) value = 0xFFFF;
      editor::StoreColorValue(table, value, target);
    }
    return table;
  }

  std::string Check() {
    const Snapshot now = Snap();
    const bool loaded = Form().IsLoaded();
    const std::size_t keys = !loaded ? 0 : refusedOpens.count("Owners") ? 3 : 4;
    if (Refusing().OpenHandleCount() != keys) return "keys left open";
    if (auto* memory = dynamic_cast<store::MemoryRegistry*>(&registry->Registry())) {
      memory->ClearCalls();  // its call log would grow without end
      if (memory->OpenHandleCount() != keys) return "keys left open in memory";
    }
    const auto& table = State().intColor;
    // The About box beeps as it opens; any other beep is an apply's.
    if (attempt == 'H' && driver->Beeps() != 1) return "the About box misbehaved";
    if (attempt != 'H' && driver->Beeps() > 0) {
      if (!Writable(idBefore)) return "an apply that should fail beeped";
      const std::string name(idBefore.begin(), idBefore.end());
      const std::size_t slot = name == "555" ? 5 : 0;
      for (int target = 0; target < 2; ++target) {
        const std::uint32_t v = editor::ColorValue(table, target);
        world[slot + target] = {kRegDword,
                                std::vector<std::uint8_t>{std::uint8_t(v), std::uint8_t(v >> 8),
                                                          std::uint8_t(v >> 16), 0}};
      }
      baseline = table;
      edited = false;
    } else if (attempt == 'A' && Writable(idBefore)) {
      return "an apply that should succeed failed";
    }
    if (now != world) return "the registry changed without a successful apply";
    if (std::string files = CheckFiles(); !files.empty()) return files;
    if (attempt == 'L' && driver->MessageBoxes().empty() != Openable(idBefore)) {
      return "a load succeeded or failed unforeseen";
    }
    if (attempt == 'S' || (attempt == 'L' && Openable(idBefore))) {
      std::u16string id = idBefore;
      if (attempt == 'S') {
        const std::string last = std::to_string(lastOwner);
        id = refusedOpens.count("Owners") || !lastOwner ? u""
                                                        : std::u16string(last.begin(), last.end());
        if (driver->ShownText(Text("txtID")) != id) return "the ID shown is not the last owner";
      }
      editor::ColorTable expected = Loaded(id);
      if (attempt == 'S' && !Openable(id)) expected = {{{0, 0, 0}, {255, 255, 255}}};
      if (table != expected) return "the colours loaded are not the owner's";
      baseline = table;
      edited = false;
    }
    if (!loaded) return {};
    for (char16_t c : driver->ShownText(Text("txtID"))) {
      if (c < u'0' || c > u'9') return "the ID field holds a non-digit";
    }
    if (!driver->ShownChecked(Option("optObject", State().intTarget)) ||
        !driver->ShownChecked(Option("optDes", State().intBase))) {
      return "the options do not show the target and base";
    }
    if (Text("txtTest").ForeColor() != editor::ColorValue(table, 0) ||
        Text("txtTest").BackColor() != editor::ColorValue(table, 1)) {
      return "the sample does not show the table";
    }
    const int focused = ChannelFocused();
    for (int i = 0; i < 3; ++i) {
      const int value = table[State().intTarget][i];
      for (const auto& color : table) {
        if (color[i] < 0 || color[i] > 255) return "a component out of range";
      }
      if (!Shows(driver->ShownText(Text("txtColor", i)), value, i == focused)) {
        return "channel " + std::to_string(i) + " shows " +
               Printable(driver->ShownText(Text("txtColor", i))) + " for " + std::to_string(value);
      }
    }
    if (table != baseline && State().blnApplied) return "an unapplied edit counts as applied";
    if (table == baseline && !edited && !State().blnApplied) return "unapplied with no edit";
    return {};
  }

  // What a channel field may show for `value`: its upper-case digits in the base, at most three
  // (leading zeros too) in decimal, two in hexadecimal, or while focused one or none.
  bool Shows(const std::u16string& text, int value, bool focused) {
    const bool hex = State().intBase == editor::kHexadecimal;
    if (text.empty() || text.size() > (hex ? 2u : 3u) || (hex && text.size() == 1 && !focused) ||
        text.find_first_not_of(hex ? u"0123456789ABCDEF" : u"0123456789") != text.npos) {
      return focused && text.empty();
    }
    return std::stoi(std::string(text.begin(), text.end()), nullptr, hex ? 16 : 10) == value;
  }

  editor::ColorTable baseline{};  // as last loaded or applied
  bool edited = false;            // since then
  Snapshot world;                 // the registry as the window must have left it
  std::set<std::string> refusedOpens, refusedWrites;
  std::uint32_t lastOwner = 0;
  char attempt = 0;  // S: started, A: an apply that must be tried, L: a load, H: the About box
  std::u16string idBefore;
  editor::ColorTable tableBefore{};
  std::map<std::u16string, std::optional<std::string>> disk;  // every file the test knows of
  unsigned newNames = 0;
  std::vector<std::u16string> paths;  // good, bad, new, refused, in no folder, in a locked one
  std::u16string readPath;
  std::string broken;
};

TEST_F(RandomUser, KeepsTheWindowTheRegistryAndTheKeysSound) {
  const auto seed = static_cast<std::uint32_t>(FromEnvironment("TINTMARK_RANDOM_SEED", 20261207));
  const long count = FromEnvironment("TINTMARK_RANDOM_EVENTS", kDefaultEvents);
  std::mt19937 rng(seed);
  std::discrete_distribution<int> kinds(std::begin(kWeights), std::end(kWeights));
  std::vector<Event> events;
  for (long i = 0; i < count; ++i) {
    events.push_back({kinds(rng), static_cast<std::uint32_t>(rng())});
  }
  // TINTMARK_RANDOM_REPLAY="kind:seed kind:seed ..." runs the events that a failure printed.
  if (const char* replay = std::getenv("TINTMARK_RANDOM_REPLAY")) {
    events.clear();
    std::istringstream in(replay);
    for (Event e; in >> e.kind && in.ignore(1) >> e.seed;) events.push_back(e);
  }
  long failed = Run(events);
  if (failed < 0) return;

  // The shortest run that still fails: chunks are dropped while it keeps failing.
  events.resize(failed + 1);
  for (std::size_t chunk = events.size() / 2; chunk > 0; chunk /= 2) {
    for (std::size_t at = 0; at < events.size() && events.size() > 1;) {
      std::vector<Event> shorter(events.begin(), events.begin() + at);
      shorter.insert(shorter.end(), events.begin() + std::min(at + chunk, events.size()),
                     events.end());
      failed = Run(shorter);
      if (failed >= 0) {
        shorter.resize(failed + 1);
        events = shorter;
      } else {
        at += chunk;
      }
    }
  }
  std::vector<std::string> log;
  Run(events, &log);
  std::string steps, replay;
  for (std::size_t i = 0; i < log.size(); ++i) {
    const std::string event = std::to_string(events[i].kind) + ":" + std::to_string(events[i].seed);
    steps += "  " + std::to_string(i) + " " + event + " " + log[i] + "\n";
    replay += (i ? " " : "") + event;
  }
  ADD_FAILURE() << "seed " << seed << ": " << broken << " after these " << events.size()
                << " events:\n"
                << steps << "TINTMARK_RANDOM_REPLAY=\"" << replay << "\"";
}

}  // namespace
}  // namespace tktest
