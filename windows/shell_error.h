#pragma once
// The message box a failed open shows: the shell's code in the caption, its meaning and
// the address in the text.
#include <string>
#include <string_view>

namespace vesp {

// "The specified file was not found. File:" and the other texts of the shell's codes.
std::string_view ShellErrorText(int code);
// "Shell Execute Error:2".
std::string ShellErrorCaption(int code);
// "(2) The specified file was not found. File:" and, on the next line, the address.
std::string ShellErrorMessage(int code, std::string_view address);
// Shows the box (exclamation icon, OK) on the calling thread.
void ShowShellError(int code, std::string_view address);
// An address whose scheme is not opened at all (javascript:, data:): nothing reached the
// shell, so the box ("Shell Execute Error:") gives the reason instead of a code.
std::string RefusedAddressMessage(std::string_view address);
void ShowRefusedAddress(std::string_view address);

}  // namespace vesp
