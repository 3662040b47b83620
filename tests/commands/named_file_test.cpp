// Files named without Open's dialog: the start argument, a dropped file, Save Again and the
// recent files.
#include "commands/named_file.h"

#include <gtest/gtest.h>

#include "app/startup.h"
#include "commands/command_ids.h"
#include "commands/recent_files.h"
#include "tests/commands/command_support.h"

namespace nv::test {
namespace {

using NamedFileTest = CommandTest;

const std::string GoodFile = Mark + Units({0x05D0, 'b', 0});

TEST_F(NamedFileTest, StartArgumentOpensAsOpenDoesWithOpensMessages) {
    WriteWholeFile(Path("good.txt"), GoodFile);
    WriteWholeFile(Path("with space.txt"), GoodFile);
    WriteWholeFile(Path("plain.txt"), "plain");
    const std::string tooLong = "\"" + Path(std::string(FilePathSize, 'x')) + "\"";
    const struct {
        std::string commandLine, text, title, message;
    } cases[] = {
        {Path("good.txt"),
         "\xE0"
         "b",
         "good.txt", ""},
        {"  \"" + Path("with space.txt") + "\" more words",
         "\xE0"
         "b",
         "with space.txt", ""},
        {Path("missing.txt"), "", "missing.txt", ""},  // a new file, as vi starts one
        {Path("nofolder/missing.txt"), "", "Nivrano",
         "Can not obtain a file handle to the selected file"},
        {Path("plain.txt"), "plain", "plain.txt", ""},
        {tooLong, "", "Nivrano", "Can not obtain a file handle to the selected file"},
        {"", "", "Nivrano", ""},
    };
    for (const auto& c : cases) {
        fake().windowText = "Nivrano";  // a new editor's window
        CreateWindow();
        SetStartArgument(c.commandLine.c_str());
        FinishStartUp();
        if (c.message.empty()) {
            EXPECT_TRUE(fake().messageBoxes().empty()) << c.commandLine;
        } else {
            ExpectBox(c.message, "Can Not Open File");
        }
        EXPECT_EQ(Text(), c.text) << c.commandLine;
        EXPECT_EQ(fake().windowText, c.title) << c.commandLine;
        EXPECT_FALSE(IsDocumentChanged()) << c.commandLine;
        EXPECT_TRUE(fake().fileDialogs.empty()) << c.commandLine;
    }
    // The new file is written where it was named, without a dialog.
    CreateWindow();
    SetStartArgument(Path("missing.txt").c_str());
    FinishStartUp();
    Char('n');
    Command(IDM_FILE_SAVE_AGAIN);
    EXPECT_TRUE(fake().fileDialogs.empty());
    EXPECT_EQ(ReadWholeFile(Path("missing.txt")), Mark + Units({'n', 0}));
}

TEST_F(NamedFileTest, SaveAgainWritesTheDocumentsFileWithoutADialog) {
    WriteWholeFile(Path("doc.txt"), GoodFile);
    Open("doc.txt");
    Char('c');
    Command(IDM_FILE_SAVE_AGAIN);
    const std::string saved = ReadWholeFile(Path("doc.txt"));
    EXPECT_EQ(saved, Mark + Units({'c', 0x05D0, 'b', 0}));
    EXPECT_EQ(fake().fileDialogs.size(), 1u);  // Open's only
    EXPECT_EQ(fake().windowText, "doc.txt");
    EXPECT_FALSE(IsDocumentChanged());
    // Byte for byte what Save writes; then Save Again follows the file Save named.
    EXPECT_EQ(SaveAs("other.txt"), saved);
    Char('d');
    fake().fileDialogs.clear();
    Command(IDM_FILE_SAVE_AGAIN);
    EXPECT_TRUE(fake().fileDialogs.empty());
    EXPECT_EQ(ReadWholeFile(Path("other.txt")), Mark + Units({'c', 'd', 0x05D0, 'b', 0}));
    EXPECT_EQ(ReadWholeFile(Path("doc.txt")), saved);
    EXPECT_TRUE(fake().messageBoxes().empty());

    // A refused Open leaves the document's file as it was: the refused file is not written.
    WriteWholeFile(Path("odd.txt"), Mark + "a");
    Open("odd.txt");
    ExpectBox("The selected file is not a Unicode text file", "Can Not Open File");
    Char('e');
    Command(IDM_FILE_SAVE_AGAIN);
    EXPECT_EQ(ReadWholeFile(Path("odd.txt")), Mark + "a");
    EXPECT_EQ(ReadWholeFile(Path("other.txt")), Mark + Units({'c', 'd', 'e', 0x05D0, 'b', 0}));
}

TEST_F(NamedFileTest, SaveAgainFailsAsSaveAndAsksForANameAfterNew) {
    WriteWholeFile(Path("doc.txt"), GoodFile);
    Open("doc.txt");
    Char('c');
    fake().FailCall("SetEndOfFile");  // the target's own: the Saving folder's never fail a save
    Command(IDM_FILE_SAVE_AGAIN);
    ExpectBox("Can not write to the selected file", "Can Not Save File");
    EXPECT_TRUE(IsDocumentChanged());
    EXPECT_EQ(ReadWholeFile(Path("doc.txt")), GoodFile);
    EXPECT_EQ(fake().windowText, "doc.txt");

    // New (and a fresh start) name no file: Save Again is Save, dialog and all.
    fake().AnswerNextMessageBox(IDNO);
    Command(IDM_FILE_NEW);
    fake().ClearMessageBoxes();
    fake().fileDialogs.clear();
    Char('n');
    fake().AnswerNextFileDialog(Path("new.txt"));
    Command(IDM_FILE_SAVE_AGAIN);
    ASSERT_EQ(fake().fileDialogs.size(), 1u);
    EXPECT_TRUE(fake().fileDialogs[0].save);
    EXPECT_EQ(ReadWholeFile(Path("new.txt")), Mark + Units({'n', 0}));
    EXPECT_EQ(fake().windowText, "new.txt");
}

TEST_F(NamedFileTest, ADroppedFileOpensAfterTheSavePrompt) {
    EXPECT_TRUE(fake().acceptsFiles);
    WriteWholeFile(Path("first.txt"), GoodFile);
    for (int answer : {IDCANCEL, IDNO}) {
        SetText("changed");
        fake().AnswerNextMessageBox(answer);
        Send(WM_DROPFILES,
             reinterpret_cast<WPARAM>(fake().MakeDrop({Path("first.txt"), Path("second.txt")})));
        ExpectBox(
            "The current file has changed since the last save.\n"
            "Do you wish to save the current file?",
            "Save Current File?", MB_ICONQUESTION | MB_YESNOCANCEL);
        EXPECT_EQ(Text(), answer == IDNO ? "\xE0"
                                           "b"
                                         : "changed");
        EXPECT_EQ(fake().liveDrops(), 0);
    }
    EXPECT_EQ(fake().windowText, "first.txt");
}

// The recent files in the File menu: files opened, dropped, named at start or saved go first,
// eight at most; one chosen opens as Open opens, after the save question, and a file that no
// longer opens leaves the list after its message.
TEST_F(NamedFileTest, RecentFilesKeepTheOrderOfUseAndOpenAsOpenDoes) {
    auto menu = [&] {
        std::vector<std::string> texts;
        for (const auto& item : fake().addedMenuItems) texts.push_back(item.text);
        return texts;
    };
    for (const char* name : {"a.txt", "b.txt", "c&d.txt", "e.txt"})
        WriteWholeFile(Path(name), GoodFile);
    SetStartArgument(Path("e.txt").c_str());
    FinishStartUp();
    Open("a.txt");
    Send(WM_DROPFILES, reinterpret_cast<WPARAM>(fake().MakeDrop({Path("c&d.txt")})));
    SaveAs("b.txt");
    Open("a.txt");  // again: first, and once
    EXPECT_EQ(menu(),
              (std::vector<std::string>{"&1 a.txt", "&2 b.txt", "&3 c&&d.txt", "&4 e.txt", ""}));
    EXPECT_EQ(fake().addedMenuItems[0].id, IDM_RECENT_FIRST);
    EXPECT_EQ(fake().addedMenuItems[4].id, IDM_RECENT_SEPARATOR);

    // The save question first: Cancel opens nothing, No opens the file without a dialog.
    SetText("changed");
    fake().fileDialogs.clear();
    for (int answer : {IDCANCEL, IDNO}) {
        fake().AnswerNextMessageBox(answer);
        Command(IDM_RECENT_FIRST + 2);
        ExpectBox(
            "The current file has changed since the last save.\n"
            "Do you wish to save the current file?",
            "Save Current File?", MB_ICONQUESTION | MB_YESNOCANCEL);
    }
    EXPECT_EQ(Text(),
              "\xE0"
              "b");
    EXPECT_EQ(fake().windowText, "c&d.txt");
    EXPECT_TRUE(fake().fileDialogs.empty());
    EXPECT_EQ(menu()[0], "&1 c&&d.txt");

    // A vanished file: Open's message, and off the list.
    std::remove(Path("e.txt").c_str());
    Command(IDM_RECENT_FIRST + 3);
    ExpectBox("Can not obtain a file handle to the selected file", "Can Not Open File");
    EXPECT_EQ(menu(), (std::vector<std::string>{"&1 c&&d.txt", "&2 a.txt", "&3 b.txt", ""}));
    EXPECT_EQ(fake().windowText, "c&d.txt");

    // Eight at most, the oldest dropped.
    for (int k = 0; k < 8; ++k) SaveAs("f" + std::to_string(k) + ".txt");
    EXPECT_EQ(menu().size(), 9u);
    EXPECT_EQ(menu()[0], "&1 f7.txt");
    EXPECT_EQ(menu()[7], "&8 f0.txt");
    // A file named from the current folder is kept by its full path.
    RememberRecentFile("g.txt");
    EXPECT_STREQ(RecentFiles.Paths[0], Path("g.txt").c_str());
}

}  // namespace
}  // namespace nv::test
