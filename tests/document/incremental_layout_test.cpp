// The layout after an edit must give exactly the records of the whole-text layout: random
// edit sequences on random documents, with word wrap on and off, up to the text limit, with
// edits that join and split paragraphs, and with a line table small enough to fill.
#include <random>
#include <string>
#include <vector>

#include "document/layout.h"
#include "document/store.h"
#include "tests/support/editor_fixture.h"

namespace nv::test {
namespace {

struct Case {
    const char* name;
    bool wordWrap;
    int length;          // of the starting document
    int lineLimitSlack;  // lines the table holds beyond the start's; -1: the full table
};

class IncrementalLayoutTest : public EditorTest, public ::testing::WithParamInterface<Case> {
protected:
    std::mt19937 random_{7};
    AdvanceTable advances_;
    std::int32_t column_ = 0;

    int Uniform(int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random_);
    }

    // Letters of several widths, points of none, spaces, line breaks and lone CR or LF, and
    // now and then a word wider than the column; a code whose width query failed is 0x9F.
    std::string RandomBytes(int length) {
        std::string text;
        while (static_cast<int>(text.size()) < length) {
            const int kind = Uniform(0, 99);
            if (kind < 55) {
                text += static_cast<char>(Uniform(0xE0, 0xFA));
            } else if (kind < 62) {
                text += static_cast<char>(Uniform(0xC0, 0xC8));
            } else if (kind < 80) {
                text += ' ';
            } else if (kind < 90) {
                text += "\r\n";
            } else if (kind < 94) {
                text += Uniform(0, 1) ? '\r' : '\n';
            } else if (kind < 96) {
                text += std::string(static_cast<std::size_t>(Uniform(20, 60)), 'w');
            } else if (kind < 97) {
                text += '\x9F';
            } else {
                text += std::string(static_cast<std::size_t>(Uniform(2, 8)), ' ');
            }
        }
        text.resize(static_cast<std::size_t>(length));
        return text;
    }

    void SetUp() override {
        EditorTest::SetUp();
        for (int code = 0; code < 256; ++code) advances_.Advance[code] = 4 + code % 7;
        for (int code = 0xC0; code <= 0xC8; ++code) advances_.Advance[code] = 0;
        advances_.Advance['w'] = 9;
        advances_.Fails[0x9F] = true;
        advances_.Height = 18;
        column_ = 300;
        Doc.WordWrapChoice = GetParam().wordWrap ? 42001 : 42000;
    }

    std::int32_t Splice(std::int32_t p, std::int32_t removed, const std::string& bytes) {
        std::string text(reinterpret_cast<const char*>(Doc.TextBuffer),
                         static_cast<std::size_t>(Doc.TextLength));
        text.replace(static_cast<std::size_t>(p), static_cast<std::size_t>(removed), bytes);
        std::copy(text.begin(), text.end(), Doc.TextBuffer);
        Doc.TextLength = static_cast<std::int32_t>(text.size());
        return static_cast<std::int32_t>(bytes.size());
    }
};

TEST_P(IncrementalLayoutTest, EveryEditGivesTheWholeTextLayout) {
    const Case& c = GetParam();
    const std::string start = RandomBytes(c.length);
    std::copy(start.begin(), start.end(), Doc.TextBuffer);
    Doc.TextBuffer[start.size()] = 0;
    Doc.TextLength = static_cast<std::int32_t>(start.size()) + 1;
    ASSERT_TRUE(BreakIntoLines(advances_, column_, LineLimit));
    const std::int32_t limit = c.lineLimitSlack < 0 ? LineLimit : Doc.LineCount + c.lineLimitSlack;
    bool complete = BreakIntoLines(advances_, column_, limit);
    if (c.lineLimitSlack >= 0) {
        ASSERT_TRUE(complete);
    }

    for (int step = 0; step < 400; ++step) {
        // Mostly a character typed or deleted, else a span replaced; often at a line break,
        // where paragraphs join or split.
        std::int32_t p = Uniform(0, Doc.TextLength - 1);
        if (Uniform(0, 2) == 0) {
            for (std::int32_t q = p; q + 1 < Doc.TextLength; ++q) {
                if (Doc.TextBuffer[q] == CarriageReturn) {
                    p = q + Uniform(0, 1);
                    break;
                }
            }
        }
        const int kind = Uniform(0, 9);
        std::int32_t removed = kind < 4 ? 0 : kind < 7 ? 1 : Uniform(0, 300);
        removed = std::min(removed, Doc.TextLength - 1 - p);
        const int room = TextLimit - (Doc.TextLength - removed);
        std::string bytes = kind < 2   ? "\r\n"
                            : kind < 4 ? RandomBytes(1)
                                       : RandomBytes(Uniform(0, 200));
        if (static_cast<int>(bytes.size()) > room) bytes.resize(static_cast<std::size_t>(room));
        SCOPED_TRACE(::testing::Message() << "step " << step << ": at " << p << " removed "
                                          << removed << " inserted " << bytes.size());
        const std::int32_t inserted = Splice(p, removed, bytes);

        const std::size_t before = fake().messageBoxes().size();
        const bool incremental =
            BreakLinesAfterEdit(advances_, column_, limit, p, removed, inserted);
        const std::vector<LineRecord> after(Doc.LineTable, Doc.LineTable + Doc.LineCount);
        const std::size_t between = fake().messageBoxes().size();
        complete = BreakIntoLines(advances_, column_, limit);
        ASSERT_EQ(incremental, complete);
        ASSERT_EQ(static_cast<std::int32_t>(after.size()), Doc.LineCount);
        for (std::int32_t i = 0; i < Doc.LineCount; ++i) {
            const LineRecord& want = Doc.LineTable[i];
            ASSERT_TRUE(after[i].Start == want.Start && after[i].End == want.End &&
                        after[i].SpaceCount == want.SpaceCount && after[i].Width == want.Width &&
                        after[i].Height == want.Height)
                << "line " << i;
        }
        // The same "Can Not Add Line" warnings, when the table fills.
        ASSERT_EQ(between - before, fake().messageBoxes().size() - between);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Documents, IncrementalLayoutTest,
    ::testing::Values(Case{"wrapped", true, 6000, -1}, Case{"unwrapped", false, 6000, -1},
                      Case{"wrappedAtTheLimit", true, TextLimit - 40, -1},
                      Case{"unwrappedAtTheLimit", false, TextLimit - 40, -1},
                      Case{"wrappedNearlyEmpty", true, 30, -1}, Case{"tableFills", true, 3000, 2}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace nv::test
