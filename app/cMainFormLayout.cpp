// The main window's caption.
#include "app/cMainFormLayout.h"

#include "app/cVersion.h"

std::string MainFormCaption() {
  return "Tarnwick Config Generator v" FB_VERSION_TEXT;
}
