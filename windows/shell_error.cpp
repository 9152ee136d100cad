#include "windows/shell_error.h"

#include <algorithm>
#include <array>
#include <utility>

#include "runtime/gui/look.h"
#include "runtime/gui/message_box.h"

namespace vesp {

namespace {

constexpr std::array<std::pair<int, std::string_view>, 13> kTexts = {{
    {0, "The Operating system is out of memory/resources. File:"},
    {2, "The specified file was not found. File:"},
    {3, "The specified path was not found. File:"},
    {4, "The .exe file is invalid (non-Win32\u00ae .exe or error in .exe image). File:"},
    {5, "The operating system denied access to the specified file. File:"},
    {8, "There was not enough memory to complete the operation. File:"},
    {26, "A sharing violation occurred. File:"},
    {27, "The file name association is incomplete or invalid. File:"},
    {28, "The DDE transaction could not be completed because the request timed out. File:"},
    {29, "The DDE transaction failed. File:"},
    {30, "The DDE transaction could not be completed because other DDE transactions were being processed. File:"},
    {31, "There is no application associated with the given file name extension. File:"},
    {32, "The specified dynamic-link library was not found. File:"},
}};

constexpr std::string_view kUnknownText = "Unknown ShellExecute Error occured. File:";

}  // namespace

std::string_view ShellErrorText(int code) {
  auto found = std::find_if(kTexts.begin(), kTexts.end(), [code](const auto& entry) { return entry.first == code; });
  return found == kTexts.end() ? kUnknownText : found->second;
}

std::string ShellErrorCaption(int code) { return "Shell Execute Error:" + std::to_string(code); }

std::string ShellErrorMessage(int code, std::string_view address) {
  return "(" + std::to_string(code) + ") " + std::string(ShellErrorText(code)) + "|" + std::string(address);
}

std::string RefusedAddressMessage(std::string_view address) {
  return "This kind of address is not opened: only web pages (http, https), mail (mailto) and files are.|" +
         std::string(address);
}

void ShowRefusedAddress(std::string_view address) {
  vrt::Message(RefusedAddressMessage(address), "Shell Execute Error:", vrt::kIconExclamation, vrt::kButtonOk);
}

void ShowShellError(int code, std::string_view address) {
  vrt::Message(ShellErrorMessage(code, address), ShellErrorCaption(code), vrt::kIconExclamation, vrt::kButtonOk);
}

}  // namespace vesp
