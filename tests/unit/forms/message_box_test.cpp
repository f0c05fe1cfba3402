// Boxes built from Windows flags, the error text rule and the program title.
#include "forms/message_box.h"
#include "forms/program_title.h"
#include "forms_fixture.h"

namespace qor::forms::testing {
namespace {

struct BoxCase {
  unsigned Flags;
  std::vector<rtl::String> Captions;
  std::vector<int> Results;
  int Default;
  int Close;
  TBoxIcon Icon;
};

class MessageBoxFlags : public ::testing::TestWithParam<BoxCase> {};

TEST_P(MessageBoxFlags, GiveTheStandardButtonsDefaultAndIcon) {
  const BoxCase& c = GetParam();
  TBoxRequest r = MessageBoxRequest(u"text", u"caption", c.Flags);
  std::vector<rtl::String> captions;
  std::vector<int> results;
  for (auto& b : r.Buttons) {
    captions.push_back(b.Caption);
    results.push_back(b.Result);
  }
  EXPECT_EQ(captions, c.Captions);
  EXPECT_EQ(results, c.Results);
  EXPECT_EQ(r.DefaultButton, c.Default);
  EXPECT_EQ(r.CloseResult, c.Close);
  EXPECT_EQ(r.Icon, c.Icon);
  EXPECT_EQ(r.Text, u"text");
  EXPECT_EQ(r.Caption, u"caption");
}

INSTANTIATE_TEST_SUITE_P(
    Flags, MessageBoxFlags,
    ::testing::Values(
        BoxCase{MB_YESNO | MB_ICONWARNING, {u"&Yes", u"&No"}, {IDYES, IDNO}, 0, IDNO, TBoxIcon::Warning},
        BoxCase{MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2, {u"&Yes", u"&No"}, {IDYES, IDNO}, 1, IDNO,
                TBoxIcon::Warning},
        BoxCase{MB_OK | MB_ICONINFORMATION, {u"OK"}, {IDOK}, 0, IDOK, TBoxIcon::Information},
        BoxCase{MB_OK | MB_ICONERROR, {u"OK"}, {IDOK}, 0, IDOK, TBoxIcon::Error},
        BoxCase{MB_OKCANCEL | MB_ICONQUESTION, {u"OK", u"Cancel"}, {IDOK, IDCANCEL}, 0, IDCANCEL,
                TBoxIcon::Question},
        BoxCase{MB_YESNOCANCEL | MB_DEFBUTTON3, {u"&Yes", u"&No", u"Cancel"}, {IDYES, IDNO, IDCANCEL}, 2, IDCANCEL,
                TBoxIcon::None},
        BoxCase{MB_RETRYCANCEL, {u"&Retry", u"Cancel"}, {IDRETRY, IDCANCEL}, 0, IDCANCEL, TBoxIcon::None},
        // A default beyond the buttons falls back to the first.
        BoxCase{MB_OK | MB_DEFBUTTON3, {u"OK"}, {IDOK}, 0, IDOK, TBoxIcon::None}));

TEST(ErrorBoxText, AppendsAFullStopOnlyAfterCharactersAboveIt) {
  EXPECT_EQ(ErrorBoxText(u"abc"), u"abc.");
  EXPECT_EQ(ErrorBoxText(u"abc."), u"abc.");
  EXPECT_EQ(ErrorBoxText(u"abc/"), u"abc/.");  // '/' is the next code after '.'
  EXPECT_EQ(ErrorBoxText(u"abc-"), u"abc-");
  EXPECT_EQ(ErrorBoxText(u"abc "), u"abc ");
  EXPECT_EQ(ErrorBoxText(u""), u"");
}

TEST(ProgramTitle, IsTheFileNameWithoutItsExtension) {
  EXPECT_EQ(FileTitle(u"C:\\cd\\bin\\nol_cdrun.exe"), u"nol_cdrun");
  EXPECT_EQ(FileTitle(u"/media/cd/bin/nol_cdrun"), u"nol_cdrun");
  EXPECT_EQ(FileTitle(u"D:\\setup.v2.exe"), u"setup.v2");
  EXPECT_EQ(FileTitle(u"/opt/x/.hidden"), u".hidden");
  EXPECT_EQ(FileTitle(u"plain"), u"plain");
}

TEST_F(FormsTest, TheTitleComesFromTheProgramFileUnlessSet) {
  Fake.Files().ProgramFile = u"/media/cd/bin/nol_cdrun";
  EXPECT_EQ(App.Title(), u"nol_cdrun");
  App.SetTitle(u"Own title");
  App.ShowException(u"boom");
  ASSERT_EQ(Ws.Boxes().size(), 1u);
  EXPECT_EQ(Ws.Boxes()[0].Request.Caption, u"Own title");
  EXPECT_EQ(Ws.Boxes()[0].Request.Owner, nullptr);  // no form shown
}

TEST_F(FormsTest, MessageBoxReturnsTheScriptedAnswerOrTheDefault) {
  Ws.BoxAnswers = {IDNO};
  EXPECT_EQ(App.MessageBox(u"?", u"Warning", MB_YESNO | MB_ICONWARNING), IDNO);
  EXPECT_EQ(App.MessageBox(u"?", u"Warning", MB_YESNO | MB_ICONWARNING), IDYES);
  EXPECT_EQ(App.MessageBox(u"?", u"Warning", MB_YESNO | MB_DEFBUTTON2), IDNO);
}

}  // namespace
}  // namespace qor::forms::testing
