#include "frontend/view_file.h"

namespace mv {

void ViewFile(const std::string& path, const ViewerLauncher& launch, MessageDisplay& messages) {
  if (!launch(path)) {
    messages.ShowMessage("No program could be started to show the file '" + path + "'.");
  }
}

}  // namespace mv
