#include "services/Services.h"
#include "model/BarCodeStrings.h"
#include "services/MacRoman.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <cstdlib>
#include <sys/stat.h>

TEST(Services, MacRomanRoundTripAndRefusal) {
  const std::string text = "caf\u00E9 \u00AB\u00BB \u2122 \u03C0";
  const auto bytes = MacRomanFromUtf8(text);
  ASSERT_TRUE(bytes);
  EXPECT_EQ(*bytes, "caf\x8E \xC7\xC8 \xAA \xB9");
  EXPECT_EQ(MacRomanToUtf8(*bytes), text);
  EXPECT_FALSE(MacRomanFromUtf8("\u65E5\u672C"));
  EXPECT_FALSE(MacRomanFromUtf8("\xE9t\xE9")) << "not UTF-8";
  EXPECT_EQ(MacRomanFromUtf8Lossy("a\u65E5b"), "a?b");
  std::string all;
  for (int b = 0; b < 256; ++b)
    all += static_cast<char>(b);
  EXPECT_EQ(MacRomanFromUtf8(MacRomanToUtf8(all)), all) << "every byte is a character";
}

TEST(Services, MacRomanAgreesWithIconv) {
  // glibc's MACINTOSH table is an independent source for every byte but two, where it keeps an
  // older assignment (Greek delta for the increment sign, a private character for the Apple mark).
  std::string bytes;
  for (int b = 0x80; b < 0x100; ++b)
    bytes += static_cast<char>(b);
  const std::string dir = TestTempDir();
  DataFileWriteBytes(dir + "/upper", bytes);
  const std::string viaIconv =
      RunProgram({"iconv", "-f", "MACINTOSH", "-t", "UTF-8", dir + "/upper"}).out;
  const std::u32string expected = Utf8Decode(viaIconv), ours = Utf8Decode(MacRomanToUtf8(bytes));
  ASSERT_EQ(expected.size(), 128u);
  for (int i = 0; i < 128; ++i) {
    if (i + 0x80 == 0xC6 || i + 0x80 == 0xF0) {
      EXPECT_EQ(MacRomanFromUtf8(Utf8Encode(expected.substr(i, 1))), bytes.substr(i, 1));
      continue;
    }
    EXPECT_EQ(ours[i], expected[i]) << "byte " << i + 0x80;
  }
}

TEST(Services, WholeFilesAreWrittenAtomically) {
  const std::string dir = TestTempDir(), path = dir + "/doc.txt";
  ASSERT_TRUE(DataFileWriteCFStr(path, "\u00ABEAN-13 123\u00BB"));
  EXPECT_EQ(ReadFileBytes(path), "\xC7"
                                 "EAN-13 123\xC8");
  EXPECT_EQ(*DataFileReadAsCFStr(path), "\u00ABEAN-13 123\u00BB");
  EXPECT_EQ(DataFileLength(path), 12);
  // A text with no Mac OS Roman form writes nothing and keeps the earlier contents.
  EXPECT_FALSE(DataFileWriteCFStr(path, "\u4E2D"));
  EXPECT_EQ(ReadFileBytes(path), "\xC7"
                                 "EAN-13 123\xC8");
  // A failing writer leaves neither a partial file nor a temporary one behind.
  EXPECT_FALSE(DataFileWriteAtomic(path, [](const std::string& temp) {
    DataFileWriteBytes(temp, "partial");
    return false;
  }));
  EXPECT_EQ(ReadFileBytes(path), "\xC7"
                                 "EAN-13 123\xC8");
  EXPECT_FALSE(DataFileWriteBytes(dir + "/missing/x.txt", "x"));
  EXPECT_FALSE(DataFileWriteBytes(dir + "/", "x"));
  EXPECT_FALSE(DataFileReadAsCFStr(dir + "/none"));
  EXPECT_FALSE(DataFileExists(dir + "/none"));
  EXPECT_EQ(DataFileLength(dir), 0);
  int files = 0;
  for ([[maybe_unused]] auto& entry : std::filesystem::directory_iterator(dir))
    ++files;
  EXPECT_EQ(files, 1);
}

TEST(Services, NewFilesGetTheUsualPermissions) {
  const std::string path = TestTempDir() + "/perm.txt";
  const mode_t old = umask(022);
  ASSERT_TRUE(DataFileWriteBytes(path, "x"));
  umask(old);
  struct stat info {};
  ASSERT_EQ(stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0644u);
}

TEST(Services, TypeAndCreatorCodes) {
  const std::string path = TestTempDir() + "/x.eps";
  ASSERT_TRUE(DataFileWriteBytes(path, "x"));
  uint32_t type = 1, creator = 1;
  EXPECT_NE(FSRefGetTypeAndCreator(path, type, creator), 0);
  EXPECT_EQ(type, 0u);
  if (FSRefSetTypeAndCreator(path, FourCharCode("EPSF"), kMyAppSignature) != 0)
    GTEST_SKIP() << "this file system refuses extended attributes";
  EXPECT_EQ(FSRefGetTypeAndCreator(path, type, creator), 0);
  EXPECT_EQ(FourCharString(type), "EPSF");
  EXPECT_EQ(FourCharString(creator), "VLTX");
  EXPECT_EQ(FourCharCode("PDF "), 0x50444620u);
}

TEST(Services, NamesAndVersion) {
  std::string name = "12/34:56";
  DataFileCleanName(name);
  EXPECT_EQ(name, "12-34-56");
  EXPECT_EQ(CreateURLFromParentFSRefFileName("/tmp", "a.vbc"), "/tmp/a.vbc");
  EXPECT_EQ(CreateURLFromParentFSRefFileName("/tmp/", "a.vbc"), "/tmp/a.vbc");
  EXPECT_EQ(GetNameAsPascalStringFromFSRef("/x/caf\u00E9.vbc"), "caf\x8E.vbc");
  EXPECT_GE(CheckSysVersionExtended(), kSysVersionLeopard);
}

TEST(Services, PreferencesKeepTheirTypes) {
  const std::string config = getenv("XDG_CONFIG_HOME");
  setenv("XDG_CONFIG_HOME", TestTempDir().c_str(), 1);
  std::string author = "keep";
  EXPECT_FALSE(CFPrefsGetCFStr(kPrefAuthor, author));
  EXPECT_FALSE(CFPrefsGetCFStr(nullptr, author));
  EXPECT_EQ(author, "keep");
  CFPrefsSetCFStr(kPrefAuthor, "Jane \"J\" Doe's");
  CFPrefsSetStringList("Toolbar", {"a", "b"});
  ASSERT_TRUE(CFPrefsAppSynchronize());
  author.clear();
  EXPECT_TRUE(CFPrefsGetCFStr(kPrefAuthor, author));
  EXPECT_EQ(author, "Jane \"J\" Doe's");
  EXPECT_EQ(*CFPrefsGetStringList("Toolbar"), (std::vector<std::string>{"a", "b"}));
  // A number under the key is not a string.
  DataFileWriteBytes(CFPrefsFilePath(), "[Preferences]\nVLTXAuth=12\n");
  author = "keep";
  EXPECT_FALSE(CFPrefsGetCFStr(kPrefAuthor, author));
  EXPECT_EQ(author, "keep");
  setenv("XDG_CONFIG_HOME", config.c_str(), 1);
}
