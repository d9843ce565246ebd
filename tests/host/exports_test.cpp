#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <vector>

#include "host/exports.h"
#include "support/test_support.h"

namespace tuvex {
namespace {

using test::InstalledModule;

TEST(Platform, RunsUnderTheJapaneseAnsiCodePage)
{
    EXPECT_EQ(GetACP(), 932u);
}

TEST(Registration, ListsTuvexTuvexWAndTuvexUtf8ThenAnAllZeroRecord)
{
    InstalledModule module;
    auto* enumerate = module.Export<decltype(EnumVelmoranFilter)>("EnumVelmoranFilter");
    ASSERT_NE(enumerate, nullptr);
    const FilterRegistrationRecord* table = enumerate();
    EXPECT_EQ(enumerate(), table);

    EXPECT_EQ(table[0].structSize, sizeof(FilterRegistrationRecord));
    EXPECT_STREQ(table[0].exportName, "Tuvex");
    EXPECT_STREQ(table[0].displayName, "Tuvex");
    EXPECT_STREQ(table[0].secondName, "Tuvex");
    EXPECT_EQ(table[0].attributeByte, 0x50);

    EXPECT_EQ(table[1].structSize, sizeof(FilterRegistrationRecord));
    EXPECT_STREQ(table[1].exportName, "TuvexW");
    EXPECT_EQ(std::string(table[1].displayName), test::Cp932(L"Tuvex(ワイドキャラクター版)"));
    EXPECT_STREQ(table[1].secondName, "TuvexW");
    EXPECT_EQ(table[1].attributeByte, 0x50);

    EXPECT_EQ(table[2].structSize, sizeof(FilterRegistrationRecord));
    EXPECT_STREQ(table[2].exportName, "TuvexUtf8");
    EXPECT_EQ(std::string(table[2].displayName), test::Cp932(L"Tuvex(UTF-8版)"));
    EXPECT_STREQ(table[2].secondName, "TuvexUtf8");
    EXPECT_EQ(table[2].attributeByte, 0x50);

    for (const FilterRegistrationRecord& record : {table[0], table[1], table[2]}) {
        EXPECT_EQ(record.reserved[0] | record.reserved[1] | record.reserved[2], 0);
    }
    const unsigned char zeros[sizeof(FilterRegistrationRecord)] = {};
    EXPECT_EQ(std::memcmp(&table[3], zeros, sizeof zeros), 0);
}

TEST(Registration, ReportsInterfaceVersion65540)
{
    InstalledModule module;
    auto* version = module.Export<decltype(VelmoranFilterGetVersion)>("VelmoranFilterGetVersion");
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version(), 65540u);
}

TEST(Registration, ExportsEveryEntryPointByItsPlainName)
{
    InstalledModule module;
    for (const char* name : {"EnumVelmoranFilter", "VelmoranFilterGetVersion", "Tuvex", "TuvexW", "TuvexUtf8", "TuvexRun"}) {
        EXPECT_NE(GetProcAddress(module.handle(), name), nullptr) << name;
    }
}

// The DLLs that the module imports, read from its import directory.
std::set<std::string> ImportedDlls(HMODULE module)
{
    auto* base = reinterpret_cast<const unsigned char*>(module);
    auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    std::set<std::string> names;
    auto* import = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
    for (; import->Name != 0; ++import) {
        std::string name = reinterpret_cast<const char*>(base + import->Name);
        for (char& c : name) {
            c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
        }
        names.insert(name);
    }
    return names;
}

TEST(Module, CarriesVersionInformationInJapaneseAndEnglish)
{
    InstalledModule module;
    const std::string path = module.directory() + "Tuvex.dll";
    DWORD ignored = 0;
    std::vector<char> information(GetFileVersionInfoSizeA(path.c_str(), &ignored));
    ASSERT_FALSE(information.empty());
    ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, static_cast<DWORD>(information.size()), information.data()));
    for (const char* block : {"\\StringFileInfo\\041104B0\\ProductName", "\\StringFileInfo\\040904B0\\ProductName"}) {
        char* value = nullptr;
        UINT length = 0;
        ASSERT_TRUE(VerQueryValueA(information.data(), block, reinterpret_cast<void**>(&value), &length)) << block;
        EXPECT_STREQ(value, "Tuvex") << block;
    }
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(information.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_GE(HIWORD(fixed->dwFileVersionMS), 1);
}

TEST(Module, ImportsSystemDllsOnly)
{
    InstalledModule module;
    const std::set<std::string> allowed = {"kernel32.dll", "user32.dll", "gdi32.dll", "msvcrt.dll",
                                           "advapi32.dll"};
    const std::set<std::string> imported = ImportedDlls(module.handle());
    EXPECT_TRUE(imported.count("kernel32.dll"));
    for (const std::string& name : imported) {
        EXPECT_TRUE(allowed.count(name) || name.rfind("api-ms-win-", 0) == 0) << "imports " << name;
    }
}

}  // namespace
}  // namespace tuvex
