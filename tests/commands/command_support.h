// Shared set-up for the file and clipboard commands: byte strings written briefly, files in
// the fake's own folder, and the checks that a refused command left everything as it was.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <string>
#include <tuple>

#include "commands/command_ids.h"
#include "commands/file_commands.h"
#include "tests/support/editor_fixture.h"

namespace nv::test {

using fake::ReadWholeFile;
using fake::WriteWholeFile;

// Bytes from a list of values.
inline std::string Bytes(std::initializer_list<int> values) {
    std::string bytes;
    for (int v : values) bytes += static_cast<char>(v);
    return bytes;
}

// Little-endian code units, as files (after their mark) and the clipboard hold them.
inline std::string Units(std::initializer_list<int> units) {
    std::string bytes;
    for (int u : units) {
        bytes += static_cast<char>(u & 0xFF);
        bytes += static_cast<char>(u >> 8);
    }
    return bytes;
}

const std::string Mark = Bytes({0xFF, 0xFE});

class CommandTest : public EditorTest {
protected:
    std::string Path(const std::string& name) { return fake().PathOf(name); }

    void Open(const std::string& name) {
        fake().AnswerNextFileDialog(Path(name));
        Command(IDM_FILE_OPEN);
    }
    void OpenBytes(const std::string& bytes, const std::string& name = "in.txt") {
        WriteWholeFile(Path(name), bytes);
        Open(name);
    }
    std::string SaveAs(const std::string& name) {
        fake().AnswerNextFileDialog(Path(name));
        Command(IDM_FILE_SAVE);
        return ReadWholeFile(Path(name));
    }

    // Makes the text count as saved, so that Open and New ask nothing.
    void MarkSaved() {
        std::memcpy(Doc.SavedText, Doc.TextBuffer, sizeof Doc.SavedText);
        Doc.SavedLength = Doc.TextLength;
    }
    void SetSavedText(const std::string& text) {
        SetText(text);
        MarkSaved();
    }

    // One message box, exactly this one, and no other; the log is cleared for the next.
    void ExpectBox(const std::string& text, const std::string& caption,
                   UINT type = MB_ICONWARNING) {
        ASSERT_EQ(fake().messageBoxes().size(), 1u) << text;
        const fake::MessageBoxRecord& box = fake().messageBoxes()[0];
        EXPECT_EQ(box.text, text);
        EXPECT_EQ(box.caption, caption);
        EXPECT_EQ(box.type, type);
        fake().ClearMessageBoxes();
    }

    // Text, saved length, caret, selection, view and title: what a refusal must keep.
    using State = std::tuple<std::string, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                             std::int32_t, std::int32_t, std::string>;
    State Snapshot() {
        return State{Text(),           Doc.SavedLength,     Doc.Caret,   Doc.SelectionStart,
                     Doc.SelectionEnd, Doc.SelectionActive, Doc.ViewTop, fake().windowText};
    }
};

}  // namespace nv::test
