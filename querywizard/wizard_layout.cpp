#include "querywizard/wizard_layout.h"

#include "querywizard/display_text.h"
#include "runtime/gui/events.h"

namespace qrywiz {

namespace {

using namespace vrt;

std::string t(int id) { return displayText(id); }

// The title and the page headings stand out; every other control is laid out at 8 points.
struct DesignedSize {
  std::string_view use;
  int points;
};
constexpr DesignedSize kDesignedSizes[] = {
    {"?Title", 12},   {"?Heading1", 10}, {"?Heading2", 10}, {"?Heading3", 10},
    {"?Heading4", 10}, {"?Heading5", 10},
};
constexpr int kDefaultDesignedSize = 8;

// A button of the wizard: its display texts come in threes, the long description (its
// tip), the short one (its help line) and its text.
ControlSpec wizardButton(std::string use, int firstText) {
  return button(std::move(use), t(firstText + 2)).tip(t(firstText)).help(t(firstText + 1));
}

ControlSpec fieldPage() {
  return tab("1", {region({}, {prompt(t(158), "?Heading1"), prompt(t(166), "?Prompt1")}),
                   list("?FieldList", {{t(159), 40}}, 10).scrolling()});
}

ControlSpec operationPage() {
  return tab("2", {region({}, {prompt(t(164), "?Heading2"), prompt(t(168), "?Prompt2")}),
                   list("?OperationList", {{t(165), 30}}, 10).scrolling(), prompt({}, "?FieldText")});
}

ControlSpec valuePage(WizardVariables& v) {
  return tab("3", {region({}, {prompt(t(169), "?Heading3"), prompt(t(157), "?Prompt3")}), prompt({}, "?ValueHeading"),
                   row({entry("?Value", "@s80", bind(v.value)), button("?Lookup", "...")}),
                   list("?ChoiceList", {{t(167), 40}}, 6).scrolling(),
                   check("?CheckValue", {}, bind(v.checkValue)),
                   row({check("?MatchType", t(161), bind(v.matchType)), prompt({}, "?MatchExtra")}),
                   optionGroup("?CompareTo", {}, bind(v.compareTo),
                               {radio(t(151), "1"), radio(t(153), "2"), radio(t(152), "3")})});
}

ControlSpec queryPage() {
  return tab("4", {region({}, {prompt(t(154), "?Heading4"), prompt(t(155), "?Instruction1"),
                               prompt(t(156), "?Instruction2")}),
                   list("?QueryList", {{"", 44}, {"", 5}}, 8).scrolling(),
                   row({wizardButton("?AndButton", 101), wizardButton("?OrButton", 125),
                        wizardButton("?ChangeButton", 110), wizardButton("?DeleteButton", 113)})});
}

ControlSpec manualPage(WizardVariables& v) {
  return tab("5", {region({}, {prompt(t(160), "?Heading5")}),
                   row({textBox("?ManualText", bind(v.manualText), 8), button("?BuildButton", "..."),
                        region({}, {prompt("Field List:", "?FieldListPrompt"),
                                    list("?ManualFields", {{"", 16}, {"", 6}}, 8).scrolling()})})});
}

}  // namespace

WindowSpec wizardWindow(WizardVariables& v) {
  WindowSpec design = windowSpec(t(171), std::string(kWizardProcedure));
  design.controls = {
      row({image("?Picture1", "FIND.ICO"), image("?Picture2", "ICON:QUESTION"), image("?Picture3", {}),
           prompt(t(171), "?Title")}),
      sheet("?Pages", {fieldPage(), operationPage(), valuePage(v), queryPage(), manualPage(v)}),
      row({wizardButton("?Back", 104), wizardButton("?Next", 122),
           wizardButton("?Finish", 116), wizardButton("?Cancel", 107),
           wizardButton("?Manual", 119)}),
  };
  return design;
}

int wizardDesignedFontSize(std::string_view use) {
  for (const DesignedSize& d : kDesignedSizes)
    if (d.use == use) return d.points;
  return kDefaultDesignedSize;
}

WindowSpec descriptionForm(std::string caption, std::string promptText, std::string& description) {
  WindowSpec design = windowSpec(std::move(caption), std::string(kDescriptionProcedure));
  design.controls = {prompt(std::move(promptText), "?Message"), prompt(t(236)),
                     entry("?Description", "@s60", bind(description)),
                     row({wizardButton("?OK", 240).makeDefault(), wizardButton("?Cancel", 237)})};
  design.alertKeys = {kEscKey};
  return design;
}

}  // namespace qrywiz
