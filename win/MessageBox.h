// Message boxes in Pelo's one style: modal to the active window of this
// thread, captioned with the application name (ApplicationName()), and the
// flags chosen by every caller.
#pragma once

#include <windows.h>

#include <exception>
#include <string>

namespace win {

// Shows string `stringId` of the string table; returns the button chosen.
int ShowMessage(UINT stringId, UINT flags);

// Shows `text` as it is.
int ShowMessageText(const std::string& text, UINT flags);
// The same for a text that may hold characters the ANSI code page lacks.
int ShowMessageText(const std::wstring& text, UINT flags);

// Tells the user about an exception nothing else handled, with the stop
// icon: a FileError with its file-error text, anything else with its cause.
// Throws nothing, so it may run inside a Win32 callback.
void ReportException(const std::exception_ptr& error) noexcept;

}  // namespace win
