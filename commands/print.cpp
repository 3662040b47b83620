#include "commands/print.h"

namespace nv {

void FilePrint() {}

}  // namespace nv
