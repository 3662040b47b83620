// The caret movement keys of text mode and Escape. In Reversed order the text runs right to
// left, so moving forward in the text moves the caret leftward on the screen: Left is the
// forward arrow. In Bidirectional order Left and Right move the way they point and Home and
// End go to the line's visual ends (see visual_move.h). At the edges of the text a key does
// nothing at all: no repaint, no selection change.
#pragma once

namespace nv {

void CaretLeft();      // one character forward; a line break is stepped over whole
void CaretRight();     // one character back
void CaretUp();        // to the line above, at the nearest position at or right of the caret
void CaretDown();      // to the line below, at the nearest position at or left of the caret
void CaretHome();      // start of the display line; Ctrl: start of the text
void CaretEnd();       // end of the display line; Ctrl: end of the text
void CaretPageUp();    // a screenful up; Ctrl: start of the page
void CaretPageDown();  // a screenful down; Ctrl: start of the next page
void CancelSelection();

}  // namespace nv
