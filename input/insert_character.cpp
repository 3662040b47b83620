#include "input/insert_character.h"

#include "input/text_edit.h"

namespace nv {

void InsertCharacter(std::int32_t code) {
    // Control characters arrive through the key-down handler; codes past one byte are the
    // palette's crossed-out cells.
    if (code < 32 || code > 255) return;
    const std::uint8_t byte = static_cast<std::uint8_t>(code);
    ApplyTextEdit(SelectionOrCaret(), &byte, 1, "Can Not Add Character", EditKind::Typing);
}

}  // namespace nv
