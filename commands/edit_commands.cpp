#include "commands/edit_commands.h"

namespace nv {

void EditCut() {}
void EditCopy() {}
void EditPaste() {}
void EditDelete() {}
void EditSelectAll() {}

}  // namespace nv
