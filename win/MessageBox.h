// Message boxes in Pelo's one style: modal to the active window of this
// thread, captioned with the application name (ApplicationName()), and the
// flags chosen by every caller.
#pragma once

#include <windows.h>

#include <string>

namespace win {

// Shows string `stringId` of the string table; returns the button chosen.
int ShowMessage(UINT stringId, UINT flags);

// Shows `text` as it is.
int ShowMessageText(const std::string& text, UINT flags);

}  // namespace win
