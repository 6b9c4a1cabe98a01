// What an install gives the desktop: the document type for file managers and the program's entry
// that opens such files.
#include "app/AppTestSupport.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

// The MIME type that GIO's content sniffing gives a file, with the prefix's data folder in use.
std::string ContentType(const std::string& dataDir, const std::string& path) {
  const RunResult r = RunProgram({"gio", "info", "-a", "standard::content-type", path},
                                 {"XDG_DATA_HOME=" + dataDir, "XDG_DATA_DIRS=" + dataDir});
  const std::string key = "standard::content-type: ";
  const size_t at = r.out.find(key);
  if (at == std::string::npos) return {};
  return r.out.substr(at + key.size(), r.out.find('\n', at) - at - key.size());
}

} // namespace

TEST(DesktopFilesTest, AnInstallTeachesTheDesktopTheDocumentType) {
  const std::string prefix = TestTempDir();
  const RunResult install = RunProgram({"cmake", "--install", VX_BUILD_DIR, "--prefix", prefix});
  ASSERT_EQ(install.status, 0) << install.err;
  const std::string data = prefix + "/share";
  EXPECT_TRUE(FileExists(data + "/mime/packages/org.veltrix.BarCode.xml"));
  ASSERT_TRUE(FileExists(data + "/mime/mime.cache")); // the database was brought up to date
  const std::string dir = TestTempDir();
  struct Case {
    const char* name;
    std::string bytes;
    const char* type;
  };
  const Case cases[] = {
      {"label.vbc",
       "\xC7"
       "EAN-13 501234567890 12\xC8",
       "application/x-veltrix-barcode"},
      {"LABEL.VBC", "anything", "application/x-veltrix-barcode"},
      {"no-extension",
       "\xC7"
       "EAN-8 1234567\xC8",
       "application/x-veltrix-barcode"},
      {"scan.txt", "5012345678900", "text/plain"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteBytes(dir + "/" + c.name, c.bytes);
    EXPECT_EQ(ContentType(data, dir + "/" + c.name), c.type);
  }
  // The entry hands the files to the program and claims the type.
  const std::string entry = ReadFileBytes(data + "/applications/org.veltrix.BarCode.desktop");
  EXPECT_NE(entry.find("\nExec=veltrix-barcode %F\n"), std::string::npos);
  EXPECT_NE(entry.find("\nMimeType=application/x-veltrix-barcode;"), std::string::npos);
}
