// Every output format of the command-line tool, read back by independent decoders: EAN-13 with
// and without add-ons, at several scales and trims.
#include "support/TestSupport.h"

#include <gtest/gtest.h>

TEST(ScanBack, EAN13InEveryFormat) {
  // Bitmaps have one pixel per point, so at scales other than 100 their modules are fractions of
  // pixels that no scanner resolves: those cases are read from the vector formats only.
  const struct {
    const char *data, *addon, *scale, *trim;
    bool vectorOnly;
  } cases[] = {
      {"501234567890", "", "100", "0", false},
      {"501234567890", "12", "100", "0", false},
      {"400638133393", "12345", "100", "0", false},
      {"978014300723", "", "150", "30", true},
      {"123", "5", "100", "50", false},
      {"4006381333937", "", "100", "0", false},
      {"978014300723", "", "100", "30", false},
      {"400638133393", "12345", "50", "0", true},
      {"590123412345", "99", "150", "0", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.data) + " +" + c.addon + " scale " + c.scale + " trim " + c.trim);
    // Twelve digits (zeros in front, or cut) and the GS1 check digit.
    ReadBack expected = EANReadBack("EAN13", WithGtinCheck(Fitted(c.data, 12)), c.addon);
    expected.files = {kPDFFile, kEPSFile};
    if (!c.vectorOnly)
      expected.files.insert(expected.files.begin(), {kPNGFile, kTIFFFile, kPICTFile});
    ExpectReadBack(
        {"-type", "EAN-13", "-data", c.data, "-addon", c.addon, "-scale", c.scale, "-trim", c.trim},
        expected);
  }
}
