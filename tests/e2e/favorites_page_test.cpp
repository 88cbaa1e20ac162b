// The favourites page from outside: adds from the dictionary page, moves and
// deletes on the favourites page, and Favorite.txt byte for byte after every
// step, including the files and failures a user's disk can bring.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "E2e.h"
#include "app/resource.h"

namespace {

using namespace e2e;
using Entries = std::vector<std::string>;

const std::string kWave = "(^_^)/";
const std::string kWaveLong = "(^_^)/~~";  // kWave is only its beginning
const std::string kCry = "(ToT)";
const std::string kCryOtherCase = "(tOt)";
const std::string kOmega = ToCp932(L"(´・ω・`)");
const std::string kCapitalOmega = ToCp932(L"(´・Ω・`)");
const std::string kKatakanaA = ToCp932(L"(ア)");   // 83 41: trail byte 'A'
const std::string kKatakanaDi = ToCp932(L"(ヂ)");  // 83 61: trail byte 'a'

// One category holding every kaomoji above.
std::string Dictionary() {
    std::string dic;
    for (const std::string& kaomoji :
         {kWaveLong, kWave, kCry, kCryOtherCase, kOmega, kCapitalOmega, kKatakanaA, kKatakanaDi}) {
        dic += ToCp932(L"かお") + "\t" + kaomoji + "\r\n";
    }
    return dic;
}

std::string Lines(const Entries& entries) {
    std::string bytes;
    for (const std::string& entry : entries) {
        bytes += entry + "\r\n";
    }
    return bytes;
}

// Opens a file the way another program holding it without sharing does.
class FileHold {
public:
    explicit FileHold(const std::filesystem::path& path)
        : m_file(::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr)) {}
    ~FileHold() { Release(); }
    FileHold(const FileHold&) = delete;
    FileHold& operator=(const FileHold&) = delete;
    bool Held() const { return m_file != INVALID_HANDLE_VALUE; }
    void Release() {
        if (Held()) {
            ::CloseHandle(m_file);
            m_file = INVALID_HANDLE_VALUE;
        }
    }

private:
    HANDLE m_file;
};

class FavoritesPageTest : public ::testing::Test {
protected:
    FavoritesPageTest() : m_pelo(false) { m_pelo.WriteFile("dic.txt", Dictionary()); }

    void Start() {
        ASSERT_TRUE(m_pelo.Start());
        ExpectNoMessageBox();
    }
    std::string File() const { return m_pelo.ReadFile("Favorite.txt"); }
    HWND Control(int id) const { return m_pelo.Control(id); }
    Entries Favorites() const { return ListItems(Control(IDC_FAVORITE_LIST)); }
    int FavoriteSelection() const { return ListSelection(Control(IDC_FAVORITE_LIST)); }

    void ExpectNoMessageBox() const {
        EXPECT_EQ(FindMessageBox(m_pelo.Id(), {m_pelo.MainWindow()}), nullptr);
    }

    // Clicks a button and waits until its handler has returned. False when
    // that takes long, which means the handler is showing a message box.
    bool ClickAndFinish(int id) const {
        DWORD_PTR result = 0;
        return ::SendMessageTimeoutW(Control(id), BM_CLICK, 0, 0, SMTO_NORMAL, 5000, &result) != 0;
    }

    // Clicks a button whose handler should show message `text`, checks it is
    // shown and closes it.
    void ExpectMessageOnClick(int id, const std::string& text) const {
        PostButtonClick(Control(id));
        const HWND box = WaitForMessageBox(m_pelo.Id(), {m_pelo.MainWindow()});
        ASSERT_NE(box, nullptr) << "no message box";
        EXPECT_EQ(MessageBoxText(box), text);
        EXPECT_TRUE(AnswerMessageBox(box, IDOK));
    }

    // Shows the one category of the dictionary (the tree has the focus at start).
    void ShowCategory() const {
        ASSERT_TRUE(ShowFirstCategory(m_pelo)) << "no category showed its kaomoji";
    }

    void SelectKaomoji(const std::string& kaomoji) const {
        const Entries items = ListItems(Control(IDC_KAOMOJI_LIST));
        const auto found = std::find(items.begin(), items.end(), kaomoji);
        ASSERT_NE(found, items.end()) << kaomoji;
        SetListSelection(Control(IDC_KAOMOJI_LIST), static_cast<int>(found - items.begin()));
    }

    // Adds a kaomoji that must be accepted: the file grows by its line and
    // the list, reloaded, ends with it and has no selection.
    void ExpectAdded(const std::string& kaomoji) const {
        SelectKaomoji(kaomoji);
        const Entries before = Favorites();
        const std::string fileBefore = File();
        ASSERT_TRUE(ClickAndFinish(IDC_ADD_FAVORITE)) << "a message box came up";
        Entries expected = before;
        expected.push_back(kaomoji);
        EXPECT_EQ(Favorites(), expected);
        EXPECT_EQ(FavoriteSelection(), LB_ERR);
        EXPECT_EQ(File(), fileBefore + kaomoji + "\r\n");
    }

    // Adds a kaomoji that must be refused as a duplicate.
    void ExpectDuplicate(const std::string& kaomoji) const {
        SelectKaomoji(kaomoji);
        const Entries before = Favorites();
        const std::string fileBefore = File();
        ExpectMessageOnClick(IDC_ADD_FAVORITE, kDuplicateMessage);
        EXPECT_EQ(Favorites(), before);
        EXPECT_EQ(File(), fileBefore);
    }

    void ShowFavoritesPage() const {
        ASSERT_TRUE(ShowPage(m_pelo, kFavoritesTab))
            << "could not select the favourites tab: selection " << TabSelection(Control(IDC_TAB))
            << ", focus on control " << ::GetDlgCtrlID(FocusedWindowOf(m_pelo.MainWindow()));
    }

    // Selects favourite `index`, clicks `button` and checks the list, the
    // selection and the file afterwards (no message box in between).
    void ExpectAfterClick(int index, int button, const Entries& entries, int selection) const {
        SetListSelection(Control(IDC_FAVORITE_LIST), index);
        ASSERT_TRUE(ClickAndFinish(button)) << "a message box came up";
        EXPECT_EQ(Favorites(), entries);
        EXPECT_EQ(FavoriteSelection(), selection);
        EXPECT_EQ(File(), Lines(entries));
        ExpectNoMessageBox();
    }

    // Starts on favourites file `before`, which lists "a" and "b", adds kCry
    // and checks the list and that the file is then `after`.
    void ExpectCryAddedToAB(const std::string& before, const std::string& after) {
        m_pelo.WriteFile("Favorite.txt", before);
        Start();
        EXPECT_EQ(Favorites(), (Entries{"a", "b"}));
        ShowCategory();
        SelectKaomoji(kCry);
        ASSERT_TRUE(ClickAndFinish(IDC_ADD_FAVORITE));
        EXPECT_EQ(Favorites(), (Entries{"a", "b", kCry}));
        EXPECT_EQ(File(), after);
    }

    const std::string kSelectMessage = ToCp932(L"リストから対象を選択して下さい。");
    const std::string kDuplicateMessage = ToCp932(L"同じ顔文字がお気に入りに登録されています。");
    PeloProcess m_pelo;
};

TEST_F(FavoritesPageTest, FirstStartCreatesAnEmptyFileAndAddsFromTheDictionary) {
    Start();
    ASSERT_TRUE(m_pelo.HasFile("Favorite.txt"));
    EXPECT_EQ(File(), "");
    EXPECT_EQ(Favorites(), Entries{});

    ShowCategory();
    SetListSelection(Control(IDC_KAOMOJI_LIST), LB_ERR);
    ExpectMessageOnClick(IDC_ADD_FAVORITE, kSelectMessage);
    EXPECT_EQ(File(), "");

    ExpectAdded(kWaveLong);
    ExpectAdded(kWave);  // only the beginning of a favourite: a kaomoji of its own
    ExpectAdded(kCry);
    ExpectDuplicate(kCry);
    ExpectDuplicate(kCryOtherCase);  // differs only in the case of ASCII letters
    // Double-byte characters compare exactly, their trail bytes included.
    ExpectAdded(kOmega);
    ExpectAdded(kCapitalOmega);
    ExpectAdded(kKatakanaA);
    ExpectAdded(kKatakanaDi);
    EXPECT_EQ(File(),
              Lines({kWaveLong, kWave, kCry, kOmega, kCapitalOmega, kKatakanaA, kKatakanaDi}));
}

TEST_F(FavoritesPageTest, MovesAndDeletesRewriteTheFileWithCrLf) {
    // LF line ends and an empty line, as another editor may leave them.
    m_pelo.WriteFile("Favorite.txt", "a\n\nc\nd\n");
    Start();
    ShowFavoritesPage();
    EXPECT_EQ(Favorites(), (Entries{"a", "", "c", "d"}));
    EXPECT_EQ(FavoriteSelection(), LB_ERR);

    ExpectMessageOnClick(IDC_FAVORITE_UP, kSelectMessage);
    ExpectMessageOnClick(IDC_FAVORITE_DOWN, kSelectMessage);
    ExpectMessageOnClick(IDC_DELETE_FAVORITE, kSelectMessage);
    EXPECT_EQ(File(), "a\n\nc\nd\n");

    // The first cannot go up nor the last down: nothing changes, not even the file.
    SetListSelection(Control(IDC_FAVORITE_LIST), 0);
    ASSERT_TRUE(ClickAndFinish(IDC_FAVORITE_UP));
    EXPECT_EQ(FavoriteSelection(), 0);
    SetListSelection(Control(IDC_FAVORITE_LIST), 3);
    ASSERT_TRUE(ClickAndFinish(IDC_FAVORITE_DOWN));
    EXPECT_EQ(FavoriteSelection(), 3);
    EXPECT_EQ(Favorites(), (Entries{"a", "", "c", "d"}));
    EXPECT_EQ(File(), "a\n\nc\nd\n");
    ExpectNoMessageBox();

    ExpectAfterClick(1, IDC_FAVORITE_UP, {"", "a", "c", "d"}, 0);
    ExpectAfterClick(0, IDC_FAVORITE_DOWN, {"a", "", "c", "d"}, 1);
    ExpectAfterClick(2, IDC_FAVORITE_DOWN, {"a", "", "d", "c"}, 3);

    // Delete the first, a middle one, the last and the only one.
    ExpectAfterClick(0, IDC_DELETE_FAVORITE, {"", "d", "c"}, 0);
    ExpectAfterClick(1, IDC_DELETE_FAVORITE, {"", "c"}, 1);
    ExpectAfterClick(1, IDC_DELETE_FAVORITE, {""}, 0);
    ExpectAfterClick(0, IDC_DELETE_FAVORITE, {}, LB_ERR);
    EXPECT_EQ(File(), "");
}

TEST_F(FavoritesPageTest, FileHeldAtStartIsReportedAndTheListEmpty) {
    m_pelo.WriteFile("Favorite.txt", "a\r\n");
    FileHold hold(m_pelo.PathOf("Favorite.txt"));
    ASSERT_TRUE(hold.Held());
    ASSERT_TRUE(m_pelo.Launch());
    const HWND box = WaitForMessageBox(m_pelo.Id());
    ASSERT_NE(box, nullptr) << "the held file was not reported";
    EXPECT_EQ(MessageBoxText(box), "A sharing violation occurred while accessing " +
                                       ToCp932(m_pelo.PathOf("Favorite.txt").wstring()) + ".");
    EXPECT_TRUE(AnswerMessageBox(box, IDOK));
    ASSERT_NE(m_pelo.WaitForMainWindow(), nullptr);
    EXPECT_EQ(Favorites(), Entries{});
    hold.Release();

    // The next add finds the file free again and shows all of it.
    ShowCategory();
    SelectKaomoji(kCry);
    ASSERT_TRUE(ClickAndFinish(IDC_ADD_FAVORITE));
    EXPECT_EQ(Favorites(), (Entries{"a", kCry}));
    EXPECT_EQ(File(), "a\r\n" + kCry + "\r\n");
}

// The list gives some bytes back changed (an NEC-selected IBM code as the
// IBM one); moves and deletes write the file's own bytes.
TEST_F(FavoritesPageTest, RewritesKeepTheFilesBytes) {
    const std::string necCode = "\xED\x40";  // comes back from the list as FA 5C
    m_pelo.WriteFile("Favorite.txt", Lines({necCode, "b"}));
    Start();
    ShowFavoritesPage();
    SetListSelection(Control(IDC_FAVORITE_LIST), 1);
    ASSERT_TRUE(ClickAndFinish(IDC_FAVORITE_UP));
    EXPECT_EQ(File(), Lines({"b", necCode}));
    ASSERT_TRUE(ClickAndFinish(IDC_DELETE_FAVORITE));
    EXPECT_EQ(File(), Lines({necCode}));
}

TEST_F(FavoritesPageTest, FileHeldDuringAddOrDeleteStaysWholeAndTheListAgrees) {
    const std::string old = Lines({"a", "b", "c"});
    m_pelo.WriteFile("Favorite.txt", old);
    Start();
    ShowCategory();
    {
        FileHold hold(m_pelo.PathOf("Favorite.txt"));
        ASSERT_TRUE(hold.Held());

        // The add cannot open the file: nothing is written, the user is told.
        SelectKaomoji(kCry);
        PostButtonClick(Control(IDC_ADD_FAVORITE));
        const HWND addBox = WaitForMessageBox(m_pelo.Id(), {m_pelo.MainWindow()});
        ASSERT_NE(addBox, nullptr) << "the failed add was not reported";
        EXPECT_NE(MessageBoxText(addBox).find("Favorite.txt"), std::string::npos)
            << MessageBoxText(addBox);
        EXPECT_TRUE(AnswerMessageBox(addBox, IDOK));
        EXPECT_EQ(Favorites(), (Entries{"a", "b", "c"}));

        // The delete's rewrite cannot replace the file: the old one stays
        // whole and the list shows it again.
        ShowFavoritesPage();
        SetListSelection(Control(IDC_FAVORITE_LIST), 1);
        PostButtonClick(Control(IDC_DELETE_FAVORITE));
        const HWND box = WaitForMessageBox(m_pelo.Id(), {m_pelo.MainWindow()});
        ASSERT_NE(box, nullptr) << "the failed rewrite was not reported";
        EXPECT_NE(MessageBoxText(box).find("Favorite.txt"), std::string::npos)
            << MessageBoxText(box);
        EXPECT_EQ(Favorites(), (Entries{"a", "b", "c"}));
        EXPECT_TRUE(AnswerMessageBox(box, IDOK));
    }
    EXPECT_EQ(File(), old);
    // No temporary file is left beside it.
    std::vector<std::wstring> names;
    for (const auto& entry : std::filesystem::directory_iterator(m_pelo.Folder())) {
        names.push_back(entry.path().filename().wstring());
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::wstring>{L"Favorite.txt", L"dic.txt"}));

    // Once the file is free, the delete works.
    ExpectAfterClick(1, IDC_DELETE_FAVORITE, {"a", "c"}, 1);
}

TEST_F(FavoritesPageTest, AddAfterALastLineWithoutLineEnd) {
    ExpectCryAddedToAB("a\r\nb", "a\r\nb\r\n" + kCry + "\r\n");
}

TEST_F(FavoritesPageTest, AddToAFileWithCtrlZShowsTheEntryAndKeepsEveryByte) {
    ExpectCryAddedToAB("a\r\nb\r\n\032after\r\n", "a\r\nb\r\n" + kCry + "\r\n\032after\r\n");
}

}  // namespace
