// The layout as the editor runs it after every change: the text broken at the screen's
// 6-inch column, then the scroll range and ViewTop brought in line with the new lines.
#pragma once

#include <cstdint>

namespace nv {

// Rebuilds LineTable and LineCount from TextBuffer, sets the scroll range and clamps
// ViewTop. Shows "Can Not Add Line" once when the line table is full.
void LayoutDocument();

// The same layout with a line table of lineLimit records (at most LineLimit). The full
// table can never fill, since every line holds at least one byte; a smaller table lets
// the line limit be exercised.
void LayoutDocumentWithLineLimit(std::int32_t lineLimit);

// The same records after an edit at p that took out `removed` bytes and put in `inserted`,
// with only the lines the edit changed broken again.
void LayoutAfterEdit(std::int32_t p, std::int32_t removed, std::int32_t inserted);

}  // namespace nv
