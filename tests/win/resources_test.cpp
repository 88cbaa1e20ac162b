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

class Resources : public ::testing::Test {
protected:
    void SetUp() override {
        m_exe = ::LoadLibraryExW((testsupport::ExecutableFolder() / L"Pelo.exe").c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_NE(m_exe, nullptr) << "Pelo.exe must lie beside the test";
    }
    void TearDown() override { ::FreeLibrary(m_exe); }
    std::string Bytes(LPCWSTR type, UINT id) const {
        const HRSRC found = ::FindResourceExW(m_exe, type, MAKEINTRESOURCEW(id), kJapanese);
        const auto* data = static_cast<const char*>(::LockResource(::LoadResource(m_exe, found)));
        return found ? std::string(data, ::SizeofResource(m_exe, found)) : std::string();
    }
    HMODULE m_exe = nullptr;
};

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

TEST_F(Resources, EveryResourceIsJapanese) {
    std::vector<WORD> languages;
    ::EnumResourceTypesW(m_exe, &CollectTypes, reinterpret_cast<LONG_PTR>(&languages));
    EXPECT_GE(languages.size(), 18u);  // dialogs, menu, icons, strings, version, manifest
    EXPECT_EQ(std::vector<WORD>(languages.size(), kJapanese), languages);
}

TEST_F(Resources, TheMainDialogIsTitledWithString503) {
    // An extended template: after 26 bytes of header, an empty menu and class, the title.
    const std::string dialog = Bytes(MAKEINTRESOURCEW(5 /* RT_DIALOG */), IDD_MAIN);
    ASSERT_GT(dialog.size(), 30u);
    ASSERT_EQ(dialog.substr(26, 4), std::string(4, '\0'));
    const std::wstring title(reinterpret_cast<const wchar_t*>(dialog.data() + 30));
    wchar_t* string503 = nullptr;
    const int length = ::LoadStringW(m_exe, IDS_MAIN_TITLE, reinterpret_cast<LPWSTR>(&string503), 0);
    EXPECT_EQ(title, std::wstring(string503, length > 0 ? length : 0));
    EXPECT_EQ(title, L"Pelo");
}

TEST_F(Resources, TheManifestAsksForCommonControls6WithoutDpiAwareness) {
    const std::string manifest = Bytes(MAKEINTRESOURCEW(24 /* RT_MANIFEST */), 1);
    EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos);
    EXPECT_NE(manifest.find("version=\"6.0.0.0\""), std::string::npos);
    EXPECT_EQ(manifest.find("dpiAware"), std::string::npos);
}

}  // namespace
