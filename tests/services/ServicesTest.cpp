// Shared services: Mac OS Roman and whole-file writes (their small text functions are cases of
// tests/data/functions.tsv; Finder codes and preferences are checked where the writers use them).
#include "services/Services.h"
#include "model/BarCodeStrings.h"
#include "services/MacRoman.h"
#include "support/TestSupport.h"

#include <filesystem>
#include <fstream>
#include <sys/stat.h>

TEST(Services, MacRomanAgreesWithIconvForEveryByte) {
  // glibc's MACINTOSH table is an independent source for every byte but two, where it keeps an
  // older assignment (Greek delta for the increment sign, a private character for the Apple mark).
  std::string bytes;
  for (int b = 0; b < 0x100; ++b)
    bytes += static_cast<char>(b);
  EXPECT_EQ(MacRomanFromUtf8(MacRomanToUtf8(bytes)), bytes) << "every byte is a character";
  const std::string file = TestTempDir() + "/upper";
  DataFileWriteBytes(file, bytes.substr(0x80));
  const std::u32string iconv =
      Utf8Decode(RunProgram({"iconv", "-f", "MACINTOSH", "-t", "UTF-8", file}).out);
  const std::u32string ours = Utf8Decode(MacRomanToUtf8(bytes.substr(0x80)));
  ASSERT_EQ(iconv.size(), 128u);
  for (int i = 0; i < 128; ++i) {
    // The older characters become their bytes only where characters may be lost: read back, they
    // would be other characters.
    const std::string older = Utf8Encode(iconv.substr(i, 1));
    EXPECT_TRUE(i + 0x80 == 0xC6 || i + 0x80 == 0xF0
                    ? !MacRomanFromUtf8(older) &&
                          MacRomanFromUtf8Lossy(older) == bytes.substr(0x80 + i, 1)
                    : ours[i] == iconv[i])
        << "byte " << i + 0x80;
  }
}

TEST(Services, WholeFilesAreWrittenAtomicallyWithTheUsualPermissions) {
  const std::string dir = TestTempDir(), path = dir + "/doc.txt", text = "\u00ABEAN-13 123\u00BB";
  const mode_t mask = umask(022);
  ASSERT_TRUE(DataFileWriteCFStr(path, text));
  umask(mask);
  struct stat info {};
  EXPECT_TRUE(stat(path.c_str(), &info) == 0 && (info.st_mode & 0777) == 0644);
  EXPECT_EQ(ReadFileBytes(path), "\xC7"
                                 "EAN-13 123\xC8");
  EXPECT_TRUE(*DataFileReadAsCFStr(path) == text && DataFileLength(path) == 12);
  // A text with no Mac OS Roman form, or a failing writer, leaves the earlier contents and no
  // temporary file.
  EXPECT_FALSE(DataFileWriteCFStr(path, "\u4E2D"));
  // A file that is replaced and one that is new are made different ways; neither is left behind.
  for (const std::string& target : {path, dir + "/new.txt"})
    EXPECT_FALSE(DataFileWriteAtomic(target, [](const std::string& temp) {
      DataFileFillTemp(temp, "partial");
      return false;
    }));
  EXPECT_EQ(*DataFileReadAsCFStr(path), text);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1);
  EXPECT_FALSE(DataFileWriteBytes(dir + "/missing/x.txt", "x") ||
               DataFileWriteBytes(dir + "/", "x"));
  EXPECT_FALSE(DataFileReadAsCFStr(dir + "/none") || DataFileExists(dir + "/none"));
  EXPECT_EQ(DataFileLength(dir), 0);
}

// Every way a whole file is written, new or replaced, directly or through a link, by a writer that
// fills the temporary file it is given or one that opens it by name (as libtiff does): the bytes,
// the codes and the permissions arrive, the link stays a link, and nothing else is left.
TEST(Services, EveryWayOfWritingGivesTheFileItsBytesCodesAndPermissions) {
  auto put = [](const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    return static_cast<bool>(out << bytes);
  };
  const mode_t mask = umask(022);
  for (const bool byName : {false, true})
    for (const bool existing : {false, true})
      for (const bool linked : {false, true}) {
        const std::string dir = TestTempDir(), file = dir + "/a.png";
        if (existing) {
          put(file, "old");
          chmod(file.c_str(), 0640);
        }
        if (linked) std::filesystem::create_symlink("a.png", dir + "/link.png");
        const std::string target = linked ? dir + "/link.png" : file;
        ASSERT_TRUE(DataFileWriteAtomic(
            target,
            [&](const std::string& temp) {
              return byName ? put(temp, "new") : DataFileFillTemp(temp, "new");
            },
            FourCharCode("PNGf"), FourCharCode("prvw")));
        const std::string what = std::string(byName ? "by name, " : "") +
                                 (existing ? "replaced" : "new") +
                                 (linked ? " through a link" : "");
        uint32_t type = 0, creator = 0;
        struct stat info {};
        EXPECT_EQ(ReadFileBytes(file), "new") << what;
        EXPECT_TRUE(FSRefGetTypeAndCreator(file, type, creator) == 0 &&
                    type == FourCharCode("PNGf") && creator == FourCharCode("prvw"))
            << what;
        EXPECT_TRUE(stat(file.c_str(), &info) == 0 &&
                    (info.st_mode & 0777) == (existing ? 0640u : 0644u))
            << what;
        EXPECT_EQ(std::filesystem::is_symlink(dir + "/link.png"), linked) << what;
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), linked ? 2 : 1)
            << what;
      }
  umask(mask);
}
