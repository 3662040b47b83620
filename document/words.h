// Words, as Find's whole-word rule sees them, for moving, deleting, choosing and counting
// word by word. A word is what IsPartOfWord takes for one: a run of letters and digits with
// the points written after its letters, a geresh or gershayim (or ASCII ' ") between two
// Hebrew letters (צה״ל, צ׳יפס), and a geresh after a word's last Hebrew letter (צה׳).
// Every function works in typing order on the first `length` bytes of text.
#pragma once

#include <cstdint>

#include "document/text_search.h"

namespace nv {

// A line break (CR LF, or a lone CR or LF) is a stop of its own: the moves and deletes
// never carry past one together with a word.

// The start of the next word after pos: past the rest of the word at pos, then past the
// spaces and punctuation after it. Stops before a line break, and steps over one that
// stands at pos. `length` when there is nothing more.
std::int32_t NextWordStart(const std::uint8_t* text, std::int32_t length, std::int32_t pos);

// The start of the word before pos, the spaces and punctuation between included. Stops
// after a line break, and steps back over one that ends at pos. 0 at the start.
std::int32_t PreviousWordStart(const std::uint8_t* text, std::int32_t length, std::int32_t pos);

// What a double click at the character at pos chooses: the word with its points, the run of
// spaces and tabs, or the run of other characters that holds it. Empty on a line break and
// at the end.
TextMatch WordAround(const std::uint8_t* text, std::int32_t length, std::int32_t pos);

// The words that have a byte in from..to (to exclusive).
std::int32_t CountWords(const std::uint8_t* text, std::int32_t length, std::int32_t from,
                        std::int32_t to);

// The words of the document, kept up to date edit by edit: an edit recounts only the
// stretch between the spaces (or other bytes that are no part of a word, nor a point or a
// geresh) around it, since no word reaches across one.
std::int32_t DocumentWordCount();
// The text is another one (Open, New, a recovered copy): counted afresh when next asked.
void ForgetWordCount();
// Around an edit that replaces `removed` bytes at p: called before the bytes change, and
// after, with the bytes put in.
void CountWordsBeforeEdit(std::int32_t p, std::int32_t removed);
void CountWordsAfterEdit(std::int32_t inserted);

}  // namespace nv
