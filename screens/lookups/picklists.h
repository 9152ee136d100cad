#pragma once
// The pick lists' browses and forms: topics and the one-text lists that other forms look
// their values up in. None is on the frame's menu; look-up fields call them.
#include <functional>
#include <span>
#include <string_view>

namespace vesp {

struct PickList {
  const char* browse;        // "BrowseElementType"
  const char* browseModule;  // "vsp020"
  const char* form;          // "UpdateElementType"
  const char* formModule;    // "vsp021"
};
std::span<const PickList> pickLists();

// The procedure by name ("BrowseTopic", "UpdateWeatherDefault"); empty when there is none.
std::function<void()> PickListProcedure(std::string_view name);
// Registers every pick list's browse and form by name.
void RegisterPickLists();

void BrowseTopic();
void UpdateTopic();

}  // namespace vesp
