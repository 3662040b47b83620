// Open, Save and New of UTF-16 files: the format byte for byte, every refusal and every
// failing call with its message, the safe save, and the save prompt before each command
// that drops the document.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <map>

#include "app/startup.h"
#include "tests/commands/command_support.h"

namespace nv::test {
namespace {

using FileTest = CommandTest;

TEST_F(FileTest, EveryByteSurvivesASaveAndAReopen) {
    std::string text;
    for (int b = 1; b < 256; ++b) text += static_cast<char>(b);
    text = "\r\n" + text;  // the first line end tells the style: a lone LF stays one
    SetText(text);
    SaveAs("round");                                     // the dialog adds ".txt"
    EXPECT_EQ(fake().fileDialogs.back().startType, 1u);  // "Unicode Text Files"
    const std::string file = ReadWholeFile(Path("round.txt"));
    ASSERT_EQ(file.size(), 2u + 2 * 258);
    EXPECT_EQ(file.substr(0, 6), Mark + Units({13, 10}));
    auto unitOf = [&](int b) { return file.substr(2 * b + 4, 2); };  // byte b stands at b + 1
    EXPECT_EQ(unitOf(0x41), Units({0x41}));
    EXPECT_EQ(unitOf(0xBF), Units({0xBF}));
    EXPECT_EQ(unitOf(0xC0), Units({0x05B0}));
    EXPECT_EQ(unitOf(0xFF), Units({0x05EF}));
    EXPECT_EQ(file.substr(516), Units({0}));
    EXPECT_EQ(fake().windowText, "round.txt");
    EXPECT_FALSE(IsDocumentChanged());

    Command(IDM_FILE_NEW);  // unchanged: no question
    EXPECT_EQ(fake().windowText, "Nivrano");
    Open("round.txt");
    EXPECT_TRUE(fake().messageBoxes().empty());
    EXPECT_EQ(Text(), text);
    EXPECT_FALSE(IsDocumentChanged());
    EXPECT_EQ(fake().windowText, "round.txt");
    EXPECT_TRUE(MatchesFullRepaint("after Open"));
}

TEST_F(FileTest, SavedBytesOfTheWorkedExamples) {
    const struct {
        std::string text, file;
    } cases[] = {
        {"", Mark + Units({0})},
        {"abc", Mark + Units({'a', 'b', 'c', 0})},
        {"\xE0\xFA\xA4\r\n", Mark + Units({0x05D0, 0x05EA, 0xA4, 13, 10, 0})},
    };
    for (const auto& c : cases) {
        SetText(c.text);
        EXPECT_EQ(SaveAs("out.txt"), c.file) << c.text;
        EXPECT_EQ(fake().FolderEntries(), std::vector<std::string>{"out.txt"});
    }
}

std::string Replaced(int count) {
    return std::to_string(count) +
           " characters of this file have no place in a Hebrew document and were replaced by "
           "\u25A1.\nSaving over the file would lose them.";
}

// Each format and line-end style: the document it opens as, the characters it replaced, and
// what Save Again writes back (the file itself when `back` is empty).
TEST_F(FileTest, ATableOfFilesOpenedAndSavedBack) {
    const char d = 31;  // the fake font's default character
    const std::string Be = Bytes({0xFE, 0xFF}), Bom = Bytes({0xEF, 0xBB, 0xBF});
    const std::string cp1255 = "\x91\x97\xA4\xAA\xD7\xD8\xFD\xFE\x80\x85\xBA";
    const std::string drawn = "‘—₪×׳״\u200E\u200F€…÷";  // the same characters in UTF-8
    const struct {
        std::string file, text;
        FileFormat format;
        int replaced;
        std::string back;
    } cases[] = {
        // UTF-16 little-endian, unit for unit; the final U+0000 is added when missing.
        {Mark, "", FileFormat::Utf16LittleEndian, 0, Mark + Units({0})},
        {Mark + Units({0}), "", FileFormat::Utf16LittleEndian, 0, ""},
        {Mark + Units({0x05D0, 'a'}),
         "\xE0"
         "a",
         FileFormat::Utf16LittleEndian, 0, Mark + Units({0x05D0, 'a', 0})},
        {Mark + Units({'a', 13, 10, 'b', 10, 0}), "a\r\nb\n", FileFormat::Utf16LittleEndian, 0, ""},
        {Mark + Units({'a', 10, 'b', 10, 0}), "a\r\nb\r\n", FileFormat::Utf16LittleEndian, 0, ""},
        // The code page's characters come in as their bytes; saved in the files' own mapping.
        {Mark + Units({0x2014, 0x05F4, 0x200F, 0x00E9, 0xFB1D, 0xD800, 0x05AF, 0}),
         std::string("\x97\xD8\xFE") + d + d + d + d, FileFormat::Utf16LittleEndian, 4,
         Mark + Units({0x97, 0x05C8, 0x05EE, d, d, d, d, 0})},
        // Big-endian: the same checks, and no final U+0000 written.
        {Be + Bytes({0x05, 0xD0, 0, 'a', 0, 10}),
         "\xE0"
         "a\r\n",
         FileFormat::Utf16BigEndian, 0, ""},
        {Be + Bytes({0, 'a', 0, 0}), "a", FileFormat::Utf16BigEndian, 0, Be + Bytes({0, 'a'})},
        // UTF-8 without its mark, in each line-end style.
        {"", "", FileFormat::Utf8, 0, ""},
        {"שלום\nabc\n", "\xF9\xEC\xE5\xED\r\nabc\r\n", FileFormat::Utf8, 0, ""},
        {"a\r\nb\r\nc", "a\r\nb\r\nc", FileFormat::Utf8, 0, ""},
        {"a\nb\r\nc\n", "a\r\nb\r\nc\r\n", FileFormat::Utf8, 0, "a\nb\nc\n"},
        {"a\r\nb\nc", "a\r\nb\nc", FileFormat::Utf8, 0, ""},
        {drawn, cp1255, FileFormat::Utf8, 0, ""},
        {"ab" + Bytes({0}) + "cd", "ab", FileFormat::Utf8, 0, "ab"},  // a NUL ends the text
        {"é😀", std::string(3, d), FileFormat::Utf8, 3, "\x1F\x1F\x1F"},
        // With its mark: a sequence that is not UTF-8 is one character replaced.
        {Bom + "א" + drawn + "\n", "\xE0" + cp1255 + "\r\n", FileFormat::Utf8WithMark, 0, ""},
        {Bom + "a" + Bytes({0xFF}), std::string("a") + d, FileFormat::Utf8WithMark, 1,
         Bom + "a\x1F"},
        // Anything else is Windows-1255, byte for byte: overlong forms and surrogates too.
        {cp1255 + "\n\xF9\n", cp1255 + "\r\n\xF9\r\n", FileFormat::Windows1255, 0, ""},
        {Bytes({0xC0, 0x80, 0xED, 0xA0, 0x80, 0x81, 0xFF}),
         Bytes({0xC0, 0x80, 0xED, 0xA0, 0x80, 0x81, 0xFF}), FileFormat::Windows1255, 0, ""},
        {"\xE0\r\n" + Bytes({0}) + "\xE1", "\xE0\r\n", FileFormat::Windows1255, 0, "\xE0\r\n"},
    };
    for (const auto& c : cases) {
        const std::string what = FileFormatName(c.format) + (" " + c.file);
        SetSavedText("old");
        OpenBytes(c.file);
        if (c.replaced > 0) {
            ExpectBox(Replaced(c.replaced), "Characters Replaced");
        } else {
            EXPECT_TRUE(fake().messageBoxes().empty()) << what;
        }
        EXPECT_EQ(Text(), c.text) << what;
        EXPECT_EQ(Files.Format, c.format) << what;
        EXPECT_FALSE(IsDocumentChanged()) << what;
        EXPECT_TRUE(StoreInvariantsHold()) << what;
        if (c.replaced > 0) fake().AnswerNextMessageBox(IDYES);  // the question before the save
        Command(IDM_FILE_SAVE_AGAIN);
        fake().ClearMessageBoxes();
        EXPECT_EQ(ReadWholeFile(Path("in.txt")), c.back.empty() ? c.file : c.back) << what;
    }
}

// Saving over a file whose characters were replaced asks first; saving elsewhere does not.
TEST_F(FileTest, TheQuestionBeforeSavingOverReplacedCharacters) {
    const std::string file = "é" + std::string("\xD7\x90");  // é א
    const std::string question =
        "Saving will replace 1 characters of in.txt for good.\nDo you wish to save anyway?";
    // A recovered text that goes back to the file takes its format and its question.
    WriteWholeFile(Path("in.txt"), file);
    TakeFormatOfFile(Path("in.txt").c_str());
    EXPECT_EQ(Files.Format, FileFormat::Utf8);
    EXPECT_EQ(Files.ReplacedCount, 1);
    Open("in.txt");
    ExpectBox(Replaced(1), "Characters Replaced");
    Char('b');
    fake().AnswerNextMessageBox(IDNO);
    Command(IDM_FILE_SAVE_AGAIN);
    ExpectBox(question, "Save Current File?", MB_ICONQUESTION | MB_YESNO | MB_DEFBUTTON2);
    EXPECT_EQ(ReadWholeFile(Path("in.txt")), file);  // No saves nothing
    EXPECT_TRUE(IsDocumentChanged());
    // Save onto the same file asks as well; another file is written without a word.
    fake().AnswerNextMessageBox(IDNO);
    SaveAs("IN.TXT");  // the same file, named in capitals
    EXPECT_EQ(ReadWholeFile(Path("in.txt")), file);
    ExpectBox(question, "Save Current File?", MB_ICONQUESTION | MB_YESNO | MB_DEFBUTTON2);
    EXPECT_EQ(SaveAs("other.txt"), "b\x1F\xD7\x90");
    EXPECT_TRUE(fake().messageBoxes().empty());
    EXPECT_FALSE(IsDocumentChanged());
    Open("in.txt");
    ExpectBox(Replaced(1), "Characters Replaced");
    fake().AnswerNextMessageBox(IDYES);
    Command(IDM_FILE_SAVE_AGAIN);
    ExpectBox(question, "Save Current File?", MB_ICONQUESTION | MB_YESNO | MB_DEFBUTTON2);
    EXPECT_EQ(ReadWholeFile(Path("in.txt")), "\x1F\xD7\x90");
    // The file holds the replacements now: nothing more to ask.
    Command(IDM_FILE_SAVE_AGAIN);
    EXPECT_TRUE(fake().messageBoxes().empty());
}

// The Save dialog starts at the document's type; the type chosen is the format written.
TEST_F(FileTest, TheSaveDialogsTypeChoosesTheFormat) {
    OpenBytes("\xEF\xBB\xBF\xD7\x90\n");  // UTF-8 with its mark, LF line ends
    const struct {
        DWORD type, startType;
        std::string file;
        FileFormat format;
    } cases[] = {
        {4, 2, "\xEF\xBB\xBF\xD7\x90\n", FileFormat::Utf8WithMark},  // All Files keeps it
        {2, 2, "\xEF\xBB\xBF\xD7\x90\n", FileFormat::Utf8WithMark},
        {3, 2, "\xE0\n", FileFormat::Windows1255},
        {2, 3, "\xD7\x90\n", FileFormat::Utf8},
        {1, 2, Mark + Units({0x05D0, 10, 0}), FileFormat::Utf16LittleEndian},
    };
    for (const auto& c : cases) {
        fake().nextFileType = c.type;
        EXPECT_EQ(SaveAs("out.txt"), c.file) << c.type;
        EXPECT_EQ(fake().fileDialogs.back().startType, c.startType) << c.type;
        EXPECT_EQ(Files.Format, c.format) << c.type;
        // The status bar's last part tells the format, with the line ends kept.
        EXPECT_EQ(fake().statusText(3), FileFormatName(c.format) + std::string(", Unix (LF)"));
    }
    EXPECT_STREQ(FileFormatName(Files.Format), "UTF-16 LE");
    // A failed conversion is a failed save: the file and the format stay.
    fake().nextFileType = 2;
    fake().FailCall("WideCharToMultiByte");
    EXPECT_EQ(SaveAs("out.txt"), Mark + Units({0x05D0, 10, 0}));
    ExpectBox("Can not write to the selected file", "Can Not Save File");
    EXPECT_EQ(Files.Format, FileFormat::Utf16LittleEndian);
}

// 32,767 Hebrew letters: the most a file holds before its terminator.
std::string LargestUnits() {
    std::string units;
    for (int k = 0; k < 32767; ++k) units += Units({0x05D0 + k % 27});
    return units;
}
std::string LargestUtf8(int letters) {
    std::string text;
    for (int k = 0; k < letters; ++k) text += "א";
    return text;
}

TEST_F(FileTest, TheLargestFileOpens) {
    // 65,538 bytes ending in U+0000; 32,767 letters of UTF-8, and of Windows-1255 with a NUL.
    for (const std::string& file : {Mark + LargestUnits() + Units({0}), LargestUtf8(32767),
                                    std::string(32767, '\xE0') + '\0'}) {
        OpenBytes(file);
        EXPECT_TRUE(fake().messageBoxes().empty());
        EXPECT_EQ(Doc.TextLength, 32768);
        EXPECT_TRUE(StoreInvariantsHold());
    }
}

TEST_F(FileTest, ARefusedOrFailedOpenIsReportedAndChangesNothing) {
    const std::string large = Mark + LargestUnits();
    const std::string good = Mark + Units({'n', 'e', 'w', 0});
    const char* NotUnicode = "The selected file is not a Unicode text file";
    const char* TooLarge = "The selected file is too large to open";
    const char* NoRead = "Can not read the selected file";
    const struct {
        std::string file;
        const char* call;  // the failing call, if any
        int after;
        const char* message;
    } cases[] = {
        {Mark + "a", nullptr, 0, NotUnicode},  // odd size
        {Bytes({0xFE, 0xFF, 0}), nullptr, 0, NotUnicode},
        {large + Units({'a'}), nullptr, 0, TooLarge},   // 65,538 bytes without the terminator
        {large + Units({0, 0}), nullptr, 0, TooLarge},  // 65,540 bytes
        {LargestUtf8(32768), nullptr, 0, TooLarge},
        {std::string(32768, '\xE0'), nullptr, 0, TooLarge},
        {std::string(32766, 'a') + "\n", nullptr, 0, TooLarge},  // too large once LF is CR LF
        {std::string(LargestUtf8FileSize + 1, 'a'), nullptr, 0, TooLarge},
        {"ab", "MultiByteToWideChar", 1, NoRead},  // the text's conversion, once found UTF-8
        {good, "CreateFileA", 0, "Can not obtain a file handle to the selected file"},
        {good, "GetFileSize", 0, "Can not obtain the size of the selected file"},
        {good, "ReadFile", 0, NoRead},
        {good, "ReadFile short", 0, NoRead},
    };
    SetSavedText("kept");
    Select(1, 3, 3);
    fake().windowText = "previous.txt";
    const State before = Snapshot();
    for (const auto& c : cases) {
        if (c.call != nullptr) fake().FailCall(c.call, c.after);
        OpenBytes(c.file, "bad.txt");
        ExpectBox(c.message, "Can Not Open File");
        EXPECT_TRUE(Snapshot() == before) << c.message << " " << c.file.size();
    }
    // The next dialog starts with the name that failed.
    fake().CancelNextFileDialog();
    Command(IDM_FILE_SAVE);
    EXPECT_EQ(fake().fileDialogs.back().startName, Path("bad.txt"));
}

// Save holds the target's old bytes in memory and secures both texts in the editor's folder
// when it can, then writes the target in place.
class SaveTest : public CommandTest {
protected:
    const std::string old = Mark + Units({'o', 'l', 'd', 0});
    const std::string fresh = Mark + Units({'n', 'e', 'w', ' ', 't', 'e', 'x', 't', 0});
    const std::string others = "another program's bytes";
    enum Target { Exists, Missing, MadeMeanwhile };
    enum SavingState { Usable, Unusable };

    std::string Saving() { return fake().AppDataFolder() + "/Nivrano/Saving"; }
    // The secured files left there, by the end of their names ("new.txt", "old.txt",
    // "target.txt"), with their paths.
    std::map<std::string, std::string> Secured() {
        std::map<std::string, std::string> files;
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(Saving(), error)) {
            const std::string name = entry.path().filename().string();
            files[name.substr(name.find(' ') + 1)] = entry.path().string();
        }
        return files;
    }
    void Start(Target target, SavingState saving = Usable) {
        fake().beforeCreateFile = nullptr;
        std::filesystem::remove(Path("doc.txt"));
        std::filesystem::remove_all(Saving());
        std::filesystem::create_directories(fake().AppDataFolder() + "/Nivrano");
        // A file where the folder should be: no folder can be made there.
        if (saving == Unusable) WriteWholeFile(Saving(), "");
        if (target == Exists) WriteWholeFile(Path("doc.txt"), old);
        // Another program makes the file after the dialog, just before the save opens it.
        if (target == MadeMeanwhile) {
            fake().beforeCreateFile = [this](const std::string& path) {
                if (path == Path("doc.txt") && !std::filesystem::exists(path)) {
                    WriteWholeFile(path, others);
                }
            };
        }
        SetSavedText("old");
        SetText("new text");
        fake().windowText = "previous.txt";
    }
};

TEST_F(SaveTest, AFailureAtEachStepKeepsTheOldTextAndLeavesOnlyWhatItMust) {
    enum Outcome { Saved, Refused, NoMemory, Damaged };
    const struct {
        const char* call;  // "HeapAlloc": the heap's allocation
        int after;
        const char* call2;  // a second failing call, or nullptr
        int after2;
        Target target;
        SavingState saving;
        Outcome outcome;
    } cases[] = {
        // The Saving folder fails at one of its steps (the folder, then the target's name,
        // the new text and the old bytes, each made, written, flushed): the save goes on
        // without it.
        {"CreateDirectoryA", 1, nullptr, 0, Exists, Usable, Saved},
        {"CreateFileA", 0, nullptr, 0, Exists, Usable, Saved},
        {"WriteFile", 0, nullptr, 0, Exists, Usable, Saved},
        {"CreateFileA", 1, nullptr, 0, Exists, Usable, Saved},
        {"WriteFile", 1, nullptr, 0, Exists, Usable, Saved},
        {"WriteFile short", 1, nullptr, 0, Exists, Usable, Saved},
        {"FlushFileBuffers", 1, nullptr, 0, Exists, Usable, Saved},
        {"CreateFileA", 3, nullptr, 0, Exists, Usable, Saved},
        {"WriteFile", 2, nullptr, 0, Exists, Usable, Saved},
        {"FlushFileBuffers", 2, nullptr, 0, Exists, Usable, Saved},
        {"ReadFile short", 0, nullptr, 0, Exists, Usable, Saved},  // read on to the end
        // Opening the target and holding its old bytes: nothing is changed.
        {"CreateFileA", 2, nullptr, 0, Exists, Usable, Refused},
        {"CreateFileA", 2, nullptr, 0, Missing, Usable, Refused},
        {"CreateFileA", 0, nullptr, 0, Exists, Unusable, Refused},
        {"GetFileSize", 0, nullptr, 0, Exists, Usable, Refused},
        {"ReadFile", 0, nullptr, 0, Exists, Usable, Refused},
        {"HeapAlloc", 0, nullptr, 0, Exists, Usable, NoMemory},
        // The target itself: its old bytes go back from memory, with or without the
        // Saving folder.
        {"SetFilePointer", 0, nullptr, 0, Exists, Usable, Refused},
        {"WriteFile", 3, nullptr, 0, Exists, Usable, Refused},
        {"WriteFile short", 3, nullptr, 0, Exists, Usable, Refused},
        {"SetEndOfFile", 0, nullptr, 0, Exists, Usable, Refused},
        {"FlushFileBuffers", 3, nullptr, 0, Exists, Usable, Refused},
        {"SetFilePointer", 0, nullptr, 0, Exists, Unusable, Refused},
        {"WriteFile", 0, nullptr, 0, Exists, Unusable, Refused},
        {"WriteFile short", 0, nullptr, 0, Exists, Unusable, Refused},
        {"SetEndOfFile", 0, nullptr, 0, Exists, Unusable, Refused},
        {"FlushFileBuffers", 0, nullptr, 0, Exists, Unusable, Refused},
        // A file made by this save goes again; one another program made stays, whole.
        {"WriteFile", 2, nullptr, 0, Missing, Usable, Refused},
        {"SetEndOfFile", 0, nullptr, 0, Missing, Usable, Refused},
        {"WriteFile", 0, nullptr, 0, Missing, Unusable, Refused},
        {"WriteFile", 3, nullptr, 0, MadeMeanwhile, Usable, Refused},
        {"WriteFile", 0, nullptr, 0, MadeMeanwhile, Unusable, Refused},
        // The write-back fails too: the file is damaged, the secured texts stay, named.
        {"SetEndOfFile", 0, "WriteFile", 4, Exists, Usable, Damaged},
        {"FlushFileBuffers", 3, "SetEndOfFile", 1, Exists, Usable, Damaged},
        {"SetEndOfFile", 0, "WriteFile", 1, Exists, Unusable, Damaged},
        {"WriteFile", 2, "DeleteFileA", 0, Missing, Usable, Damaged},  // a new file stays
    };
    const std::string damaged =
        "Can not write to the selected file, and its old text could not be put back: the file "
        "is damaged.\nThe text is still here in Nivrano. Save it again, or save it to another "
        "file.";
    for (const auto& c : cases) {
        const std::string what = std::string(c.call) + " " + std::to_string(c.after) +
                                 (c.target == Missing         ? " (new file)"
                                  : c.target == MadeMeanwhile ? " (made meanwhile)"
                                                              : "") +
                                 (c.saving == Unusable ? " (no Saving folder)" : "");
        Start(c.target, c.saving);
        if (std::string(c.call) == "HeapAlloc") {
            fake().heapAllocationsBeforeFailure = c.after;
        } else {
            fake().FailCall(c.call, c.after);
        }
        if (c.call2 != nullptr) fake().FailCall(c.call2, c.after2);
        const std::string file = SaveAs("doc.txt");
        EXPECT_EQ(fake().pendingFailures(), 0) << what;
        const auto kept = Secured();
        const std::size_t secured = c.target == Missing ? 2 : 3;  // no old bytes to keep
        EXPECT_EQ(kept.size(), c.outcome == Damaged && c.saving == Usable ? secured : 0u) << what;
        EXPECT_EQ(fake().liveFileHandles(), 0) << what;
        EXPECT_EQ(fake().liveHeapBlocks(), 0) << what;
        if (c.outcome == Saved) {
            EXPECT_TRUE(fake().messageBoxes().empty()) << what;
            EXPECT_EQ(file, fresh) << what;
            EXPECT_FALSE(IsDocumentChanged()) << what;
            continue;
        }
        ASSERT_EQ(fake().messageBoxes().size(), 1u) << what;
        std::string message = fake().messageBoxes()[0].text;
        ExpectBox(message, "Can Not Save File");
        EXPECT_EQ(fake().FolderEntries(), c.target == Missing && c.outcome != Damaged
                                              ? std::vector<std::string>{}
                                              : std::vector<std::string>{"doc.txt"})
            << what;
        EXPECT_TRUE(IsDocumentChanged()) << what;
        EXPECT_EQ(fake().windowText, "previous.txt") << what;
        if (c.outcome != Damaged) {
            EXPECT_EQ(message, c.outcome == NoMemory ? "Can not allocate memory"
                                                     : "Can not write to the selected file")
                << what;
            EXPECT_EQ(file, c.target == Exists ? old : c.target == Missing ? "" : others) << what;
            continue;
        }
        std::replace(message.begin(), message.end(), '\\', '/');
        std::string expected = damaged;
        if (kept.count("old.txt")) {
            expected += "\nThe file's text before this save is kept in " + kept.at("old.txt");
            EXPECT_EQ(ReadWholeFile(kept.at("old.txt")), old) << what;
        }
        if (kept.count("new.txt")) {
            expected += "\nThe text being saved is kept in " + kept.at("new.txt");
            EXPECT_EQ(ReadWholeFile(kept.at("new.txt")), fresh) << what;
        }
        EXPECT_EQ(message, expected) << what;
    }
    // Without failures the same save writes the file.
    Start(Exists);
    EXPECT_EQ(SaveAs("doc.txt"), fresh);
    EXPECT_FALSE(IsDocumentChanged());
    EXPECT_TRUE(Secured().empty());
}

// The file written is the file that was there: the same file object, reached through a
// link, with its permissions and its other name.
TEST_F(SaveTest, TheFileStaysTheSameFile) {
    Start(Exists);
    ::chmod(Path("doc.txt").c_str(), 0600);
    std::filesystem::create_symlink(Path("doc.txt"), Path("link.txt"));
    std::filesystem::create_hard_link(Path("doc.txt"), Path("other.txt"));
    struct stat before {};
    ASSERT_EQ(::stat(Path("doc.txt").c_str(), &before), 0);
    SaveAs("link.txt");
    EXPECT_TRUE(std::filesystem::is_symlink(Path("link.txt")));
    struct stat after {};
    ASSERT_EQ(::stat(Path("doc.txt").c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_mode & 0777, 0600u);
    EXPECT_EQ(ReadWholeFile(Path("other.txt")), fresh);
    EXPECT_EQ(fake().FolderEntries(),
              (std::vector<std::string>{"doc.txt", "link.txt", "other.txt"}));
}

// At start, the saves cut short that no running editor holds: one whose file holds the
// whole new text is deleted without a word; the others are named with what their file holds
// now. Those of a save still under way in another editor, and files of other names, are not.
TEST_F(SaveTest, TheNextStartNamesTheFilesAnInterruptedSaveLeft) {
    FinishStartUp();
    EXPECT_TRUE(fake().messageBoxes().empty());
    std::filesystem::create_directories(Saving());
    const std::string broken = Mark + Units({'n', 'e', 'w'});
    // A save with its texts and the name of its file (a Windows path, as the editor has it).
    auto leave = [&](const std::string& stem, const std::string& target, bool withOld) {
        WriteWholeFile(Saving() + "/" + stem + " new.txt", fresh);
        if (withOld) WriteWholeFile(Saving() + "/" + stem + " old.txt", old);
        WriteWholeFile(Saving() + "/" + stem + " target.txt", fake().Folder() + "\\" + target);
    };
    WriteWholeFile(Path("done.txt"), fresh);
    leave("66-1", "done.txt", true);
    FinishStartUp();
    EXPECT_TRUE(fake().messageBoxes().empty());
    EXPECT_TRUE(Secured().empty());

    WriteWholeFile(Path("kept.txt"), old);
    WriteWholeFile(Path("torn.txt"), broken);
    WriteWholeFile(Path("made.txt"), broken);
    leave("66-2", "done.txt", true);
    leave("77-3", "kept.txt", true);
    leave("77-4", "torn.txt", true);
    leave("77-5", "made.txt", false);
    leave("77-6", "gone.txt", true);
    WriteWholeFile(Saving() + "/88-1 new.txt", old);
    WriteWholeFile(Saving() + "/notes.txt", old);
    HANDLE living =
        fake().CreateFileA((Saving() + "/88-1 new.txt").c_str(), GENERIC_READ | GENERIC_WRITE,
                           FILE_SHARE_DELETE, OPEN_EXISTING, 0);
    FinishStartUp();
    ASSERT_EQ(fake().messageBoxes().size(), 1u);
    const std::string text = fake().messageBoxes()[0].text;
    ExpectBox(text, "Interrupted Save");
    EXPECT_NE(text.find("\n" + fake().AppDataFolder() + "\\Nivrano\\Saving\n"), std::string::npos);
    auto says = [&](const std::string& stem, const std::string& target, const char* state) {
        EXPECT_NE(text.find("\n" + stem + " new.txt: the text that was being saved\n"),
                  std::string::npos)
            << text;
        EXPECT_NE(text.find("\nThe file saved, " + fake().Folder() + "\\" + target + ", " + state +
                            ".\n"),
                  std::string::npos)
            << text;
    };
    says("77-3", "kept.txt", "still holds its text from before that save");
    says("77-4", "torn.txt", "holds neither text whole");
    says("77-5", "made.txt", "does not hold the whole text");
    says("77-6", "gone.txt", "no longer exists");
    EXPECT_NE(text.find("\n77-3 old.txt: the file's text before that save\n"), std::string::npos)
        << text;
    for (const char* unnamed : {"66-", "77-5 old", "88-1", "notes"}) {
        EXPECT_EQ(text.find(unnamed), std::string::npos) << unnamed << " in " << text;
    }
    EXPECT_FALSE(std::filesystem::exists(Saving() + "/66-2 new.txt"));
    EXPECT_TRUE(std::filesystem::exists(Saving() + "/77-3 target.txt"));
    fake().CloseHandle(living);
}

// The save prompt before each command that would drop a changed document.
class SavePromptTest : public CommandTest {
protected:
    enum Action { New, OpenFile, Close, EndSession };

    LRESULT Run(Action action) {
        if (action == Close) return Send(WM_CLOSE);
        if (action == EndSession) return Send(WM_QUERYENDSESSION);
        Command(action == New ? IDM_FILE_NEW : IDM_FILE_OPEN);
        return 0;
    }
    void ExpectPrompt() {
        ExpectBox(
            "The current file has changed since the last save.\n"
            "Do you wish to save the current file?",
            "Save Current File?", MB_ICONQUESTION | MB_YESNOCANCEL);
    }
};

TEST_F(SavePromptTest, EachAnswerBeforeEachCommand) {
    WriteWholeFile(Path("in.txt"), Mark + Units({'x', 0}));
    // Close with No comes last: it ends the window.
    for (Action action : {New, OpenFile, EndSession, Close}) {
        for (int answer : {IDCANCEL, IDYES, IDNO}) {
            SetText("changed");
            fake().ClearMessageBoxes();
            fake().fileDialogs.clear();
            fake().AnswerNextMessageBox(answer);
            if (answer == IDYES) fake().CancelNextFileDialog();  // Yes, then a cancelled save
            if (answer == IDNO && action == OpenFile) fake().AnswerNextFileDialog(Path("in.txt"));
            const bool dropped = answer == IDNO;
            EXPECT_EQ(Run(action), dropped && action == EndSession ? 1 : 0) << action << answer;
            ExpectPrompt();
            EXPECT_EQ(Text(), !dropped || action == EndSession || action == Close ? "changed"
                              : action == New                                     ? ""
                                                                                  : "x");
            EXPECT_EQ(fake().windowDestroyed(), dropped && action == Close);
            if (dropped) continue;
            // Yes shows only the save dialog; Open's own dialog never comes.
            ASSERT_EQ(fake().fileDialogs.size(), answer == IDYES ? 1u : 0u);
            EXPECT_TRUE(answer == IDCANCEL || fake().fileDialogs[0].save);
        }
    }
}

TEST_F(SavePromptTest, TheSessionEndsAfterASuccessfulSaveOrWithAnUnchangedDocument) {
    fake().environment.erase("LOCALAPPDATA");  // no recovery copy: the save's are the only writes
    EXPECT_EQ(Run(EndSession), 1);
    EXPECT_TRUE(fake().messageBoxes().empty());
    SetText("changed");
    fake().AnswerNextMessageBox(IDOK);  // the copy that cannot be kept, told once
    fake().AnswerNextMessageBox(IDYES);
    fake().AnswerNextFileDialog(Path("kept.txt"));
    EXPECT_EQ(Run(EndSession), 1);
    EXPECT_EQ(ReadWholeFile(Path("kept.txt")),
              Mark + Units({'c', 'h', 'a', 'n', 'g', 'e', 'd', 0}));
    // A save that fails refuses the end of the session.
    SetText("again");
    fake().ClearMessageBoxes();
    fake().AnswerNextMessageBox(IDYES);
    fake().AnswerNextFileDialog(Path("kept.txt"));
    fake().FailCall("WriteFile");
    EXPECT_EQ(Run(EndSession), 0);
}

}  // namespace
}  // namespace nv::test
