// The resources of the built Pelo.exe (beside this test), read as data and
// checked against the catalogue: dialog templates field by field, menu,
// icon group, strings, version record, manifest, and language 1041 on all.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstring>
#include <cwctype>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "app/resource.h"

namespace {

constexpr WORD kJapanese = MAKELANGID(LANG_JAPANESE, SUBLANG_JAPANESE_JAPAN);  // 1041

// Reads a resource's bytes in sequence.
class Reader {
public:
    Reader(const BYTE* data, std::size_t size) : m_data(data), m_size(size) {}
    template <typename T>
    T Get() {
        T value{};
        if (m_pos + sizeof(T) > m_size) {
            ADD_FAILURE() << "resource ends early at offset " << m_pos;
            m_pos = m_size;
            return value;
        }
        std::memcpy(&value, m_data + m_pos, sizeof(T));
        m_pos += sizeof(T);
        return value;
    }
    std::wstring String() {
        std::wstring text;
        for (wchar_t c; (c = static_cast<wchar_t>(Get<WORD>())) != L'\0' && m_pos < m_size;) {
            text.push_back(c);
        }
        return text;
    }
    // A name or ordinal field: 0xFFFF then the ordinal, else a string.
    std::wstring NameOrOrdinal() {
        const WORD first = Get<WORD>();
        if (first == 0xFFFF) {
            return L"#" + std::to_wstring(Get<WORD>());
        }
        if (first == 0) {
            return L"";
        }
        m_pos -= sizeof(WORD);
        return String();
    }
    void AlignToDword() { m_pos = (m_pos + 3) & ~std::size_t{3}; }
    void Skip(std::size_t bytes) { m_pos += bytes; }
    bool AtEnd() const { return m_pos >= m_size; }

private:
    const BYTE* m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
};

// The predefined classes a template may name by ordinal.
std::wstring ClassName(const std::wstring& field) {
    if (field == L"#128")
        return L"BUTTON";
    if (field == L"#129")
        return L"EDIT";
    if (field == L"#130")
        return L"STATIC";
    if (field == L"#131")
        return L"LISTBOX";
    std::wstring upper = field;
    for (wchar_t& c : upper) {
        c = static_cast<wchar_t>(std::towupper(c));
    }
    return upper;  // class names are matched ignoring case
}

struct Control {
    DWORD id;
    std::wstring className;
    std::wstring text;
    short x, y, cx, cy;
    DWORD style;
    DWORD exStyle = 0;
    DWORD helpId = 0;
    bool operator==(const Control&) const = default;
};

void PrintTo(const Control& c, std::ostream* os) {
    *os << "{id " << c.id << ", " << testsupport::ToCp932(c.className) << ", \""
        << testsupport::ToCp932(c.text) << "\", " << c.x << "," << c.y << "," << c.cx << "," << c.cy
        << ", style 0x" << std::hex << c.style << ", ex 0x" << c.exStyle << std::dec << ", help "
        << c.helpId << "}";
}

struct DialogTemplate {
    WORD version = 0, signature = 0;
    DWORD helpId = 0, exStyle = 0, style = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    std::wstring menu, windowClass, title;
    WORD pointSize = 0, weight = 0;
    BYTE italic = 0, charset = 0;
    std::wstring face;
    std::vector<Control> controls;
};

class ResourcesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_path = (testsupport::ExecutableFolder() / L"Pelo.exe").wstring();
        s_module = ::LoadLibraryExW(s_path.c_str(), nullptr,
                                    LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    }
    static void TearDownTestSuite() {
        if (s_module != nullptr) {
            ::FreeLibrary(s_module);
        }
    }
    void SetUp() override { ASSERT_NE(s_module, nullptr) << "Pelo.exe must be beside the test"; }

    // `type` is one of the RT_ ordinals.
    static HRSRC Find(LPCSTR type, UINT id) {
        return ::FindResourceExW(s_module, reinterpret_cast<LPCWSTR>(type), MAKEINTRESOURCEW(id),
                                 kJapanese);
    }

    static Reader Resource(LPCSTR type, UINT id) {
        const HRSRC found = Find(type, id);
        EXPECT_NE(found, nullptr) << "resource " << id << " in language 1041";
        if (found == nullptr) {
            return Reader(nullptr, 0);
        }
        const auto* data =
            static_cast<const BYTE*>(::LockResource(::LoadResource(s_module, found)));
        return Reader(data, ::SizeofResource(s_module, found));
    }

    static DialogTemplate Dialog(UINT id) {
        Reader r = Resource(RT_DIALOG, id);
        DialogTemplate d;
        d.version = r.Get<WORD>();
        d.signature = r.Get<WORD>();
        d.helpId = r.Get<DWORD>();
        d.exStyle = r.Get<DWORD>();
        d.style = r.Get<DWORD>();
        const WORD count = r.Get<WORD>();
        d.x = r.Get<short>(), d.y = r.Get<short>(), d.cx = r.Get<short>(), d.cy = r.Get<short>();
        d.menu = r.NameOrOrdinal();
        d.windowClass = r.NameOrOrdinal();
        d.title = r.String();
        if (d.style & DS_SETFONT) {
            d.pointSize = r.Get<WORD>();
            d.weight = r.Get<WORD>();
            d.italic = r.Get<BYTE>();
            d.charset = r.Get<BYTE>();
            d.face = r.String();
        }
        for (WORD i = 0; i < count && !r.AtEnd(); ++i) {
            r.AlignToDword();
            Control c{};
            c.helpId = r.Get<DWORD>();
            c.exStyle = r.Get<DWORD>();
            c.style = r.Get<DWORD>();
            c.x = r.Get<short>(), c.y = r.Get<short>(), c.cx = r.Get<short>(),
            c.cy = r.Get<short>();
            c.id = r.Get<DWORD>();
            c.className = ClassName(r.NameOrOrdinal());
            c.text = r.NameOrOrdinal();
            r.Skip(r.Get<WORD>());  // creation data
            d.controls.push_back(c);
        }
        return d;
    }

    static std::wstring String(UINT id) {
        const wchar_t* text = nullptr;
        const int length = ::LoadStringW(s_module, id, reinterpret_cast<LPWSTR>(&text), 0);
        return length > 0 ? std::wstring(text, static_cast<std::size_t>(length)) : L"<missing>";
    }

    static std::wstring s_path;
    static HMODULE s_module;
};
std::wstring ResourcesTest::s_path;
HMODULE ResourcesTest::s_module = nullptr;

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
const wchar_t kFace[] = L"ＭＳ Ｐゴシック";

TEST_F(ResourcesTest, MainDialogTemplate) {
    const DialogTemplate d = Dialog(IDD_MAIN);
    EXPECT_EQ(d.version, 1);
    EXPECT_EQ(d.signature, 0xFFFF) << "an extended template";
    EXPECT_EQ(d.style, 0x90CA00C0u);
    EXPECT_EQ(d.exStyle, static_cast<DWORD>(WS_EX_APPWINDOW));
    EXPECT_EQ(d.helpId, 0u);
    EXPECT_EQ((std::vector<short>{d.x, d.y, d.cx, d.cy}), (std::vector<short>{0, 0, 219, 228}));
    EXPECT_EQ(d.menu, L"");
    EXPECT_EQ(d.windowClass, L"");
    EXPECT_EQ(d.title, L"Pelo");
    EXPECT_EQ(d.title, String(IDS_MAIN_TITLE)) << "a second instance finds the window by it";
    EXPECT_EQ(d.pointSize, 10);
    EXPECT_EQ(d.weight, 400);
    EXPECT_EQ(d.italic, 0);
    EXPECT_EQ(d.charset, SHIFTJIS_CHARSET);
    EXPECT_EQ(d.face, kFace);

    const DWORD list = WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
    const DWORD button = WS_CHILD | WS_TABSTOP | BS_PUSHBUTTON;
    const std::vector<Control> expected = {
        {1000, L"SYSTABCONTROL32", L"", 7, 7, 205, 214, kChild},
        {1002, L"SYSTREEVIEW32", L"", 14, 31, 73, 158,
         kChild | WS_BORDER | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT},
        {1003, L"LISTBOX", L"", 89, 31, 114, 158, kChild | list | WS_HSCROLL},
        {1004, L"BUTTON", L"お気に入りに追加", 141, 196, 61, 17, button | WS_VISIBLE},
        {1005, L"LISTBOX", L"", 14, 31, 191, 158, WS_CHILD | list | WS_HSCROLL | LBS_HASSTRINGS},
        {1006, L"BUTTON", L"削除", 141, 196, 61, 17, button},
        {1011, L"LISTBOX", L"", 14, 31, 191, 158, WS_CHILD | list | LBS_SORT},
        {1012, L"BUTTON", L"編集", 93, 196, 40, 17, button},
        {1013, L"BUTTON", L"新規", 38, 196, 40, 17, button},
        {1014, L"BUTTON", L"削除", 147, 196, 40, 17, button},
        {1015, L"BUTTON", L"▲", 17, 196, 17, 17, button},
        {1016, L"BUTTON", L"▼", 38, 196, 17, 17, button},
    };
    EXPECT_EQ(d.controls, expected);
}

TEST_F(ResourcesTest, EditorDialogTemplate) {
    const DialogTemplate d = Dialog(IDD_EDIT_AA);
    EXPECT_EQ(d.signature, 0xFFFF);
    EXPECT_EQ(d.style, 0x80CC0040u);
    EXPECT_EQ(d.exStyle, 0u);
    EXPECT_EQ((std::vector<short>{d.x, d.y, d.cx, d.cy}), (std::vector<short>{0, 0, 251, 200}));
    EXPECT_EQ(d.menu, L"");
    EXPECT_EQ(d.windowClass, L"");
    EXPECT_EQ(d.title, L"AAエディター");
    EXPECT_EQ(d.pointSize, 12);
    EXPECT_EQ(d.weight, 400);
    EXPECT_EQ(d.italic, 0);
    EXPECT_EQ(d.charset, SHIFTJIS_CHARSET);
    EXPECT_EQ(d.face, kFace);

    const DWORD centred = WS_TABSTOP | BS_CENTER | BS_VCENTER;
    const std::vector<Control> expected = {
        {IDOK, L"BUTTON", L"OK", 63, 179, 50, 14, kChild | centred | BS_DEFPUSHBUTTON},
        {IDCANCEL, L"BUTTON", L"キャンセル", 137, 179, 50, 14, kChild | centred | BS_PUSHBUTTON},
        {1007, L"STATIC", L"AAタイトル", 7, 9, 37, 11, kChild | WS_GROUP | SS_LEFT},
        {1008, L"EDIT", L"", 41, 7, 143, 12,
         kChild | WS_BORDER | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL},
        {1009, L"EDIT", L"", 7, 30, 237, 140,
         kChild | WS_BORDER | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL |
             ES_AUTOHSCROLL | ES_WANTRETURN},
    };
    EXPECT_EQ(d.controls, expected);
}

TEST_F(ResourcesTest, TrayMenu) {
    Reader r = Resource(RT_MENU, IDR_TRAYMENU);
    EXPECT_EQ(r.Get<WORD>(), 0) << "version";
    EXPECT_EQ(r.Get<WORD>(), 0) << "header size";
    EXPECT_EQ(r.Get<WORD>(), MF_POPUP | MF_END);
    EXPECT_EQ(r.String(), L"タスクトレイメニュー");
    EXPECT_EQ(r.Get<WORD>(), MF_END);
    EXPECT_EQ(r.Get<WORD>(), ID_TRAY_EXIT);
    EXPECT_EQ(r.String(), L"終了(&Q)");
    EXPECT_TRUE(r.AtEnd());
}

TEST_F(ResourcesTest, IconGroupHasNineImagesInOrder) {
    Reader r = Resource(RT_GROUP_ICON, IDR_MAINFRAME);
    EXPECT_EQ(r.Get<WORD>(), 0);
    EXPECT_EQ(r.Get<WORD>(), 1) << "icons";
    const WORD count = r.Get<WORD>();
    ASSERT_EQ(count, 9);
    const int sizes[] = {48, 32, 16};
    const int depths[] = {4, 8, 24};
    for (int i = 0; i < 9; ++i) {
        const int size = sizes[i % 3], depth = depths[i / 3];
        SCOPED_TRACE("image " + std::to_string(i));
        EXPECT_EQ(r.Get<BYTE>(), size);
        EXPECT_EQ(r.Get<BYTE>(), size);
        EXPECT_EQ(r.Get<BYTE>(), depth == 4 ? 16 : 0) << "colour count";
        r.Get<BYTE>();
        EXPECT_EQ(r.Get<WORD>(), 1) << "planes";
        EXPECT_EQ(r.Get<WORD>(), depth);
        const DWORD bytes = r.Get<DWORD>();
        const WORD id = r.Get<WORD>();
        // The image itself: a bitmap of that size (colour and mask) and depth.
        Reader image = Resource(RT_ICON, id);
        const BITMAPINFOHEADER header = image.Get<BITMAPINFOHEADER>();
        EXPECT_EQ(header.biWidth, size);
        EXPECT_EQ(header.biHeight, 2 * size);
        EXPECT_EQ(header.biBitCount, depth);
        EXPECT_EQ(::SizeofResource(s_module, Find(RT_ICON, id)), bytes);
    }
}

TEST_F(ResourcesTest, Strings) {
    const std::vector<std::pair<UINT, std::wstring>> expected = {
        {500, L"リストから対象を選択して下さい。"},
        {501, L"顔文字ファイルが存在しません。"},
        {503, L"Pelo"},
        {504, L"AA\\%s.txt"},
        {505, L"AAタイトルを入力して下さい。"},
        {506, L"同じAAタイトルが存在します。上書きしますか？"},
        {507, L"同じ顔文字がお気に入りに登録されています。"},
        {508, L"このAAタイトルはファイル名に使えません。"},
        {61446, L"an unnamed file"},
        {61856, L"No error occurred."},
        {61857, L"An unknown error occurred while accessing %1."},
        {61858, L"%1 was not found."},
        {61859, L"%1 contains an invalid path."},
        {61860, L"%1 could not be opened because there are too many open files."},
        {61861, L"Access to %1 was denied."},
        {61862, L"An invalid file handle was associated with %1."},
        {61863, L"%1 could not be removed because it is the current directory."},
        {61864, L"%1 could not be created because the directory is full."},
        {61865, L"Seek failed on %1"},
        {61866, L"A hardware I/O error was reported while accessing %1."},
        {61867, L"A sharing violation occurred while accessing %1."},
        {61868, L"A locking violation occurred while accessing %1."},
        {61869, L"Disk full while accessing %1."},
        {61870, L"An attempt was made to access %1 past its end."},
    };
    for (const auto& [id, text] : expected) {
        EXPECT_EQ(String(id), text) << "string " << id;
    }
    EXPECT_EQ(String(502), L"<missing>");
    EXPECT_EQ(String(61871), L"<missing>");
}

BOOL CALLBACK CollectLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR param) {
    reinterpret_cast<std::vector<WORD>*>(param)->push_back(language);
    return TRUE;
}
BOOL CALLBACK CollectNames(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR param) {
    ::EnumResourceLanguagesW(module, type, name, &CollectLanguage, param);
    return TRUE;
}
BOOL CALLBACK CollectTypes(HMODULE module, LPWSTR type, LONG_PTR param) {
    ::EnumResourceNamesW(module, type, &CollectNames, param);
    return TRUE;
}

TEST_F(ResourcesTest, EveryResourceIsJapanese) {
    std::vector<WORD> languages;
    ::EnumResourceTypesW(s_module, &CollectTypes, reinterpret_cast<LONG_PTR>(&languages));
    // Dialogs, menu, icon group, nine icons, string bundles, version, manifest.
    EXPECT_GE(languages.size(), 18u);
    for (WORD language : languages) {
        EXPECT_EQ(language, kJapanese);
    }
}

TEST_F(ResourcesTest, VersionRecord) {
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(s_path.c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> block(size);
    ASSERT_TRUE(::GetFileVersionInfoW(s_path.c_str(), 0, size, block.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(::VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00030000u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0x00030000u);
    EXPECT_EQ(fixed->dwFileOS, static_cast<DWORD>(VOS__WINDOWS32));
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

    struct Translation {
        WORD language, codePage;
    }* translation = nullptr;
    ASSERT_TRUE(::VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation",
                                 reinterpret_cast<void**>(&translation), &length));
    EXPECT_EQ(translation->language, kJapanese);
    wchar_t prefix[64];
    swprintf(prefix, 64, L"\\StringFileInfo\\%04x%04x\\", translation->language,
             translation->codePage);
    const auto value = [&](const wchar_t* name) {
        wchar_t* text = nullptr;
        UINT chars = 0;
        const std::wstring query = prefix + std::wstring(name);
        return ::VerQueryValueW(block.data(), query.c_str(), reinterpret_cast<void**>(&text),
                                &chars)
                   ? std::wstring(text)
                   : L"<missing>";
    };
    EXPECT_EQ(value(L"ProductName"), L"Pelo");
    EXPECT_EQ(value(L"CompanyName"), L"Quilbax");
    EXPECT_EQ(value(L"FileVersion"), L"1.0.3");
    EXPECT_EQ(value(L"ProductVersion"), L"1.0.3");
}

TEST_F(ResourcesTest, ManifestAsksForCommonControls6WithoutDpiAwareness) {
    Reader r = Resource(RT_MANIFEST, 1);
    std::string text;
    while (!r.AtEnd()) {
        text.push_back(static_cast<char>(r.Get<BYTE>()));
    }
    EXPECT_NE(text.find("Microsoft.Windows.Common-Controls"), std::string::npos);
    EXPECT_NE(text.find("version=\"6.0.0.0\""), std::string::npos);
    EXPECT_EQ(text.find("dpiAware"), std::string::npos);
    EXPECT_EQ(text.find("dpiAwareness"), std::string::npos);
}

}  // namespace
