// What in the built Pelo.exe can break while nobody edits its script: every
// resource in language 1041, and the manifest. (The title a second instance looks
// for: lifecycle_test.)
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestSupport.h"
#include "app/resource.h"

namespace {

constexpr WORD kJapanese = MAKELANGID(LANG_JAPANESE, SUBLANG_JAPANESE_JAPAN);  // 1041

BOOL CALLBACK CollectLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR found) {
    reinterpret_cast<std::vector<WORD>*>(found)->push_back(language);
    return TRUE;
}
BOOL CALLBACK CollectNames(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR found) {
    return ::EnumResourceLanguagesW(module, type, name, &CollectLanguage, found);
}
BOOL CALLBACK CollectTypes(HMODULE module, LPWSTR type, LONG_PTR found) {
    return ::EnumResourceNamesW(module, type, &CollectNames, found);
}

TEST(Resources, AllJapaneseAndTheManifestAsksForControls6) {
    const HMODULE exe =
        ::LoadLibraryExW((testsupport::ExecutableFolder() / L"Pelo.exe").c_str(), nullptr,
                         LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(exe, nullptr) << "Pelo.exe must lie beside the test";
    std::vector<WORD> languages;
    ::EnumResourceTypesW(exe, &CollectTypes, reinterpret_cast<LONG_PTR>(&languages));
    EXPECT_GE(languages.size(), 18u);  // dialogs, menu, icons, strings, version, manifest
    EXPECT_EQ(std::vector<WORD>(languages.size(), kJapanese), languages);

    const HRSRC found = ::FindResourceExW(exe, MAKEINTRESOURCEW(24 /* RT_MANIFEST */),
                                          MAKEINTRESOURCEW(1), kJapanese);
    ASSERT_NE(found, nullptr);
    const std::string manifest(static_cast<const char*>(::LockResource(::LoadResource(exe, found))),
                               ::SizeofResource(exe, found));
    EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos);
    EXPECT_NE(manifest.find("version=\"6.0.0.0\""), std::string::npos);
    EXPECT_EQ(manifest.find("dpiAware"), std::string::npos);
    ::FreeLibrary(exe);
}

}  // namespace
