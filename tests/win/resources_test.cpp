// What in the built Pelo.exe can break while nobody edits its script: every
// resource in language 1041, the main dialog's title equal to string 503 (a
// second instance looks for the window by that string), and the manifest.
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

TEST(Resources, AllJapaneseTheMainTitleIsString503AndTheManifestAsksForControls6) {
    const HMODULE exe =
        ::LoadLibraryExW((testsupport::ExecutableFolder() / L"Pelo.exe").c_str(), nullptr,
                         LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(exe, nullptr) << "Pelo.exe must lie beside the test";
    std::vector<WORD> languages;
    ::EnumResourceTypesW(exe, &CollectTypes, reinterpret_cast<LONG_PTR>(&languages));
    EXPECT_GE(languages.size(), 18u);  // dialogs, menu, icons, strings, version, manifest
    EXPECT_EQ(std::vector<WORD>(languages.size(), kJapanese), languages);

    const auto bytes = [&](WORD type, UINT id) {
        const HRSRC found =
            ::FindResourceExW(exe, MAKEINTRESOURCEW(type), MAKEINTRESOURCEW(id), kJapanese);
        const auto* data = static_cast<const char*>(::LockResource(::LoadResource(exe, found)));
        return found ? std::string(data, ::SizeofResource(exe, found)) : std::string();
    };
    // An extended template: 26 bytes of header, no menu, no class, then the title.
    const std::string dialog = bytes(5 /* RT_DIALOG */, IDD_MAIN);
    ASSERT_GT(dialog.size(), 30u);
    ASSERT_EQ(dialog.substr(26, 4), std::string(4, '\0'));
    const wchar_t* string503 = nullptr;
    const int length = ::LoadStringW(exe, IDS_MAIN_TITLE, reinterpret_cast<LPWSTR>(&string503), 0);
    EXPECT_EQ(std::wstring(reinterpret_cast<const wchar_t*>(dialog.data() + 30)),
              std::wstring(string503, length > 0 ? length : 0));

    const std::string manifest = bytes(24 /* RT_MANIFEST */, 1);
    EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos);
    EXPECT_NE(manifest.find("version=\"6.0.0.0\""), std::string::npos);
    EXPECT_EQ(manifest.find("dpiAware"), std::string::npos);
    ::FreeLibrary(exe);
}

}  // namespace
