// The line layout done the slow, literal way: every width test copies the line so far,
// reversed, into DrawnLineBytes and measures it with MeasureRun, one width query per
// byte. Tests and benchmarks compare the editor's layout with it.
#pragma once

#include <cstdint>
#include <vector>

#include "document/store.h"

namespace nv::test {

struct ReferenceLayout {
    std::vector<LineRecord> Lines;
    bool LineTableFilled = false;  // stopped at lineLimit lines
};

// Lays out TextBuffer as it stands with the document font on a screen device context of
// MainWindow. Changes only DrawnLineBytes.
ReferenceLayout LayOutLiterally(std::int32_t lineLimit = LineLimit);

}  // namespace nv::test
