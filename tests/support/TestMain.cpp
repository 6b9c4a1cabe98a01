#include "support/TestSupport.h"

#include <cstdlib>

int main(int argc, char** argv) {
  // Tests must never touch the user's own preference file.
  setenv("XDG_CONFIG_HOME", TestTempDir().c_str(), 1);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
