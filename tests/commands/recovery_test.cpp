// The recovery copy: written after the timer with the bytes Save would write, gone once the
// document no longer counts as changed, offered at the next start after a crash with the
// name of its file, never offered when damaged or owned by a running editor, and told of
// once when it cannot be written.
#include "commands/recovery.h"

#include <gtest/gtest.h>

#include <chrono>
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
        fake().PassTime(RecoveryDelay);
    }
    // The editor dies: its lock goes with the process, its files stay.
    void Crash() { CloseRecoveryLock(); }
    // The next editor, started past the agreement, answering the offer (0: none expected)
    // that names `file`.
    void StartAgain(int answer, const std::string& file = "a new document",
                    DWORD processId = 5151) {
        fake().processId = processId;
        fake().windowText = "Nivrano";
        CreateWindow();
        if (answer != 0) fake().AnswerNextMessageBox(answer);
        FinishStartUp();
        if (answer == 0) {
            EXPECT_TRUE(fake().messageBoxes().empty());
            return;
        }
        ExpectBox("Nivrano ended before these changes to " + file +
                      " were saved.\nDo you wish to recover them?",
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

// After Yes, Ctrl+S writes the file the text came from only while that file holds what it
// held when the copy's document last matched it; otherwise (or when the header does not
// say) it asks with the Save dialog.
TEST_F(RecoveryTest, TheNextStartOffersALeftCopyNamingItsFileYesRestoresItNoDeletesIt) {
    const struct {
        int answer;
        std::string source;
    } cases[] = {{IDNO, "as it was"},
                 {IDYES, "as it was"},
                 {IDYES, "changed"},
                 {IDYES, "gone"},
                 {IDYES, "unknown to an earlier editor's header"}};
    for (const auto& c : cases) {
        Crash();
        std::filesystem::remove_all(Folder());
        fake().processId = 4242;
        CreateWindow();
        WriteWholeFile(Path("doc.txt"), Mark + Units({'a'}));  // no terminator: Open adds it
        Open("doc.txt");
        TypeAndWait("\xE0");
        Crash();
        WriteWholeFile(InFolder("77.lock"), "");  // an editor's that left no copy
        if (c.source[0] == 'u') {
            const std::string header = ReadWholeFile(InFolder("4242.ini"));
            WriteWholeFile(InFolder("4242.ini"), header.substr(0, header.find("sourcesize=")));
        }
        StartAgain(c.answer, Path("doc.txt"));
        EXPECT_FALSE(std::filesystem::exists(InFolder("77.lock")));
        if (c.answer == IDNO) {
            EXPECT_TRUE(std::filesystem::is_empty(Folder()));
            EXPECT_EQ(Text(), "");
            continue;
        }
        EXPECT_EQ(Text(),
                  "\xE0"
                  "a");
        EXPECT_TRUE(IsDocumentChanged());
        EXPECT_EQ(fake().windowText, "doc.txt (Recovered)");
        EXPECT_TRUE(MatchesFullRepaint("recovered"));
        EXPECT_EQ(Files(), OneCopy);  // kept until saved or dropped
        if (c.source == "changed") WriteWholeFile(Path("doc.txt"), Mark + Units({'b'}));
        if (c.source == "gone") std::filesystem::remove(Path("doc.txt"));
        const std::string before = ReadWholeFile(Path("doc.txt"));
        const std::size_t dialogs = fake().fileDialogs.size();
        if (c.source != "as it was") fake().CancelNextFileDialog();
        Command(IDM_FILE_SAVE_AGAIN);
        if (c.source != "as it was") {
            ASSERT_EQ(fake().fileDialogs.size(), dialogs + 1) << c.source;
            EXPECT_TRUE(fake().fileDialogs.back().save) << c.source;
            EXPECT_EQ(fake().fileDialogs.back().startName, Path("doc.txt")) << c.source;
            EXPECT_EQ(ReadWholeFile(Path("doc.txt")), before) << c.source;
            EXPECT_EQ(Files(), OneCopy) << c.source;
            continue;
        }
        EXPECT_EQ(fake().fileDialogs.size(), dialogs);
        EXPECT_EQ(ReadWholeFile(Path("doc.txt")), Mark + Units({0x05D0, 'a', 0}));
        EXPECT_EQ(fake().windowText, "doc.txt");
        EXPECT_TRUE(Files().empty());
    }
}

TEST_F(RecoveryTest, NoCopyIsOfferedThatIsDamagedOrOwnedByARunningEditor) {
    const std::string copy = Mark + Units({'a', 0});
    // A header may name only a file Save Again could be let write: a full path, as is.
    const struct {
        const char* damage;
        std::string file, bytes, source;
    } cases[] = {
        {"a relative source", "4242.ini", "", "doc.txt"},
        {"a source with ..", "4242.ini", "", Folder() + "/../doc.txt"},
        {"a device as source", "4242.ini", "", "\\\\.\\PhysicalDrive0"},
        {"cut short", "4242-a.txt", copy.substr(0, 4), ""},
        {"a changed byte", "4242-a.txt", Mark + Units({'b', 0}), ""},
        {"another header", "4242.ini", "Notepad\r\n", ""},
        {"a header without its size", "4242.ini",
         "Nivrano recovery copy\r\ncopy=4242-a.txt\r\nsum=0\r\nsource=\r\n", ""},
        {"a header naming another file", "4242.ini",
         "Nivrano recovery copy\r\ncopy=..\\x.txt\r\nsize=6\r\nsum=0\r\nsource=\r\n", ""},
        {"owned", "", "", ""},
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
        } else if (!c.source.empty()) {
            std::string header = ReadWholeFile(InFolder(c.file));
            header.replace(header.find("source=\r\n"), 9, "source=" + c.source + "\r\n");
            WriteWholeFile(InFolder(c.file), header);
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

// Every header there is looked at, newest first, and a damaged one gets no lock; what is
// older than 30 days goes unless a running editor holds it or it is a whole copy.
TEST_F(RecoveryTest, NoNumberOfDamagedHeadersHidesACopyAndOldLeftoversGo) {
    TypeAndWait("a");
    Crash();
    const auto longAgo =
        std::filesystem::file_time_type::clock::now() - std::chrono::hours(31 * 24);
    for (const char* name : {"77.ini", "77-a.txt", "78.new", "79.lock", "79-b.txt"}) {
        WriteWholeFile(InFolder(name), "Nivrano recovery copy\r\n");
    }
    for (const char* name : {"4242.ini", "4242-a.txt", "4242.lock", "77.ini", "77-a.txt", "78.new",
                             "79.lock", "79-b.txt"}) {
        std::filesystem::last_write_time(InFolder(name), longAgo);
    }
    std::vector<std::string> left;
    for (int k = 1000; k < 1100; ++k) {
        left.push_back(std::to_string(k) + ".ini");
        WriteWholeFile(InFolder(left.back()), "Nivrano recovery copy\r\n");
    }
    left.insert(left.end(), {"79-b.txt", "79.lock"});
    HANDLE running = CreateFileA(InFolder("79.lock").c_str(), GENERIC_WRITE, 0, OPEN_EXISTING, 0);
    StartAgain(IDNO);
    CloseHandle(running);
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(Folder())) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, left);
}

// A full folder fails the copy's write or the header's move; a missing variable, the folder.
TEST_F(RecoveryTest, ACopyThatCannotBeWrittenIsToldOnceARunAndLeavesNoStaleCopy) {
    const std::string appData = fake().AppDataFolder();
    const struct {
        const char* failure;
        std::string folder;
    } cases[] = {{"WriteFile", appData}, {"MoveFileExA", appData}, {"", "%LOCALAPPDATA%"}};
    for (const auto& c : cases) {
        Crash();
        std::filesystem::remove_all(Folder());
        CreateWindow();
        const std::string failure = c.failure;
        if (failure.empty()) fake().environment.erase("LOCALAPPDATA");
        if (!failure.empty()) TypeAndWait("a");
        for (int round = 0; round < 2; ++round) {
            if (!failure.empty()) fake().FailCall(failure);
            TypeAndWait("b");
            if (round == 0) {
                ExpectBox("Nivrano can not keep a recovery copy of your changes in " + c.folder +
                              "\\Nivrano\\Recovery.\nIf Nivrano ends unexpectedly, changes since "
                              "the last save will be lost.",
                          "Recovery Copy");
            }
            EXPECT_TRUE(fake().messageBoxes().empty()) << failure << " once a run";
            EXPECT_TRUE(Files().empty()) << failure << ": a stale copy is left";
        }
        fake().environment["LOCALAPPDATA"] = appData;
        TypeAndWait("c");  // the next change writes again
        EXPECT_EQ(Files().size(), 2u) << failure;
    }
}

// One change every 1.5 s: a timer put off by each change would never write.
TEST_F(RecoveryTest, SteadyTypingIsCopiedWithinTheDelayOfEachChange) {
    for (std::size_t k = 1; k <= 8; ++k) {
        Char('a');
        fake().PassTime(1500);  // now k × 1.5 s; typed at 0, 1.5 s ... (k - 1) × 1.5 s
        const std::string copy =
            ReadWholeFile(InFolder("4242-a.txt")) + ReadWholeFile(InFolder("4242-b.txt"));
        EXPECT_GE(copy.size(), k == 1 ? 0 : 2 * (k - 1) + 4) << "after " << k << " changes";
    }
}

}  // namespace
}  // namespace nv::test
