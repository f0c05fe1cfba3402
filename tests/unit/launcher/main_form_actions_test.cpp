// The main window's actions: what each entry opens, starts, asks and shows, and
// whether the window stays.
#include <vector>

#include "main_form_fixture.h"

namespace qor::testing {
namespace {

using forms::TBoxIcon;

constexpr rtl::StringView kM1 =
    u"Вы действительно хотите полностью переустановить программу?\r\nВсе пользовательские данные будут утеряны!";
constexpr rtl::StringView kM2 = u"Для обновления необходимо закрыть саму программу!";
constexpr rtl::StringView kM3 = u"Рекомендуется полная переустановка программы!";

// The picture and the caption of an entry run the same handler.
TEST_F(MainFormTest, PictureAndCaptionRunTheSameHandler) {
  Install();
  Create();
  // Description: the document opens, the window stays.
  for (forms::TControl* c : {static_cast<forms::TControl*>(Form->Image3), static_cast<forms::TControl*>(Form->Label1)})
    Click(*c);
  ASSERT_EQ(ShellCalls().size(), 2u);
  for (const auto& call : ShellCalls()) EXPECT_EQ(call.File, u"..\\doc\\htmlhelp.chm");
  EXPECT_FALSE(Closed());

  // Launch / Update: both probe the running-instance mutex first.
  Platform.Mutexes().Hold(u"NOL_RUNNING");
  Click(*Form->Image6);
  Click(*Form->Label4);
  EXPECT_EQ(BoxCount(), 2);
  EXPECT_EQ(Platform.Mutexes().Created(), (std::vector<rtl::String>{u"NOL_RUNNING", u"NOL_RUNNING"}));

  // Exit, by picture and by caption.
  for (bool byPicture : {true, false}) {
    App.reset();
    Create();
    Click(byPicture ? static_cast<forms::TControl&>(*Form->Image5) : *Form->Label3);
    EXPECT_TRUE(Closed()) << byPicture;
  }
}

// The hidden entries are wired: shown, they work (the installer, by either control).
TEST_F(MainFormTest, HiddenEntriesAreWired) {
  for (bool byPicture : {true, false}) {
    Create();
    Form->Image4->Show();
    Form->Label2->Show();
    Click(byPicture ? static_cast<forms::TControl&>(*Form->Image4) : *Form->Label2);
    ASSERT_EQ(Platform.Processes().Calls().size(), byPicture ? 1u : 2u);
    EXPECT_TRUE(Closed());
    App.reset();
  }
  // The presentations picture opens its window beside the launcher, which stays.
  Create();
  Form->imgAdditional->Show();
  Click(*Form->imgAdditional);
  EXPECT_EQ(Form->OwnedFormCount(), 1);
  EXPECT_EQ(BoxCount(), 0);
  EXPECT_FALSE(Closed());
}

TEST_F(MainFormTest, BrochureOpensThePdfAndCloses) {
  Platform.Shell().Result = 2;  // the document is missing: the shell's own affair
  Create();
  Click(*Form->Image2);
  ASSERT_EQ(ShellCalls().size(), 1u);
  const auto& call = ShellCalls()[0];
  EXPECT_EQ(call.Verb, u"open");
  EXPECT_EQ(call.File, u"..\\pdf\\loranta.pdf");
  EXPECT_FALSE(call.Parameters.has_value());
  EXPECT_FALSE(call.Directory.has_value());
  EXPECT_EQ(call.ShowCmd, 1);  // SW_SHOWNORMAL
  EXPECT_EQ(BoxCount(), 0);
  EXPECT_TRUE(Closed());
}

TEST_F(MainFormTest, DescriptionOpensTheHelpAndStays) {
  Platform.Shell().Result = 2;
  Create();
  Click(*Form->Label1);
  Click(*Form->Label1);
  ASSERT_EQ(ShellCalls().size(), 2u);
  EXPECT_EQ(ShellCalls()[1].File, u"..\\doc\\htmlhelp.chm");
  EXPECT_FALSE(ShellCalls()[1].Parameters.has_value());
  EXPECT_FALSE(ShellCalls()[1].Directory.has_value());
  EXPECT_EQ(ShellCalls()[1].ShowCmd, 1);
  EXPECT_EQ(BoxCount(), 0);
  EXPECT_FALSE(Closed());
  EXPECT_TRUE(Window().Visible());
}

TEST_F(MainFormTest, InstallAsksWhenInstalledAndAlwaysCloses) {
  struct TCase {
    bool Installed;
    int Answer;  // 0: no box expected
    bool Starts;
  };
  for (const TCase& c : std::vector<TCase>{{false, 0, true},
                                           {true, forms::IDYES, true},
                                           {true, forms::IDNO, false},
                                           {true, forms::IDCANCEL, false}}) {
    SCOPED_TRACE(::testing::Message() << c.Installed << " " << c.Answer);
    Platform.Registry().Clear();
    if (c.Installed) Install();
    Create();
    Form->Label2->Show();
    // The installer is looked up afresh, not from the layout.
    if (c.Answer) Widgetset.BoxAnswers.push_back(c.Answer);
    const std::size_t boxes = Widgetset.Boxes().size();
    const std::size_t calls = Platform.Processes().Calls().size();
    Click(*Form->Label2);
    if (c.Answer) {
      ASSERT_EQ(Widgetset.Boxes().size(), boxes + 1);
      const forms::TBoxRequest& box = LastBox();
      EXPECT_EQ(box.Icon, TBoxIcon::Warning);
      EXPECT_EQ(box.Caption, u"Warning");
      EXPECT_EQ(box.Text, kM1);
      ASSERT_EQ(box.Buttons.size(), 2u);
      EXPECT_EQ(box.Buttons[0].Caption, u"&Yes");
      EXPECT_EQ(box.Buttons[1].Caption, u"&No");
      EXPECT_EQ(box.DefaultButton, 0);
      EXPECT_NE(box.Owner, nullptr);
    } else {
      EXPECT_EQ(Widgetset.Boxes().size(), boxes);
    }
    const auto& processCalls = Platform.Processes().Calls();
    ASSERT_EQ(processCalls.size(), calls + (c.Starts ? 1 : 0));
    if (c.Starts) {
      const auto& call = processCalls.back();
      EXPECT_EQ(call.CommandLine, u"nol_setup.exe");
      EXPECT_EQ(call.Startup.ShowWindow, 1);
      EXPECT_EQ(call.Startup.Flags, 1u);
      EXPECT_EQ(call.CreationFlags, 0x20u);
      EXPECT_FALSE(call.InheritHandles);
    }
    EXPECT_TRUE(Closed());
    App.reset();
  }
}

// Whether a copy is installed is read when Installation is clicked, not when the
// window was made.
TEST_F(MainFormTest, InstallReadsTheInstallationAtClickTime) {
  Create();
  Form->Label2->Show();
  Install();
  Widgetset.BoxAnswers.push_back(forms::IDNO);
  Click(*Form->Label2);
  ASSERT_EQ(BoxCount(), 1);
  EXPECT_EQ(LastBox().Text, kM1);
  EXPECT_TRUE(Platform.Processes().Calls().empty());

  Create();
  Form->Label2->Show();
  Platform.Registry().Clear();
  Click(*Form->Label2);
  EXPECT_EQ(BoxCount(), 1) << "asked although nothing is installed any more";
  EXPECT_EQ(Platform.Processes().Calls().size(), 1u);
}

TEST_F(MainFormTest, InstallerThatCannotStartClosesSilently) {
  Platform.Processes().Succeeds = [](const rtl::String&) { return false; };
  Create();
  Form->Label2->Show();
  Click(*Form->Label2);
  EXPECT_EQ(BoxCount(), 0);
  EXPECT_TRUE(Closed());
}

class RunUpdateTest : public MainFormTest {
 protected:
  void SetUp() override {
    Install();
    SetVersion(u"5");
    Platform.Files().SetFile(u"..\\img\\cd_2.jpg", "advert");
    Platform.Files().AddDirectory(u"C:\\Program Files\\Quillbox\\img");
  }
  void ExpectStaysWith(rtl::StringView text, TBoxIcon icon, rtl::StringView caption) {
    ASSERT_EQ(BoxCount(), 1);
    EXPECT_EQ(LastBox().Text, text);
    EXPECT_EQ(LastBox().Icon, icon);
    EXPECT_EQ(LastBox().Caption, caption);
    EXPECT_EQ(LastBox().Owner, Form->Handle()) << "the box is not modal over the main window";
    ASSERT_EQ(LastBox().Buttons.size(), 1u);
    EXPECT_EQ(LastBox().Buttons[0].Caption, u"OK");
    EXPECT_FALSE(Closed());
    EXPECT_TRUE(ShellCalls().empty());
    EXPECT_FALSE(Platform.Files().Contents(u"C:\\Program Files\\Quillbox\\img\\qor_adv.jpg"));
  }
  void ExpectUpdateStarted(rtl::StringView folder = kInstallFolder, int boxesBefore = 0) {
    EXPECT_EQ(BoxCount(), boxesBefore);
    ASSERT_EQ(ShellCalls().size(), 1u);
    const auto& call = ShellCalls()[0];
    EXPECT_EQ(call.Verb, u"open");
    EXPECT_EQ(call.File, rtl::String(folder) + u"bin\\qor7420main.exe");
    EXPECT_EQ(call.Parameters, rtl::String(u"/update /update_path \"C:\\cd\\upd\""));
    EXPECT_EQ(call.Directory, rtl::String(folder) + u"bin\\");
    EXPECT_EQ(call.ShowCmd, 5);  // SW_SHOW
    EXPECT_TRUE(Closed());
  }
};

TEST_F(RunUpdateTest, StartsTheInstalledProgramWithTheUpdateCommandLine) {
  Platform.Files().SetFile(u"C:\\Program Files\\Quillbox\\img\\qor_adv.jpg", "old advert");
  // What the program finds when it starts.
  std::optional<std::string> advertAtStart;
  Platform.Shell().OnExecute = [&](const platform::fake::TFakeShell::TCall&) {
    advertAtStart = Platform.Files().Contents(u"C:\\Program Files\\Quillbox\\img\\qor_adv.jpg");
  };
  Create();
  Click(*Form->Label4);
  // The advertising picture replaces the one there, before the program starts.
  EXPECT_EQ(advertAtStart, std::string("advert"));
  EXPECT_EQ(Platform.Files().Contents(u"C:\\Program Files\\Quillbox\\img\\qor_adv.jpg"), std::string("advert"));
  ExpectUpdateStarted();
  EXPECT_EQ(Platform.Mutexes().Created(), (std::vector<rtl::String>{u"NOL_RUNNING", u"VEX7420_RUNNING"}));
  EXPECT_EQ(Platform.Mutexes().OpenHandleCount(), 0);
  EXPECT_EQ(Platform.Registry().OpenKeyCount(), 0);
}

// The second name is probed only when the first is free.
TEST_F(RunUpdateTest, FirstMutexShowsM2WithoutProbingTheSecond) {
  Platform.Mutexes().Hold(u"NOL_RUNNING");
  Create();
  Click(*Form->Label4);
  ExpectStaysWith(kM2, TBoxIcon::Information, u"Information");
  EXPECT_EQ(Platform.Mutexes().Created(), (std::vector<rtl::String>{u"NOL_RUNNING"}));
}

TEST_F(RunUpdateTest, SecondMutexAloneShowsM2) {
  Platform.Mutexes().Hold(u"VEX7420_RUNNING");
  Create();
  Click(*Form->Image6);
  ExpectStaysWith(kM2, TBoxIcon::Information, u"Information");
  EXPECT_EQ(Platform.Mutexes().Created(), (std::vector<rtl::String>{u"NOL_RUNNING", u"VEX7420_RUNNING"}));
}

TEST_F(RunUpdateTest, NoVersionValueShowsM3) {
  Platform.Registry().Clear();
  Install();
  Create();
  Click(*Form->Label4);
  ExpectStaysWith(kM3, TBoxIcon::Information, u"Information");
}

// The version text decides: more than 3 updates, 3 or less recommends a
// reinstallation, anything that is not an integer is an error in the default box.
TEST_F(RunUpdateTest, VersionTexts) {
  enum TOutcome { Update, M3, Error };
  struct TCase {
    rtl::StringView Text;
    TOutcome Outcome;
  };
  for (const TCase& c : std::vector<TCase>{{u"3", M3},
                                           {u"4", Update},
                                           {u" 4", Update},
                                           {u"$10", Update},
                                           {u"-7", M3},
                                           {u"4a", Error},
                                           {u"", Error}}) {
    SCOPED_TRACE(rtl::StringToUtf8(c.Text));
    SetVersion(c.Text);
    Create();
    const std::size_t boxes = Widgetset.Boxes().size();
    const std::size_t shells = ShellCalls().size();
    Click(*Form->Label4);
    switch (c.Outcome) {
      case Update:
        EXPECT_EQ(Widgetset.Boxes().size(), boxes);
        EXPECT_EQ(ShellCalls().size(), shells + 1);
        EXPECT_TRUE(Closed());
        break;
      case M3:
        ASSERT_EQ(Widgetset.Boxes().size(), boxes + 1);
        EXPECT_EQ(LastBox().Text, kM3);
        EXPECT_EQ(ShellCalls().size(), shells);
        EXPECT_FALSE(Closed());
        break;
      case Error:
        ASSERT_EQ(Widgetset.Boxes().size(), boxes + 1);
        EXPECT_EQ(LastBox().Icon, TBoxIcon::Error);
        EXPECT_EQ(LastBox().Caption, u"nol_cdrun");
        EXPECT_EQ(LastBox().Text, u"''" + rtl::String(c.Text) + u"'' is not a valid integer value.");
        EXPECT_EQ(ShellCalls().size(), shells);
        EXPECT_FALSE(Closed());
        break;
    }
    App.reset();
  }
}

TEST_F(RunUpdateTest, DWordVersionIsAnError) {
  Platform.Registry().SetDWord(HKEY_CURRENT_USER, kVersionKey, u"VersionFDB", 5);
  Create();
  Click(*Form->Label4);
  ASSERT_EQ(BoxCount(), 1);
  EXPECT_EQ(LastBox().Icon, TBoxIcon::Error);
  // No full stop after a closing quote: its code is below that of '.'.
  EXPECT_EQ(LastBox().Text, u"Invalid data type for 'VersionFDB'");
  EXPECT_FALSE(Closed());
  EXPECT_TRUE(ShellCalls().empty());
  EXPECT_EQ(Platform.Registry().OpenKeyCount(), 0);
}

// After an error the window is as it was, and the next click works.
TEST_F(RunUpdateTest, ErrorLeavesTheWindowAsItWas) {
  SetVersion(u"4a");
  Create();
  Click(*Form->Label4);
  ASSERT_EQ(BoxCount(), 1);
  EXPECT_FALSE(Closed());
  EXPECT_TRUE(Window().Visible());
  EXPECT_TRUE(Window().Enabled());
  EXPECT_EQ(Form->PressedControl(), nullptr);
  EXPECT_TRUE(Form->Label4->Visible());
  EXPECT_TRUE(Form->Image6->Visible());
  EXPECT_EQ(Form->Caption(), u"Квиллбокс «ЛОРАНТА». ПО к «Еженедельнику ЛОРАНТА».");

  SetVersion(u"4");
  Click(*Form->Label4);
  ExpectUpdateStarted(kInstallFolder, 1);
}

TEST_F(RunUpdateTest, PerUserInstallFolderWhenPerMachineIsEmpty) {
  Platform.Registry().Clear();
  SetVersion(u"5");
  Install(HKEY_LOCAL_MACHINE, kUninstallKey1, u"");
  Install(HKEY_CURRENT_USER, kUninstallKey1, u"D:\\User\\Quillbox\\");
  Platform.Files().AddDirectory(u"D:\\User\\Quillbox\\img");
  Create();
  EXPECT_EQ(Form->GetInstallLocation(), u"D:\\User\\Quillbox\\");
  Click(*Form->Label4);
  EXPECT_EQ(Platform.Files().Contents(u"D:\\User\\Quillbox\\img\\qor_adv.jpg"), std::string("advert"));
  ExpectUpdateStarted(u"D:\\User\\Quillbox\\");
}

TEST_F(RunUpdateTest, PerMachineInstallFolderWins) {
  Install(HKEY_CURRENT_USER, kUninstallKey1, u"D:\\User\\Quillbox\\");
  Create();
  EXPECT_EQ(Form->GetInstallLocation(), kInstallFolder);
}

// Empty under both roots, or absent (the handler run directly: the entry is then
// hidden): nothing is copied or started, and the window closes silently.
TEST_F(RunUpdateTest, NoInstallFolderClosesWithoutStarting) {
  for (bool present : {true, false}) {
    SCOPED_TRACE(present);
    Platform.Registry().Clear();
    SetVersion(u"5");
    if (present) {
      Install(HKEY_LOCAL_MACHINE, kUninstallKey1, u"");
      Install(HKEY_CURRENT_USER, kUninstallKey1, u"");
    }
    Create();
    Form->RunUpdateClick(Form->Label4);
    Widgetset.DrainPosted();
    EXPECT_EQ(BoxCount(), 0);
    EXPECT_TRUE(ShellCalls().empty());
    EXPECT_EQ(Platform.Files().FileNames().size(), 1u);  // only the CD's picture
    EXPECT_TRUE(Closed());
  }
}

// A copy that fails (no picture on the CD) does not stop the update; a missing
// program is the shell's affair.
TEST_F(RunUpdateTest, FailingCopyAndMissingProgramStillClose) {
  Platform.Files().Delete(u"..\\img\\cd_2.jpg");
  Platform.Shell().Result = 2;
  Create();
  Click(*Form->Label4);
  EXPECT_FALSE(Platform.Files().Contents(u"C:\\Program Files\\Quillbox\\img\\qor_adv.jpg"));
  ExpectUpdateStarted();
}

}  // namespace
}  // namespace qor::testing
