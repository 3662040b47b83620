// Printing the document on a printer chosen in the print dialog.
#pragma once

namespace nv {

void FilePrint();

}  // namespace nv
