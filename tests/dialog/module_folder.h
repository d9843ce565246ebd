// The module's directory pointed at a folder of the test's own, so that each
// test has its own settings file.
#pragma once

#include <string>

#include "common/module_location.h"
#include "common/module_location_win32.h"
#include "support/test_support.h"

namespace tuvex::test {

class ModuleFolderTest : public ::testing::Test {
protected:
    ModuleFolderTest()
    {
        RecordModuleLocation(GetModuleHandleA(nullptr), DLL_PROCESS_ATTACH);
        moduleDirectory = folder_.path();
    }

    void WriteSettings(const std::string& text) { WriteBytes(folder_ / "Tuvex.conf", text); }

    TempFolder folder_;
};

}  // namespace tuvex::test
