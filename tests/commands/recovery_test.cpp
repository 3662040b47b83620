// The recovery copy: written after the timer with the bytes Save would write, gone once the
// document no longer counts as changed, offered at the next start after a crash, never
// offered when damaged or owned by a running editor, and silent when it cannot be written.
#include "commands/recovery.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/startup.h"
#include "tests/commands/command_support.h"

namespace nv::test {
namespace {

class RecoveryTest : public CommandTest {
protected:
    std::string Folder() { return fake().AppDataFolder() + "/Nivrano/Recovery"; }
    std::string InFolder(const std::string& name) { return Folder() + "/" + name; }
    // The copy and header files there, the locks left out, in name order.
    std::vector<std::string> Files() {
        std::vector<std::string> names;
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(Folder(), error)) {
            const std::string name = entry.path().filename().string();
            if (entry.path().extension() != ".lock") names.push_back(name);
        }
        std::sort(names.begin(), names.end());
        return names;
    }
    // Types the text and lets the timer write the copy.
    void TypeAndWait(const std::string& text) {
        for (char c : text) Char(static_cast<unsigned char>(c));
        EXPECT_EQ(fake().timers().at(RecoveryTimer), RecoveryDelay);
        Send(WM_TIMER, RecoveryTimer);
    }
    // The editor dies: its lock goes with the process, its files stay.
    void Crash() { CloseRecoveryLock(); }
    // The next editor, started past the agreement, answering the offer (0: none expected).
    void StartAgain(int answer, DWORD processId = 5151) {
        fake().processId = processId;
        fake().windowText = "Nivrano";
        CreateWindow();
        if (answer != 0) fake().AnswerNextMessageBox(answer);
        FinishStartUp();
        if (answer == 0) {
            EXPECT_TRUE(fake().messageBoxes().empty());
            return;
        }
        ExpectBox("Nivrano ended before these changes were saved.\nDo you wish to recover them?",
                  "Recover Changes?", MB_ICONQUESTION | MB_YESNO);
    }
};

const std::vector<std::string> OneCopy = {"4242-a.txt", "4242.ini"};

TEST_F(RecoveryTest, TheCopyHoldsSavesBytesAndGoesWhenTheDocumentNoLongerCountsAsChanged) {
    WriteWholeFile(Path("doc.txt"), Mark + Units({'a', 0}));
    Open("doc.txt");
    TypeAndWait("\xE0x");
    EXPECT_EQ(Files(), OneCopy);
    EXPECT_EQ(ReadWholeFile(InFolder("4242-a.txt")), Mark + Units({0x05D0, 'x', 'a', 0}));
    EXPECT_NE(ReadWholeFile(InFolder("4242.ini")).find("source=" + Path("doc.txt") + "\r\n"),
              std::string::npos);
    // A second copy is written beside the first, which is then dropped.
    TypeAndWait("y");
    EXPECT_EQ(Files(), (std::vector<std::string>{"4242-b.txt", "4242.ini"}));

    for (const char* way : {"Save", "New", "Open", "edited back", "No at closing"}) {
        fake().ClearMessageBoxes();
        TypeAndWait("z");
        ASSERT_EQ(Files().size(), 2u) << way;
        const std::string how = way;
        if (how == "Save") Command(IDM_FILE_SAVE_AGAIN);
        if (how == "New" || how == "Open" || how == "No at closing") {
            fake().AnswerNextMessageBox(IDNO);
        }
        if (how == "New") Command(IDM_FILE_NEW);
        if (how == "Open") Open("doc.txt");
        if (how == "edited back") KeyDown(VK_BACK);
        if (how == "No at closing") Send(WM_CLOSE);
        EXPECT_TRUE(Files().empty()) << way;
        EXPECT_EQ(fake().timers().count(RecoveryTimer), 0u) << way;
    }
    EXPECT_TRUE(fake().windowDestroyed());
    EXPECT_TRUE(std::filesystem::is_empty(Folder())) << "the lock stays after the end";
}

TEST_F(RecoveryTest, TheEndOfTheSessionWritesTheCopyAtOnce) {
    Char('s');
    fake().AnswerNextMessageBox(IDCANCEL);
    EXPECT_EQ(Send(WM_QUERYENDSESSION), 0);
    EXPECT_EQ(ReadWholeFile(InFolder("4242-a.txt")), Mark + Units({'s', 0}));
}

TEST_F(RecoveryTest, TheNextStartOffersALeftCopyYesRestoresItNoDeletesIt) {
    for (int answer : {IDYES, IDNO}) {
        WriteWholeFile(Path("doc.txt"), Mark + Units({'a', 0}));
        Open("doc.txt");
        TypeAndWait("\xE0");
        Crash();
        WriteWholeFile(InFolder("77.lock"), "");  // an editor's that left no copy
        StartAgain(answer);
        EXPECT_FALSE(std::filesystem::exists(InFolder("77.lock")));
        if (answer == IDNO) {
            EXPECT_TRUE(std::filesystem::is_empty(Folder()));
            EXPECT_EQ(Text(), "");
            continue;
        }
        EXPECT_EQ(Text(),
                  "\xE0"
                  "a");
        EXPECT_TRUE(IsDocumentChanged());
        EXPECT_EQ(fake().windowText, "Nivrano (Recovered)");
        EXPECT_EQ(std::string(nv::Files.FileName), Path("doc.txt"));
        EXPECT_TRUE(MatchesFullRepaint("recovered"));
        EXPECT_EQ(Files(), OneCopy);  // kept until saved or dropped
        Command(IDM_FILE_SAVE_AGAIN);
        EXPECT_EQ(ReadWholeFile(Path("doc.txt")), Mark + Units({0x05D0, 'a', 0}));
        EXPECT_EQ(fake().windowText, "doc.txt");
        EXPECT_TRUE(Files().empty());
        Send(WM_CLOSE);
    }
}

TEST_F(RecoveryTest, NoCopyIsOfferedThatIsDamagedOrOwnedByARunningEditor) {
    const std::string copy = Mark + Units({'a', 0});
    const struct {
        const char* damage;
        std::string file, bytes;
    } cases[] = {
        {"cut short", "4242-a.txt", copy.substr(0, 4)},
        {"a changed byte", "4242-a.txt", Mark + Units({'b', 0})},
        {"another header", "4242.ini", "Notepad\r\n"},
        {"a header without its size", "4242.ini",
         "Nivrano recovery copy\r\ncopy=4242-a.txt\r\nsum=0\r\nsource=\r\n"},
        {"a header naming another file", "4242.ini",
         "Nivrano recovery copy\r\ncopy=..\\x.txt\r\nsize=6\r\nsum=0\r\nsource=\r\n"},
        {"owned", "", ""},
    };
    for (const auto& c : cases) {
        Crash();  // the editor of the case before
        std::filesystem::remove_all(Folder());
        fake().processId = 4242;
        CreateWindow();
        TypeAndWait("a");
        Crash();
        HANDLE running = INVALID_HANDLE_VALUE;
        if (c.file.empty()) {
            running =
                CreateFileA((Folder() + "/4242.lock").c_str(), GENERIC_WRITE, 0, OPEN_EXISTING, 0);
            ASSERT_NE(running, INVALID_HANDLE_VALUE);
        } else {
            WriteWholeFile(InFolder(c.file), c.bytes);
        }
        const std::string header = ReadWholeFile(InFolder("4242.ini"));
        StartAgain(0);
        EXPECT_EQ(Files(), OneCopy) << c.damage;  // left where it is
        EXPECT_EQ(ReadWholeFile(InFolder("4242.ini")), header) << c.damage;
        EXPECT_EQ(Text(), "") << c.damage;
        if (running != INVALID_HANDLE_VALUE) CloseHandle(running);
    }
    // A later editor under the same process id writes beside the left copy, never over it.
    Crash();
    fake().processId = 4242;
    CreateWindow();
    TypeAndWait("b");
    EXPECT_EQ(Files(),
              (std::vector<std::string>{"4242-1-a.txt", "4242-1.ini", "4242-a.txt", "4242.ini"}));
}

TEST_F(RecoveryTest, AFailedWriteIsSilentKeepsTheLastCopyAndIsTriedAgain) {
    TypeAndWait("a");
    for (const char* call : {"WriteFile", "MoveFileExA"}) {
        fake().FailCall(call);
        TypeAndWait("b");
        EXPECT_TRUE(fake().messageBoxes().empty()) << call;
        EXPECT_EQ(Files(), OneCopy) << call;
        EXPECT_EQ(ReadWholeFile(InFolder("4242-a.txt")), Mark + Units({'a', 0})) << call;
        KeyDown(VK_BACK);  // back to "a", and the next change writes again
    }
    TypeAndWait("c");
    EXPECT_EQ(Files(), (std::vector<std::string>{"4242-b.txt", "4242.ini"}));
}

}  // namespace
}  // namespace nv::test
