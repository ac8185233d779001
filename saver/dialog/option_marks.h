#pragma once
// The pictures an option mark shows, selected and not: the dialog's own
// artwork, or the system's radio buttons in high contrast.
#include <memory>

#include "saver/pictures/picture_surface.h"

namespace ventalune::dialog {

struct OptionMarks {
  std::shared_ptr<const pictures::PictureSurface> on;
  std::shared_ptr<const pictures::PictureSurface> off;
};

}  // namespace ventalune::dialog
