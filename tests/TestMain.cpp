// Test entry: registers the plug-in with the host as the application does, and keeps the
// diagnostic log and the saved settings out of the user's folders.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "plugin/MifRegistration.h"

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (!std::getenv("TESSEL_LOG_DIR")) {
        static std::string logDir = (std::filesystem::temp_directory_path() / "tessel-test-log").string();
        setenv("TESSEL_LOG_DIR", logDir.c_str(), 1);
    }
    if (!std::getenv("TESSEL_CONFIG_DIR")) {
        static std::string configDir = (std::filesystem::temp_directory_path() / "tessel-test-config").string();
        setenv("TESSEL_CONFIG_DIR", configDir.c_str(), 1);
    }
    RegisterTesselPlugIn();
    return RUN_ALL_TESTS();
}
