#include "querywizard/wizard_layout.h"

#include "querywizard/display_text.h"
#include "runtime/gui/events.h"

namespace qrywiz {

namespace {

using namespace vrt;

std::string t(int id) { return displayText(id); }

ControlSpec fieldPage() {
  return tab("1", {region({}, {prompt(t(158), "?Heading1"), prompt(t(166), "?Prompt1")}),
                   list("?FieldList", {{"", 40}}, 10).scrolling()});
}

ControlSpec operationPage() {
  return tab("2", {region({}, {prompt(t(164), "?Heading2"), prompt(t(168), "?Prompt2")}),
                   list("?OperationList", {{"", 30}}, 10).scrolling(), prompt({}, "?FieldText")});
}

ControlSpec valuePage(WizardVariables& v) {
  return tab("3", {prompt(t(169), "?Heading3"), prompt(t(157), "?Prompt3"), prompt({}, "?ValueHeading"),
                   row({entry("?Value", "@s80", bind(v.value)), button("?Lookup", "...")}),
                   list("?ChoiceList", {{t(167), 40}}, 6).scrolling(),
                   check("?CheckValue", {}, bind(v.checkValue)),
                   row({check("?MatchType", t(161), bind(v.matchType)), prompt({}, "?MatchExtra")}),
                   optionGroup("?CompareTo", {}, bind(v.compareTo),
                               {radio(t(151), "1"), radio(t(153), "2"), radio(t(152), "3")})});
}

ControlSpec queryPage() {
  return tab("4", {region({}, {prompt(t(155), "?Instruction1"), prompt(t(156), "?Instruction2")}),
                   list("?QueryList", {{"", 44}, {"", 5}}, 8).scrolling(),
                   row({button("?AndButton", t(103)).tip(t(101)), button("?OrButton", t(127)).tip(t(125)),
                        button("?ChangeButton", t(112)).tip(t(110)), button("?DeleteButton", t(115)).tip(t(113))})});
}

ControlSpec manualPage(WizardVariables& v) {
  return tab("5", {region({}, {prompt(t(160), "?Heading5")}), textBox("?ManualText", bind(v.manualText), 6),
                   button("?BuildButton", "..."), prompt("Field List:", "?FieldListPrompt"),
                   list("?ManualFields", {{"", 30}, {"", 15}}, 6).scrolling()});
}

}  // namespace

WindowSpec wizardWindow(WizardVariables& v) {
  WindowSpec design = windowSpec(t(171), std::string(kWizardProcedure));
  design.controls = {
      row({image("?Picture1", "FIND.ICO"), image("?Picture2", "ICON:QUESTION"), image("?Picture3", {}),
           prompt(t(171), "?Title")}),
      sheet("?Pages", {fieldPage(), operationPage(), valuePage(v), queryPage(), manualPage(v)}),
      row({button("?Back", t(106)).tip(t(104)), button("?Next", t(124)).tip(t(122)),
           button("?Finish", t(118)).tip(t(116)), button("?Cancel", t(109)).tip(t(107)),
           button("?Manual", t(121)).tip(t(119))}),
  };
  return design;
}

WindowSpec descriptionForm(std::string caption, std::string& description) {
  WindowSpec design = windowSpec(std::move(caption), std::string(kDescriptionProcedure));
  design.controls = {prompt(t(236)), entry("?Description", "@s60", bind(description)),
                     row({button("?OK", t(242)).tip(t(240)).makeDefault(), button("?Cancel", t(239)).tip(t(237))})};
  design.alertKeys = {kEscKey};
  return design;
}

}  // namespace qrywiz
