// What a key or a typed character may change, taken before and compared after, so that a
// test can say "this did nothing at all": no text, caret, selection or view change, and not
// one pixel invalidated, painted or scrolled.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "document/store.h"
#include "tests/support/fake_platform.h"

namespace nv::test {

struct InputSnapshot {
    std::string text;
    std::int32_t caret;
    std::int32_t selectionStart;
    std::int32_t selectionEnd;
    std::int32_t selectionActive;
    std::int32_t viewTop;
    std::size_t invalidatedRects;
    long paintCount;
    long scrollCount;
    std::vector<std::uint32_t> pixels;
};

inline InputSnapshot TakeSnapshot(const fake::FakePlatform& fake) {
    return InputSnapshot{
        std::string(reinterpret_cast<const char*>(Doc.TextBuffer),
                    static_cast<std::size_t>(Doc.TextLength)),
        Doc.Caret,
        Doc.SelectionStart,
        Doc.SelectionEnd,
        Doc.SelectionActive,
        Doc.ViewTop,
        fake.invalidatedRects.size(),
        fake.paintCount,
        fake.scrollCount,
        fake.pixels(),
    };
}

// The whole buffer after the text must be zero too: a splice that leaves stale bytes
// behind the terminator is a fault even when the text reads right.
inline bool TailIsClear() {
    for (std::int32_t at = Doc.TextLength; at < TextLimit; ++at) {
        if (Doc.TextBuffer[at] != 0) return false;
    }
    return true;
}

// The document records are as they were (the text byte for byte, terminator included).
inline ::testing::AssertionResult RecordsUnchanged(const InputSnapshot& before) {
    const std::string text(reinterpret_cast<const char*>(Doc.TextBuffer),
                           static_cast<std::size_t>(Doc.TextLength));
    const InputSnapshot now{text,
                            Doc.Caret,
                            Doc.SelectionStart,
                            Doc.SelectionEnd,
                            Doc.SelectionActive,
                            Doc.ViewTop,
                            0,
                            0,
                            0,
                            {}};
    if (now.text != before.text) return ::testing::AssertionFailure() << "text changed";
    if (now.caret != before.caret) {
        return ::testing::AssertionFailure() << "caret " << before.caret << " -> " << now.caret;
    }
    if (now.selectionActive != before.selectionActive ||
        (before.selectionActive && (now.selectionStart != before.selectionStart ||
                                    now.selectionEnd != before.selectionEnd))) {
        return ::testing::AssertionFailure()
               << "selection " << before.selectionStart << ".." << before.selectionEnd << " ("
               << before.selectionActive << ") -> " << now.selectionStart << ".."
               << now.selectionEnd << " (" << now.selectionActive << ")";
    }
    if (now.viewTop != before.viewTop) return ::testing::AssertionFailure() << "view scrolled";
    return ::testing::AssertionSuccess();
}

// Nothing at all happened: the records as above, and the screen untouched.
inline ::testing::AssertionResult NothingHappened(const fake::FakePlatform& fake,
                                                  const InputSnapshot& before) {
    ::testing::AssertionResult records = RecordsUnchanged(before);
    if (!records) return records;
    if (fake.invalidatedRects.size() != before.invalidatedRects) {
        return ::testing::AssertionFailure() << "something was invalidated";
    }
    if (fake.paintCount != before.paintCount) return ::testing::AssertionFailure() << "painted";
    if (fake.scrollCount != before.scrollCount) return ::testing::AssertionFailure() << "scrolled";
    if (fake.pixels() != before.pixels) return ::testing::AssertionFailure() << "pixels changed";
    return ::testing::AssertionSuccess();
}

}  // namespace nv::test
