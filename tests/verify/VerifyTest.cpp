// The verifier's seams: a symbol with one bar taken away must not pass, and neither may any
// symbol when the decoder module cannot be loaded. That every symbology the reader knows passes is
// in cli.tsv.
#include "model/BarCodeDataRec.h"
#include "output/writers/OutputWriters.h"
#include "render/BarCodeRender.h"
#include "support/TestSupport.h"
#include "verify/BarCodeVerify.h"

#include <cstring>
#include <filesystem>

TEST(Verify, ASymbolWithABarTakenAwayIsCaught) {
  BarCodeDataRec rec = MakeRecord(kBarCodeCode39, "VERIFY");
  rec.scale = kBarCodeVerifyScale;
  OutputBitmap bitmap;
  ASSERT_TRUE(OutputRenderBitmap(rec, 0, 0, bitmap));
  EXPECT_EQ(BarCodeVerifyBitmap(rec, bitmap).result, BarCodeVerifyResult::Match);
  // The first bar that the middle row crosses, cleared over the whole height.
  const int row = bitmap.height / 2;
  int left = 0, right;
  while (left < bitmap.width && OutputPixelAt(bitmap, left, row) == 0)
    ++left;
  for (right = left; right < bitmap.width && OutputPixelAt(bitmap, right, row) != 0;)
    ++right;
  ASSERT_LT(left, right);
  const size_t size = OutputBytesPerPixel(bitmap.alphaOnly);
  for (int y = 0; y < bitmap.height; ++y)
    std::memset(bitmap.pixels.data() + static_cast<size_t>(y) * bitmap.stride + size * left, 0,
                size * static_cast<size_t>(right - left));
  const BarCodeVerification broken = BarCodeVerifyBitmap(rec, bitmap);
  EXPECT_EQ(broken.result, BarCodeVerifyResult::Mismatch) << broken.read;
  EXPECT_EQ(broken.expected, "VERIFY");
  EXPECT_NE(BarCodeVerificationText(broken).find("verification failed"), std::string::npos);
  BarCodeDataRecRelease(&rec);
}

// The tool alone in a folder finds no module beside it (nor one installed): -verify 1 fails.
TEST(Verify, NoDecoderModuleNeverPasses) {
  const std::string dir = TestTempDir();
  std::filesystem::copy_file(CliPath(), dir + "/VeltrixBarCode");
  std::filesystem::permissions(dir + "/VeltrixBarCode", std::filesystem::perms::owner_exec,
                               std::filesystem::perm_options::add);
  const RunResult run =
      RunProgram({dir + "/VeltrixBarCode", "-type", "EAN-13", "-data", "501234567890", "-verify",
                  "1", "-action", "epsf", "-output", dir + "/x.eps"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("vxdecoder.so could not be loaded"), std::string::npos) << run.err;
  EXPECT_FALSE(FileExists(dir + "/x.eps"));
}
