#pragma once
// The open-file chooser behind the dialog's "..." buttons, through the wide
// API so its title, filter and any path read correctly under every code
// page; the answer is turned into a path the settings file can hold.
#include <windows.h>

#include <optional>
#include <string>

#include "saver/dialog/dialog_texts.h"

namespace ventalune::dialog {

struct ChooserRequest {
  const DialogTexts& texts;  // the title, and the messages for a refused path
  const wchar_t* filterDescription;
  const wchar_t* pattern;
  std::string startFolder;  // system code page, as the settings hold it
};

// The chosen path in the system code page, or nothing for a cancel, a
// failure, or a path the settings file cannot hold (then not even its
// short form fits; the user is told why).
std::optional<std::string> ChooseFile(HWND owner, HINSTANCE instance, const ChooserRequest& request);

}  // namespace ventalune::dialog
