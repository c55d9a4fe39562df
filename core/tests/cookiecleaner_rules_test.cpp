// The cookie cleaner's rules: the code check, the cookie folder text, plain names and the choice of files.
#include "core/cookiecleaner_rules.h"

#include <gtest/gtest.h>

#include <string>

namespace vexbane::cookiecleaner {
namespace {

// --- the code string ---

TEST(IsCleanCode, AcceptsOnlyTheExactCodeInNarrowAndWideText) {
  EXPECT_TRUE(IsCleanCode("VEXBANECLN", 10));
  EXPECT_TRUE(IsCleanCode(u"VEXBANECLN", 10));
  EXPECT_TRUE(IsCleanCode(L"VEXBANECLN", 10));
  EXPECT_FALSE(IsCleanCode("vexbanecln", 10));
  EXPECT_FALSE(IsCleanCode("VexbaneCln", 10));
  EXPECT_FALSE(IsCleanCode("VEXBANECL", 9));
  EXPECT_FALSE(IsCleanCode("VEXBANECLNX", 11));
  EXPECT_FALSE(IsCleanCode("VEXBANECLN\0X", 12));  // a NUL does not end a counted text
  EXPECT_FALSE(IsCleanCode("", 0));
  EXPECT_FALSE(IsCleanCode(static_cast<const char16_t*>(nullptr), 0));
}

TEST(IsCleanCode, NoWideCharacterStandsInForALetter) {
  std::u16string text = u"VEXBANECLN";
  text[0] = static_cast<char16_t>(0xFF36);  // fullwidth V, which a best-fit conversion maps to "V"
  EXPECT_FALSE(IsCleanCode(text.data(), text.size()));
  text[0] = static_cast<char16_t>(0x0156);  // low byte 0x56 = "V"
  EXPECT_FALSE(IsCleanCode(text.data(), text.size()));
}

// --- the cookie folder ---

struct FolderCase {
  const char* registryText;
  const char* folder;  // nullptr: refused
};

class CookieFolderTest : public ::testing::TestWithParam<FolderCase> {};

TEST_P(CookieFolderTest, AcceptsOnlyAbsoluteFoldersBelowARoot) {
  const FolderCase& c = GetParam();
  std::optional<std::string> folder = CookieFolderFromRegistryText(c.registryText);
  if (c.folder == nullptr) {
    EXPECT_FALSE(folder.has_value()) << c.registryText << " -> " << folder.value_or("");
  } else {
    ASSERT_TRUE(folder.has_value()) << c.registryText;
    EXPECT_EQ(*folder, c.folder);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, CookieFolderTest,
    ::testing::Values(FolderCase{"C:\\Documents and Settings\\ann\\Cookies", "C:\\Documents and Settings\\ann\\Cookies"},
                      FolderCase{"  C:\\WINDOWS\\Cookies\\  ", "C:\\WINDOWS\\Cookies"},
                      FolderCase{"c:/windows/cookies/", "c:\\windows\\cookies"},
                      FolderCase{"\\\\server\\share\\ann\\Cookies", "\\\\server\\share\\ann\\Cookies"},
                      FolderCase{"", nullptr}, FolderCase{"   ", nullptr},
                      FolderCase{"Cookies", nullptr},            // relative to the current folder
                      FolderCase{"C:Cookies", nullptr},          // relative to the drive's current folder
                      FolderCase{"\\Cookies", nullptr},          // relative to the current drive
                      FolderCase{"C:\\", nullptr}, FolderCase{"C:", nullptr},  // a whole drive
                      FolderCase{"\\\\server\\share", nullptr},  // a whole share
                      FolderCase{"\\\\server", nullptr},
                      // Spellings that only the system's resolution can judge go on to it.
                      FolderCase{"C:\\WINDOWS\\Cookies\\..", "C:\\WINDOWS\\Cookies\\.."},
                      FolderCase{"C:\\WINDOWS\\.", "C:\\WINDOWS\\."},
                      FolderCase{"C:\\PROGRA~1", "C:\\PROGRA~1"},
                      FolderCase{"C:\\WINDOWS. .", "C:\\WINDOWS. ."},
                      FolderCase{"C:\\WINDOWS\\Cook*", nullptr},
                      FolderCase{"\\\\?\\C:\\Cookies", nullptr}, FolderCase{"\\\\.\\C:\\Cookies", nullptr},
                      FolderCase{"\\\\?\\UNC\\server\\share\\Cookies", nullptr},
                      FolderCase{"C:\\WINDOWS\\Cookies:stream", nullptr},
                      FolderCase{"%USERPROFILE%\\Cookies", nullptr},
                      FolderCase{"No", nullptr}));  // the tray's reader's fallback text

TEST(CookieFolder, TakesTheTextUpToTheFirstNul) {
  const std::string bytes("C:\\WINDOWS\\Cookies\0   ", 22);
  EXPECT_EQ(CookieFolderFromRegistryText(bytes).value_or("<none>"), "C:\\WINDOWS\\Cookies");
}

// --- plain names ---

struct NameCase {
  const char* name;
  bool plain;
};

class PlainChildNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(PlainChildNameTest, NamesOnlyAnEntryOfTheFolderItself) {
  EXPECT_EQ(IsPlainChildName(GetParam().name), GetParam().plain) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Table, PlainChildNameTest,
    ::testing::Values(NameCase{"ann@example[1].txt", true}, NameCase{"index.dat", true},
                      NameCase{"ann@ads.example.com[2].txt", true}, NameCase{"a b.txt", true},
                      NameCase{"", false}, NameCase{".", false}, NameCase{"..", false}, NameCase{"...", false},
                      NameCase{"..\\boot.ini", false}, NameCase{"../boot.ini", false},
                      NameCase{"sub\\file.txt", false}, NameCase{"sub/file.txt", false},
                      NameCase{"C:boot.ini", false}, NameCase{"file.txt:stream", false},
                      NameCase{"a..b.txt", false}, NameCase{"*.txt", false}, NameCase{"a?.txt", false},
                      NameCase{"tab\there.txt", false}, NameCase{"trailing.", false},
                      NameCase{"trailing ", false}));

// --- the choice of files ---

FolderEntry File(const char* name) { return FolderEntry{name, false, false}; }
FolderEntry Folder(const char* name) { return FolderEntry{name, true, false}; }
FolderEntry Link(const char* name) { return FolderEntry{name, false, true}; }

KeepListFile Keep(const char* text) { return KeepListFile{KeepListStatus::kRead, text}; }
const KeepListFile kNoKeepList{KeepListStatus::kMissing, ""};

std::vector<std::string> Names(std::initializer_list<const char*> names) {
  return std::vector<std::string>(names.begin(), names.end());
}

struct SelectionCase {
  const char* what;
  std::vector<FolderEntry> listing;
  KeepListFile keepList;
  std::vector<std::string> doomed;
};

class SelectionTest : public ::testing::TestWithParam<SelectionCase> {};

TEST_P(SelectionTest, ChoosesTheFilesToDelete) {
  EXPECT_EQ(SelectCookieFilesToDelete(GetParam().listing, GetParam().keepList), GetParam().doomed)
      << GetParam().what;
}

const std::vector<FolderEntry> kTypicalFolder = {
    File("index.dat"),           File("ann@example[1].txt"), File("ann@example[2].txt"),
    File("ann@ads.tracker[1].txt"), File("INDEX.BAK"),       File("bob@news.txt"),
};

INSTANTIATE_TEST_SUITE_P(
    Table, SelectionTest,
    ::testing::Values(
        SelectionCase{"no keep list: every file but the index files",
                      kTypicalFolder, kNoKeepList,
                      Names({"ann@example[1].txt", "ann@example[2].txt", "ann@ads.tracker[1].txt", "bob@news.txt"})},
        SelectionCase{"empty keep list keeps nothing",
                      kTypicalFolder, Keep(""),
                      Names({"ann@example[1].txt", "ann@example[2].txt", "ann@ads.tracker[1].txt", "bob@news.txt"})},
        SelectionCase{"kept owners in other letter case keep all their files",
                      kTypicalFolder, Keep("#ANN@EXAMPLE##Bob@News#\r\n"),
                      Names({"ann@ads.tracker[1].txt"})},
        SelectionCase{"only the first line of the keep list counts",
                      kTypicalFolder, Keep("#bob@news#\r\n#ann@example#\r\n"),
                      Names({"ann@example[1].txt", "ann@example[2].txt", "ann@ads.tracker[1].txt"})},
        SelectionCase{"a name must stand framed: a part of a kept name keeps nothing",
                      kTypicalFolder, Keep("#ann@example.org#"),
                      Names({"ann@example[1].txt", "ann@example[2].txt", "ann@ads.tracker[1].txt", "bob@news.txt"})},
        SelectionCase{"an unreadable keep list deletes nothing",
                      kTypicalFolder, KeepListFile{KeepListStatus::kUnreadable, ""}, Names({})},
        SelectionCase{"folders, links and the folder's own entries are left alone",
                      {File("."), File(".."), Folder("sub"), Folder("ann@example[1].txt"), Link("bob@link[1].txt"),
                       Link("parent"), File("eve@site[1].txt")},
                      kNoKeepList, Names({"eve@site[1].txt"})},
        SelectionCase{"names that would lead out of the folder are never chosen",
                      {File("..\\boot.ini"), File("../autoexec.bat"), File("C:\\config.sys"), File("a..b[1].txt"),
                       File("eve@site[1].txt")},
                      kNoKeepList, Names({"eve@site[1].txt"})},
        SelectionCase{"an empty folder gives nothing", {}, kNoKeepList, Names({})}));


// --- the resolved folder ---

// The folders of an NT-family profile and of a 95-family machine, each with its short form.
const std::vector<std::string> kProtected = {
    "C:\\WINDOWS", "C:\\WINDOWS\\system32", "C:\\Program Files", "C:\\PROGRA~1",
    "C:\\Documents and Settings\\ann", "C:\\DOCUME~1\\ann", "C:\\Documents and Settings\\ann\\Desktop",
    "C:\\Documents and Settings\\ann\\My Documents", "C:\\DOCUME~1\\ann\\MYDOCU~1",
    "C:\\My Documents", "\\\\server\\home\\ann"};

struct VerdictCase {
  std::vector<std::string> forms;
  FolderVerdict verdict;
};

class ResolvedFolderTest : public ::testing::TestWithParam<VerdictCase> {};

TEST_P(ResolvedFolderTest, RefusesRootsAndTheFoldersTheSystemAndTheUserLiveIn) {
  const VerdictCase& c = GetParam();
  EXPECT_EQ(CheckResolvedCookieFolder(c.forms, kProtected), c.verdict) << c.forms.front();
}

INSTANTIATE_TEST_SUITE_P(
    Table, ResolvedFolderTest,
    ::testing::Values(
        // Cookie folders of both families stay usable, inside protected folders as well.
        VerdictCase{{"C:\\WINDOWS\\Cookies"}, FolderVerdict::kUsable},
        VerdictCase{{"C:\\Documents and Settings\\ann\\Cookies", "C:\\DOCUME~1\\ann\\Cookies"}, FolderVerdict::kUsable},
        VerdictCase{{"C:\\WINDOWS\\Profiles\\ann\\Cookies"}, FolderVerdict::kUsable},
        VerdictCase{{"\\\\server\\home\\ann\\Cookies"}, FolderVerdict::kUsable},
        VerdictCase{{"D:\\Cookies"}, FolderVerdict::kUsable},
        VerdictCase{{"C:\\WINDOWSX"}, FolderVerdict::kUsable},  // a neighbour, not the folder
        // The protected folders themselves, in every spelling and letter case.
        VerdictCase{{"C:\\WINDOWS"}, FolderVerdict::kProtected},
        VerdictCase{{"c:\\windows\\"}, FolderVerdict::kProtected},
        VerdictCase{{"C:\\WINDOWS. ."}, FolderVerdict::kProtected},
        VerdictCase{{"C:/Windows/System32"}, FolderVerdict::kProtected},
        VerdictCase{{"C:\\\\WINDOWS"}, FolderVerdict::kProtected},
        VerdictCase{{"C:\\PROGRA~1"}, FolderVerdict::kProtected},
        VerdictCase{{"C:\\Progs", "C:\\PROGRA~1"}, FolderVerdict::kProtected},  // known by its short form
        VerdictCase{{"C:\\Documents and Settings\\ann"}, FolderVerdict::kProtected},
        VerdictCase{{"C:\\Documents and Settings\\ann\\Desktop"}, FolderVerdict::kProtected},
        VerdictCase{{"C:\\My Documents"}, FolderVerdict::kProtected},
        VerdictCase{{"\\\\SERVER\\Home\\ann"}, FolderVerdict::kProtected},
        // A folder that holds one of them.
        VerdictCase{{"C:\\Documents and Settings"}, FolderVerdict::kProtected},
        VerdictCase{{"\\\\server\\home\\"}, FolderVerdict::kRoot},
        // Roots and what is no folder path.
        VerdictCase{{"C:\\"}, FolderVerdict::kRoot}, VerdictCase{{"C:"}, FolderVerdict::kRoot},
        VerdictCase{{"C:\\."}, FolderVerdict::kNotAFolderPath},
        VerdictCase{{"\\\\server\\share"}, FolderVerdict::kRoot},
        VerdictCase{{"\\\\server"}, FolderVerdict::kNotAFolderPath},
        VerdictCase{{"\\\\?\\C:\\WINDOWS\\Cookies"}, FolderVerdict::kNotAFolderPath},
        VerdictCase{{"\\\\.\\C:\\WINDOWS\\Cookies"}, FolderVerdict::kNotAFolderPath},
        VerdictCase{{"C:\\WINDOWS\\Cookies\\.."}, FolderVerdict::kNotAFolderPath},
        VerdictCase{{"C:\\WINDOWS\\..."}, FolderVerdict::kNotAFolderPath},
        VerdictCase{{"C:\\WINDOWS\\Cookies", "C:\\WINDOWS\\COOKIES:x"}, FolderVerdict::kNotAFolderPath},
        VerdictCase{{"Cookies"}, FolderVerdict::kNotAFolderPath}, VerdictCase{{"C:Cookies"}, FolderVerdict::kNotAFolderPath},
        VerdictCase{{}, FolderVerdict::kNotAFolderPath}));

TEST(ResolvedFolder, AnOddProtectedSettingRefusesNothingElse) {
  EXPECT_EQ(CheckResolvedCookieFolder({"C:\\WINDOWS\\Cookies"}, {"", "No", "relative", "C:"}), FolderVerdict::kUsable);
}

// --- cookie file names ---

class CookieFileNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(CookieFileNameTest, OnlyTheBrowsersCookieFileShape) {
  EXPECT_EQ(IsCookieFileName(GetParam().name), GetParam().plain) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Table, CookieFileNameTest,
    ::testing::Values(NameCase{"ann@example[1].txt", true}, NameCase{"ann@example.txt", true},
                      NameCase{"ANN@EXAMPLE[12].TXT", true}, NameCase{"ann@ads.example.com[2].Txt", true},
                      NameCase{"a@b.txt", true}, NameCase{"ann@ex@ample.txt", true},
                      NameCase{"index.dat", false}, NameCase{"desktop.ini", false}, NameCase{"notes.txt", false},
                      NameCase{"win.ini", false}, NameCase{"budget.xls", false}, NameCase{"@example.txt", false},
                      NameCase{"ann@.txt", false}, NameCase{"ann@example[].txt", false},
                      NameCase{"ann@example[x].txt", false}, NameCase{"ann@example[1]x.txt", false},
                      NameCase{"ann@ex[1]ample.txt", false}, NameCase{"ann@example]1[.txt", false},
                      NameCase{"ann@example.txt.lnk", false}, NameCase{"ann@example.txt ", false},
                      NameCase{"ann@example.tx", false}, NameCase{"ann@example", false}, NameCase{".txt", false},
                      NameCase{"ann@example.txt:stream", false}, NameCase{"..\\ann@example.txt", false},
                      NameCase{"ann@a..b.txt", false}, NameCase{"", false}));

TEST(Selection, AFolderOfDocumentsBesideOneCookieLosesOnlyTheCookie) {
  const std::vector<FolderEntry> folder = {File("win.ini"),     File("notes.txt"),  File("budget.xls"),
                                           File("desktop.ini"), File("thumbs.db"),  File("ann@example[1].txt"),
                                           File("readme@.txt"), File("report.txt"), File("bob@news[1].TXT")};
  EXPECT_EQ(SelectCookieFilesToDelete(folder, kNoKeepList), Names({"ann@example[1].txt", "bob@news[1].TXT"}));
  EXPECT_EQ(SelectCookieFilesToDelete(folder, Keep("#BOB@NEWS#")), Names({"ann@example[1].txt"}));
}

// Protected Mode's cookies lie in "Low" below the cookie folder; only a plain folder is taken.
TEST(ProtectedModeSubfolder, IsAPlainFolderNamedLowInAnyCaseAndNeverALink) {
  EXPECT_EQ(ProtectedModeSubfolder({{"a@b[1].txt", false, false}, {"low", true, false}}), std::optional<std::string>("low"));
  EXPECT_EQ(ProtectedModeSubfolder({{"LOW", true, false}}), std::optional<std::string>("LOW"));
  EXPECT_EQ(ProtectedModeSubfolder({{"Low", true, true}}), std::nullopt) << "a junction is never followed";
  EXPECT_EQ(ProtectedModeSubfolder({{"Low", false, false}}), std::nullopt) << "a file of that name is no folder";
  EXPECT_EQ(ProtectedModeSubfolder({{"Lower", true, false}, {"Lo", true, false}}), std::nullopt);
  EXPECT_EQ(ProtectedModeSubfolder({}), std::nullopt);
}

}  // namespace
}  // namespace vexbane::cookiecleaner
