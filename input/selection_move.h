// How a caret movement changes the selection. Without Shift a movement drops the selection;
// with Shift the end at which the caret stands moves with it and the other end stays put.
#pragma once

#include <cstdint>

namespace nv {

enum class MoveDirection { Forward, Backward };  // forward: further into the text

// Called after Caret has moved from oldCaret to newCaret; repaints what changed highlight.
void ApplySelectionMove(std::int32_t oldCaret, std::int32_t newCaret, MoveDirection direction,
                        bool shift);

}  // namespace nv
