// The program folder as the deliverables find it.
#include "program_folder.h"

namespace vexbane {

bool IsAbsoluteFolder(std::string_view folder) {
  const bool drive = folder.size() >= 2 && folder[1] == ':' && (folder.size() == 2 || folder[2] == '\\');
  const bool share = folder.size() >= 3 && folder[0] == '\\' && folder[1] == '\\';
  return drive || share;
}

}  // namespace vexbane
