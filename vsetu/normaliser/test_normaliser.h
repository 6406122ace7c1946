// A scratch installation for the normaliser's tests, with the normaliser's
// process-wide state (list, world record, count, log) as at load.
#ifndef VESTA_VSETU_NORMALISER_TEST_NORMALISER_H
#define VESTA_VSETU_NORMALISER_TEST_NORMALISER_H

#include <string>

#include "vesta/vsetu.h"
#include "vsetu/normaliser/normaliser_log.h"
#include "vsetu/services/test_installation.h"

namespace vesta::testing {

class NormaliserTest : public InstallationTest {
 protected:
  void SetUp() override {
    InstallationTest::SetUp();
    Install();
    ForgetNormaliser();
    VSSetNormalisationVariables();
    builder_.NBInitialise();
  }

  void TearDown() override {
    ForgetNormaliser();
    InstallationTest::TearDown();
  }

  void ForgetNormaliser() {
    CVNormBuilder builder;
    builder.NBDeleteAllTheList();
    builder.NBDeleteAllTheList(static_cast<CTheList*>(nullptr));
    builder.NBSetItemCount(0);
    vsetu::ForgetNormaliserLog();
  }

  std::string LogText() { return ReadTextFile(home_ + "temp\\Normaliz.txt"); }

  // A file of the installation's media, made now.
  std::string Media(const std::string& name, const std::string& content = "media") {
    std::string path = home_ + "media\\" + name;
    Touch(path);
    EXPECT_TRUE(WriteTextFile(path, content));
    return path;
  }

  CVNormBuilder builder_;
};

}  // namespace vesta::testing

#endif
