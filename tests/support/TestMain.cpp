#include "platform/backends/headless/HeadlessBackend.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>

namespace {

// Every test process gets an app-group directory of its own, so that no test
// can touch the user's real shared defaults and parallel test processes do
// not see one another's values.
class AppGroupDirectory : public testing::Environment {
public:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "kestrova-test-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            std::cerr << "cannot create a temporary app-group directory\n";
            std::abort();
        }
        path_ = pattern;
        setenv("KESTROVA_APP_GROUP_DIR", path_.c_str(), 1);
    }

    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }

private:
    std::filesystem::path path_;
};

}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    headless::installAll();
    testing::AddGlobalTestEnvironment(new AppGroupDirectory);
    return RUN_ALL_TESTS();
}
