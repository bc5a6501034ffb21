// A library of every coded base set downloaded, uploaded into another library and downloaded
// again, against a simulated processor on the virtual clock: the pacing some models need between
// the values passes in no time.
#include "SimWorld.h"
#include "core/ModelCatalogue.h"

#include <gtest/gtest.h>

using namespace setfolio;
using setfolio::testing::SimWorld;

namespace {

// The file without its first section, which names the model.
std::string Parameters(const SimWorld& world, const std::string& name) {
    const std::string content = world.folder.Read(name);
    return content.substr(content.find("[MnemonicParms]"));
}

class CodedRoundTrip : public ::testing::TestWithParam<const char*> {};

// Library 5 out, into library 9 (whose values differ), and out again: both files hold the same
// values.
TEST_P(CodedRoundTrip, UploadedLibraryDownloadsAsTheOriginal) {
    SimWorld world(ModelNamed(GetParam()).value());
    ASSERT_TRUE(world.Download(world.Path("A.lvf"), 5));
    ASSERT_EQ(world.ResultLine(), "Download of library 5 to " + world.Path("A.lvf") + " complete.");
    ASSERT_TRUE(world.Upload(world.Path("A.lvf"), 9));
    ASSERT_EQ(world.ResultLine(), "Upload of " + world.Path("A.lvf") + " to library 9 complete.");
    ASSERT_TRUE(world.Download(world.Path("B.lvf"), 9));
    ASSERT_EQ(world.ResultLine(), "Download of library 9 to " + world.Path("B.lvf") + " complete.");
    EXPECT_EQ(Parameters(world, "B.lvf"), Parameters(world, "A.lvf"));
    EXPECT_EQ(world.processor->libraries.at(9).parameters,
              world.processor->libraries.at(5).parameters);
}

// One model of every coded base set.
INSTANTIATE_TEST_SUITE_P(BaseSets, CodedRoundTrip,
                         ::testing::Values("C-01", "C-02", "C-03", "C-04", "C-05", "C-06", "C-07",
                                           "C-08", "C-09", "C-10", "C-12", "C-14", "C-16", "C-17",
                                           "C-18", "C-19", "C-21", "C-22", "C-27", "C-30", "C-31"),
                         [](const auto& param) {
                             std::string name = param.param;
                             name.erase(1, 1);
                             return name;
                         });

} // namespace
