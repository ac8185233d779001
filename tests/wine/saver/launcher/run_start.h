#pragma once
// What every test that starts a saver run needs first: no window of an
// earlier run left on the screen (its scene would be taken for this run's),
// and the programs installed in the test's own folder.
#include <gtest/gtest.h>

#include <string>

#include "common/program_contract.h"
#include "saver/launcher/saver_run.h"
#include "support/program_driver.h"

namespace ventalune::wine_test {

// Use as ASSERT_NO_FATAL_FAILURE(PrepareRun(folder)).
inline void PrepareRun(const char* installFolder) {
  ASSERT_EQ(FindTopLevelWindow(launcher::kRunWindowTitle), nullptr) << "a saver run is left over";
  ASSERT_EQ(FindTopLevelWindow(kSceneWindowTitle), nullptr) << "a scene is left over";
  std::string failed;
  ASSERT_TRUE(InstallPrograms(installFolder, &failed)) << failed;
}

}  // namespace ventalune::wine_test
