// Finding the owner, the ID field, and loading and applying the owner's colours.

#include "app/main_window_harness.h"

namespace tktest {
namespace {

constexpr char16_t kEmptyIdTitle[] = u" - ID未入力 - Tintmark";
constexpr char16_t kEmptyIdText[] = u"ICQのユーザーIDを正確に入力してください！";
constexpr char16_t kIdErrorTitle[] = u" - IDエラー - Tintmark";
constexpr char16_t kIdErrorText[] =
    u"ユーザーIDが間違っています！\r\n\r\nユーザーIDは正確に入力してください。";
constexpr char16_t kApplyErrorTitle[] = u" - 適用エラー - Tintmark";
constexpr char16_t kApplyErrorText[] =
    u"色の設定を適用できませんでした。\r\n\r\n"
    u"このユーザーIDには色の設定の項目がないか、書き込みが許可されていません。";

class OwnerField : public MainWindowTest {
 protected:
  std::string SendMsg(std::uint32_t id) {
    return std::string(kOwners) + "\\" + std::to_string(id) + "\\Windows\\SendMsg";
  }
  // Unlocks the ID field and replaces its text by typing.
  void TypeId(std::u16string_view id) {
    driver->ChooseMenu(Menu("mnuChangeID"));
    driver->SelectAll();
    driver->Type(id);
  }
};

TEST_F(OwnerField, LastOwnerIsShownLockedAndItsColorsLoadSilently) {
  AddOwner(12345678, 0x000000FF, 0xFFFFFFFF);
  Start();
  EXPECT_TRUE(driver->MessageBoxes().empty());
  EXPECT_EQ(driver->ShownText(Text("txtID")), u"12345678");
  EXPECT_FALSE(driver->ShownEnabled(Text("txtID")));
  EXPECT_EQ(Channels(), u"255,255,0") << "0xFFFFFFFF loads as yellow";
  EXPECT_TRUE(State().blnApplied);
  driver->Click(Option("optObject", 0));
  EXPECT_EQ(Channels(), u"255,0,0");
  EXPECT_EQ(Text("txtTest").ForeColor(), 0x0000FFu);
  EXPECT_EQ(Text("txtTest").BackColor(), 0x00FFFFu);
}

TEST_F(OwnerField, ApplyStoresBothColorsAsDwordsAndBeeps) {
  AddOwner(12345678, 0x000000FF, 0xFFFFFFFF);
  Start();
  driver->Click(Button("btnAccept"));
  EXPECT_EQ(Stored(12345678, "Pen Color"), 0x000000FFu);
  EXPECT_EQ(Stored(12345678, "Back Color"), 0x0000FFFFu);
  EXPECT_EQ(registry->ValueType(SendMsg(12345678), "Back Color"), 4);
  EXPECT_EQ(driver->Beeps(), 1);
  EXPECT_TRUE(driver->MessageBoxes().empty());
  driver->ChooseMenu(Menu("mnuAccept"));
  EXPECT_EQ(driver->Beeps(), 2) << "applying again beeps again";
}

TEST_F(OwnerField, TheTopByteOfAStoredValueIsIgnored) {
  AddOwner(12345678, 0x12345678, 0x00000000);
  Start();
  driver->Click(Option("optObject", 0));
  EXPECT_EQ(Channels(), u"120,86,52");
}

TEST_F(OwnerField, PureGreenIsWrittenAsAPositiveValue) {
  AddOwner(12345678, 0x000000FF, 0x00FFFFFF);
  Start();
  frm->Editor().SetColor(0x0000FF00, 0);
  driver->Click(Button("btnAccept"));
  EXPECT_EQ(Stored(12345678, "Pen Color"), 0x0000FF00u);
  EXPECT_TRUE(State().blnApplied);
}

TEST_F(OwnerField, AMissingBackColorLoadsAsBlack) {
  AddOwner(12345678, 0x000000FF, 0x00FFFFFF);
  registry->Delete(SendMsg(12345678));
  registry->CreateKey(SendMsg(12345678));
  registry->SetDword(SendMsg(12345678), "Pen Color", 0x000000FF);
  Start();
  EXPECT_EQ(Channels(), u"0,0,0");
  EXPECT_TRUE(State().blnApplied);
}

TEST_F(OwnerField, WithoutIcqKeysATypedIdGivesTheIdErrorOnApply) {
  StartWithoutOwner();
  driver->Type(u"12345678");
  driver->ClearRecords();
  driver->AnswerNextMessageBox(tk::kAnswerOk);
  driver->Click(Button("btnAccept"));
  ASSERT_EQ(driver->MessageBoxes().size(), 1u);
  EXPECT_EQ(LastMessage().title, kIdErrorTitle);
  EXPECT_EQ(LastMessage().text, kIdErrorText);
  EXPECT_EQ(LastMessage().style, 48);
  EXPECT_EQ(driver->Beeps(), 0);
  EXPECT_TRUE(driver->ShownEnabled(Text("txtID")));
  EXPECT_EQ(driver->ShownFocus(Form()), &Text("txtID"));
  EXPECT_FALSE(registry->KeyExists(kOwners)) << "no key is ever created";
}

TEST_F(OwnerField, AMissingLastOwnerKeyIsQuietAtStartButReportedLater) {
  AddOwner(12345678, 0x000000FF, 0x00FFFFFF, false);
  registry->SetDword(kOwners, "LastOwner", 87654321);
  Start();
  EXPECT_TRUE(driver->MessageBoxes().empty());
  EXPECT_EQ(driver->ShownText(Text("txtID")), u"87654321");
  EXPECT_EQ(Channels(), u"255,255,255");
  EXPECT_TRUE(State().blnApplied);

  driver->AnswerNextMessageBox(tk::kAnswerOk);
  driver->Click(Button("btnReset"));
  ASSERT_EQ(driver->MessageBoxes().size(), 1u);
  EXPECT_EQ(LastMessage().title, kIdErrorTitle);
}

TEST_F(OwnerField, AnEmptyIdIsReportedAndNothingIsWritten) {
  StartWithoutOwner();
  driver->ClearRecords();
  frm->Editor().SetColor(0x00123456, 0);
  driver->AnswerNextMessageBox(tk::kAnswerOk);
  driver->Click(Button("btnAccept"));
  ASSERT_EQ(driver->MessageBoxes().size(), 1u);
  EXPECT_EQ(LastMessage().text, kEmptyIdText);
  EXPECT_EQ(LastMessage().title, kEmptyIdTitle);
  EXPECT_EQ(LastMessage().style, 48);
  EXPECT_FALSE(State().blnApplied);
  EXPECT_EQ(driver->Beeps(), 0);
  EXPECT_EQ(driver->ShownFocus(Form()), &Text("txtID"));
}

TEST_F(OwnerField, TenCharactersPassTheLengthCheckAndElevenDoNot) {
  AddOwner(1234567890, 0x000000FF, 0x00FFFFFF);
  Start();
  EXPECT_EQ(driver->ShownText(Text("txtID")), u"1234567890");
  driver->Click(Button("btnAccept"));
  EXPECT_EQ(driver->Beeps(), 1);

  TypeId(u"12345678901");
  driver->ClearRecords();
  driver->AnswerNextMessageBox(tk::kAnswerOk);
  driver->Click(Button("btnAccept"));
  ASSERT_EQ(driver->MessageBoxes().size(), 1u);
  EXPECT_EQ(LastMessage().title, kIdErrorTitle);
  EXPECT_EQ(driver->Beeps(), 0);
}

TEST_F(OwnerField, NegativeLastOwnerKeepsItsMinusSign) {
  registry->CreateKey(kOwners);
  registry->SetDword(kOwners, "LastOwner", 0xFFFFFFFF);
  Start();
  EXPECT_EQ(driver->ShownText(Text("txtID")), u"-1");
  EXPECT_TRUE(driver->MessageBoxes().empty()) << "its key is missing: quiet at start";
}

TEST_F(OwnerField, ATenDigitNegativeLastOwnerGivesTheIdErrorAtStart) {
  registry->CreateKey(kOwners);
  registry->SetDword(kOwners, "LastOwner", 0x80000000);
  driver->AnswerNextMessageBox(tk::kAnswerOk);
  Start();
  EXPECT_EQ(driver->ShownText(Text("txtID")), u"-2147483648");
  ASSERT_EQ(driver->MessageBoxes().size(), 1u);
  EXPECT_EQ(LastMessage().title, kIdErrorTitle);
}

TEST_F(OwnerField, AZeroLastOwnerAsksForTheId) {
  registry->CreateKey(kOwners);
  registry->SetDword(kOwners, "LastOwner", 0);
  StartWithoutOwner();
  ASSERT_EQ(driver->MessageBoxes().size(), 1u);
  EXPECT_EQ(LastMessage().title, kIdRequestTitle);
}

TEST_F(OwnerField, TheIdFilterKeepsDigitsAndTheCaretWhereTheUserTyped) {
  StartWithoutOwner();
  driver->Type(u"12a3");
  EXPECT_EQ(driver->ShownText(Text("txtID")), u"123");
  EXPECT_EQ(driver->ShownCaret(Text("txtID")), 3);
  driver->SelectAll();
  driver->Paste(u"１２３");
  EXPECT_EQ(driver->ShownText(Text("txtID")), u"") << "full-width digits are dropped";
}

TEST_F(OwnerField, TheIdFieldLocksItselfWhenLeftAndKeepsItsText) {
  AddOwner(12345678, 0x000000FF, 0x00FFFFFF);
  Start();
  driver->ChooseMenu(Menu("mnuChangeID"));
  EXPECT_TRUE(driver->ShownEnabled(Text("txtID")));
  EXPECT_EQ(driver->ShownFocus(Form()), &Text("txtID"));
  driver->Click(Text("txtColor", 0));
  EXPECT_FALSE(driver->ShownEnabled(Text("txtID")));
  EXPECT_EQ(driver->ShownText(Text("txtID")), u"12345678");
}

TEST_F(OwnerField, ATypedIdLoadsNothingUntilCurrentColor) {
  AddOwner(12345678, 0x000000FF, 0x00FFFFFF);
  AddOwner(555, 0x00000000, 0x00FF0000, false);
  Start();
  TypeId(u"555");
  EXPECT_EQ(Channels(), u"255,255,255");
  driver->Click(Button("btnReset"));
  EXPECT_EQ(Channels(), u"0,0,255");
  EXPECT_TRUE(State().blnApplied);
  EXPECT_FALSE(driver->ShownEnabled(Text("txtID"))) << "clicking the button left the field";
}

TEST_F(OwnerField, ApplyThenCurrentColorReadsBackWhatWasWritten) {
  AddOwner(12345678, 0x000000FF, 0x00FFFFFF);
  Start();
  frm->Editor().SetColor(0x00ABCDEF, 1);
  driver->Click(Button("btnAccept"));
  frm->Editor().SetColor(0x00000000, 1);
  driver->Click(Button("btnReset"));
  EXPECT_EQ(Channels(), u"239,205,171");
  EXPECT_TRUE(State().blnApplied);
}

TEST_F(OwnerField, AnOwnerWithoutColorKeysIsReportedAndNothingIsCreated) {
  registry->CreateKey(std::string(kOwners) + "\\4242");
  registry->SetDword(kOwners, "LastOwner", 4242);
  Start();
  EXPECT_EQ(Channels(), u"0,0,0") << "missing values load as black";
  frm->Editor().SetColor(0x00FFFFFF, 1);
  driver->AnswerNextMessageBox(tk::kAnswerOk);
  driver->Click(Button("btnAccept"));
  ASSERT_EQ(driver->MessageBoxes().size(), 1u);
  EXPECT_EQ(LastMessage().title, kApplyErrorTitle);
  EXPECT_EQ(LastMessage().text, kApplyErrorText);
  EXPECT_EQ(LastMessage().style, 48);
  EXPECT_EQ(driver->Beeps(), 0);
  EXPECT_FALSE(State().blnApplied);
  EXPECT_FALSE(registry->KeyExists(std::string(kOwners) + "\\4242\\Windows"));
}

TEST_F(OwnerField, AFailedApplyFromTheQuitPromptKeepsTheWindowOpen) {
  registry->CreateKey(std::string(kOwners) + "\\4242");
  registry->SetDword(kOwners, "LastOwner", 4242);
  Start();
  frm->Editor().SetColor(0x00FFFFFF, 1);
  driver->AnswerNextMessageBox(tk::kAnswerYes);
  driver->AnswerNextMessageBox(tk::kAnswerOk);
  driver->CloseBox(Form());
  ASSERT_EQ(driver->MessageBoxes().size(), 2u);
  EXPECT_EQ(LastMessage().title, kApplyErrorTitle);
  EXPECT_TRUE(Form().IsLoaded());

  driver->AnswerNextMessageBox(tk::kAnswerYes);
  driver->AnswerNextMessageBox(tk::kAnswerOk);
  driver->Click(Button("btnQuit"));
  EXPECT_TRUE(Form().IsLoaded());
  driver->ChooseMenu(Menu("mnuQuit"));
  EXPECT_FALSE(Form().IsLoaded()) << "File > Quit still leaves without asking";
}

TEST_F(OwnerField, ARefusedWriteIsReportedAndLeavesTheEditsUnapplied) {
  AddOwner(12345678, 0x000000FF, 0x00FFFFFF);
  Refusing().RefuseWrite("Back Color");
  StartRefusing();
  frm->Editor().SetColor(0x00112233, 0);
  driver->AnswerNextMessageBox(tk::kAnswerOk);
  driver->Click(Button("btnAccept"));
  ASSERT_EQ(driver->MessageBoxes().size(), 1u);
  EXPECT_EQ(LastMessage().title, kApplyErrorTitle);
  EXPECT_EQ(driver->Beeps(), 0);
  EXPECT_FALSE(State().blnApplied);
  EXPECT_EQ(Stored(12345678, "Back Color"), 0x00FFFFFFu);

  driver->AnswerNextMessageBox(tk::kAnswerOk);
  driver->ChooseMenu(Menu("mnuEnd"));
  EXPECT_TRUE(Form().IsLoaded()) << "apply and quit keeps the window after a failed apply";
}

TEST_F(OwnerField, AnUnopenableSendMsgKeyIsReportedOnApply) {
  AddOwner(12345678, 0x000000FF, 0x00FFFFFF);
  Refusing().RefuseOpen("SendMsg");
  StartRefusing();
  EXPECT_EQ(Channels(), u"0,0,0") << "an unreadable key loads as black, as a missing one";
  driver->AnswerNextMessageBox(tk::kAnswerOk);
  driver->Click(Button("btnAccept"));
  ASSERT_EQ(driver->MessageBoxes().size(), 1u);
  EXPECT_EQ(LastMessage().title, kApplyErrorTitle);
  EXPECT_EQ(Stored(12345678, "Pen Color"), 0x000000FFu);
}

// Hostile registry contents: each case starts over the owner 12345678 with pen 0x0000FF and back
// 0xFFFFFF, spoils the registry (`spoil`) before start, `between` start and apply, or refuses
// the writes of `refused`; then applies new colours. A failed apply leaves everything as it was.
struct Hostile {
  const char* what;
  std::function<void(RegistryFixture&)> spoil;
  char between = 0;  // S, O, M: SendMsg, the owner or Mirabilis vanish; L: a 255-digit ID typed
  const char* refused = nullptr;
  std::u16string id = u"12345678";
  std::u16string colors = u"000000FF/00FFFFFF";  // the pen's and the back's code once started
  const char16_t* startTitle = nullptr;          // of the message at start
  const char16_t* applyTitle = nullptr;          // of the apply's message; none: it beeps
};

const std::string kSendMsg12345678 = std::string(kOwners) + "\\12345678\\Windows\\SendMsg";
auto Spoil(const char* name, std::uint32_t type, std::vector<std::uint8_t> bytes,
           const std::string& path = kSendMsg12345678) {
  return [=](RegistryFixture& r) { r.SetValue(path, name, type, bytes); };
}
auto SpoilText(const char* name, const char* text, const std::string& path = kSendMsg12345678) {
  return [=](RegistryFixture& r) { r.SetString(path, name, text); };
}
auto Bytes(std::size_t n) { return std::vector<std::uint8_t>(n, 0x7F); }

const Hostile kHostile[] = {
    {"pen as text", SpoilText("Pen Color", "white and more"), 0, nullptr, u"12345678",
     u"00000000/00FFFFFF"},
    {"back of 1 byte", Spoil("Back Color", kRegBinary, Bytes(1)), 0, nullptr, u"12345678",
     u"000000FF/0000007F"},
    {"back of 3 bytes", Spoil("Back Color", kRegBinary, Bytes(3)), 0, nullptr, u"12345678",
     u"000000FF/007F7F7F"},
    {"back of 5 bytes", Spoil("Back Color", kRegBinary, Bytes(5)), 0, nullptr, u"12345678",
     u"000000FF/00000000"},
    {"back of 8 bytes", Spoil("Back Color", kRegBinary, Bytes(8)), 0, nullptr, u"12345678",
     u"000000FF/00000000"},
    {"back of 64 KiB", Spoil("Back Color", kRegBinary, Bytes(65536)), 0, nullptr, u"12345678",
     u"000000FF/00000000"},
    {"back as a QWORD", Spoil("Back Color", kRegQword, Bytes(8)), 0, nullptr, u"12345678",
     u"000000FF/00000000"},
    {"four bytes of any type", Spoil("Pen Color", kRegBinary, {1, 2, 3, 4}), 0, nullptr,
     u"12345678", u"00030201/00FFFFFF"},
    {"LastOwner as text", SpoilText("LastOwner", "12345", kOwners), 0, nullptr, u"",
     u"00000000/00FFFFFF", kIdRequestTitle, kEmptyIdTitle},
    {"LastOwner as a QWORD", Spoil("LastOwner", kRegQword, Bytes(8), kOwners), 0, nullptr, u"",
     u"00000000/00FFFFFF", kIdRequestTitle, kEmptyIdTitle},
    {"LastOwner 0", Spoil("LastOwner", kRegDword, {0, 0, 0, 0}, kOwners), 0, nullptr, u"",
     u"00000000/00FFFFFF", kIdRequestTitle, kEmptyIdTitle},
    {"LastOwner 4294967295", Spoil("LastOwner", kRegDword, {255, 255, 255, 255}, kOwners), 0,
     nullptr, u"-1", u"00000000/00FFFFFF", nullptr, kIdErrorTitle},
    {"an ID of 255 digits",
     [](RegistryFixture& r) {
       r.CreateKey(std::string(kOwners) + "\\" + std::string(255, '1') + "\\Windows\\SendMsg");
     },
     'L', nullptr, u"12345678", u"000000FF/00FFFFFF", nullptr, kIdErrorTitle},
    {"SendMsg vanishes", nullptr, 'S', nullptr, u"12345678", u"000000FF/00FFFFFF", nullptr,
     kApplyErrorTitle},
    {"the owner vanishes", nullptr, 'O', nullptr, u"12345678", u"000000FF/00FFFFFF", nullptr,
     kIdErrorTitle},
    {"Mirabilis vanishes", nullptr, 'M', nullptr, u"12345678", u"000000FF/00FFFFFF", nullptr,
     kIdErrorTitle},
    {"back refused: pen put back", nullptr, 0, "Back Color", u"12345678", u"000000FF/00FFFFFF",
     nullptr, kApplyErrorTitle},
    {"back refused: a missing pen deleted again",
     [](RegistryFixture& r) {
       r.Delete(kSendMsg12345678);
       r.SetDword(kSendMsg12345678, "Back Color", 0xFFFFFF);
     },
     0, "Back Color", u"12345678", u"00000000/00FFFFFF", nullptr, kApplyErrorTitle},
    {"back refused: a pen of text put back", SpoilText("Pen Color", "red"), 0, "Back Color",
     u"12345678", u"00646572/00FFFFFF", nullptr, kApplyErrorTitle},
};

void PrintTo(const Hostile& c, std::ostream* out) { *out << c.what; }

class HostileRegistry : public OwnerField, public ::testing::WithParamInterface<Hostile> {
 protected:
  // Everything an apply may touch, to see that a failed one touched nothing.
  std::vector<std::pair<std::uint32_t, std::optional<std::vector<std::uint8_t>>>> Snapshot() {
    std::vector<std::pair<std::uint32_t, std::optional<std::vector<std::uint8_t>>>> all;
    for (const char* name : {"Pen Color", "Back Color"}) {
      all.emplace_back(registry->ValueType(kSendMsg12345678, name),
                       registry->ReadBytes(kSendMsg12345678, name));
    }
    for (const std::string& key :
         {std::string(kOwners) + "\\-1", SendMsg(12345678), std::string(kOwners) + "\\12345"}) {
      all.emplace_back(registry->KeyExists(key), std::nullopt);
    }
    return all;
  }
};

TEST_P(HostileRegistry, LoadsSensiblyAndAppliesWhollyOrNotAtAll) {
  const Hostile& c = GetParam();
  SCOPED_TRACE(c.what);
  AddOwner(12345678, 0x000000FF, 0x00FFFFFF);
  if (c.spoil) c.spoil(*registry);
  if (c.refused) Refusing().RefuseWrite(c.refused);
  if (c.startTitle) driver->AnswerNextMessageBox(tk::kAnswerOk);
  StartRefusing();
  EXPECT_EQ(driver->ShownText(Text("txtID")), c.id);
  EXPECT_EQ(frm->Editor().ColorCode(0, false) + u"/" + frm->Editor().ColorCode(1, false), c.colors);
  ASSERT_EQ(driver->MessageBoxes().size(), c.startTitle ? 1u : 0u);
  if (c.startTitle) {
    EXPECT_EQ(LastMessage().title, c.startTitle);
  }
  if (c.between == 'S') registry->Delete(SendMsg(12345678));
  if (c.between == 'O') registry->Delete(std::string(kOwners) + "\\12345678");
  if (c.between == 'M') registry->Delete("Software\\Mirabilis");
  if (c.between == 'L') TypeId(std::u16string(255, u'1'));

  driver->ClearRecords();
  const auto before = Snapshot();
  frm->Editor().SetColor(0x00123456, 0);
  frm->Editor().SetColor(0x00654321, 1);
  if (c.applyTitle) driver->AnswerNextMessageBox(tk::kAnswerOk);
  driver->Click(Button("btnAccept"));
  EXPECT_EQ(driver->Beeps(), c.applyTitle ? 0 : 1);
  EXPECT_EQ(State().blnApplied, !c.applyTitle);
  if (c.applyTitle) {
    ASSERT_EQ(driver->MessageBoxes().size(), 1u);
    EXPECT_EQ(LastMessage().title, c.applyTitle);
    EXPECT_EQ(Snapshot(), before);
  } else {
    EXPECT_EQ(Stored(12345678, "Pen Color"), 0x00123456u);
    EXPECT_EQ(Stored(12345678, "Back Color"), 0x00654321u);
  }
  EXPECT_EQ(Refusing().OpenHandleCount(), 4u) << "only the key chain stays open";
}

INSTANTIATE_TEST_SUITE_P(Cases, HostileRegistry, ::testing::ValuesIn(kHostile),
                         [](const auto& info) { return CaseName(info.param.what); });

}  // namespace
}  // namespace tktest
