#include "input/insert_character.h"

namespace nv {

void InsertCharacter(std::int32_t) {}

}  // namespace nv
