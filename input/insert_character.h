// Inserting one typed or palette character at the caret.
#pragma once

#include <cstdint>

namespace nv {

void InsertCharacter(std::int32_t code);

}  // namespace nv
