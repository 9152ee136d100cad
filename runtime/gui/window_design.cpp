#include "runtime/gui/window_design.h"

namespace vrt {

namespace {

ControlSpec make(ControlKind kind, std::string use, std::string text = {}) {
  ControlSpec c;
  c.kind = kind;
  c.use = std::move(use);
  c.text = std::move(text);
  return c;
}

ControlSpec withChildren(ControlSpec c, std::vector<ControlSpec> children) {
  c.children = std::move(children);
  return c;
}

}  // namespace

ControlSpec prompt(std::string text, std::string use) { return make(ControlKind::Prompt, std::move(use), std::move(text)); }

ControlSpec entry(std::string use, std::string picture, Binding binding) {
  ControlSpec c = make(ControlKind::Entry, std::move(use));
  c.picture = std::move(picture);
  c.binding = std::move(binding);
  return c;
}

ControlSpec textBox(std::string use, Binding binding, int lines) {
  ControlSpec c = make(ControlKind::TextBox, std::move(use));
  c.binding = std::move(binding);
  c.rows = lines;
  return c;
}

ControlSpec button(std::string use, std::string text) { return make(ControlKind::Button, std::move(use), std::move(text)); }

ControlSpec check(std::string use, std::string text, Binding binding, std::string on, std::string off) {
  ControlSpec c = make(ControlKind::Check, std::move(use), std::move(text));
  c.binding = std::move(binding);
  c.values = {std::move(on), std::move(off)};
  return c;
}

ControlSpec dropList(std::string use, std::vector<std::string> items, Binding binding, int rows) {
  ControlSpec c = make(ControlKind::DropList, std::move(use));
  c.items = std::move(items);
  c.binding = std::move(binding);
  c.rows = rows;
  return c;
}

ControlSpec combo(std::string use, std::string picture, std::vector<std::string> items, Binding binding) {
  ControlSpec c = make(ControlKind::Combo, std::move(use));
  c.picture = std::move(picture);
  c.items = std::move(items);
  c.binding = std::move(binding);
  return c;
}

ControlSpec spin(std::string use, std::string picture, Binding binding, int low, int high, int step) {
  ControlSpec c = make(ControlKind::Spin, std::move(use));
  c.picture = std::move(picture);
  c.binding = std::move(binding);
  c.low = low;
  c.high = high;
  c.step = step;
  return c;
}

ControlSpec list(std::string use, std::vector<ListColumn> columns, int visibleRows) {
  ControlSpec c = make(ControlKind::List, std::move(use));
  c.columns = std::move(columns);
  c.rows = visibleRows;
  return c;
}

ControlSpec sheet(std::string use, std::vector<ControlSpec> tabs) {
  return withChildren(make(ControlKind::Sheet, std::move(use)), std::move(tabs));
}

ControlSpec tab(std::string text, std::vector<ControlSpec> children, std::string use) {
  return withChildren(make(ControlKind::Tab, std::move(use), std::move(text)), std::move(children));
}

ControlSpec optionGroup(std::string use, std::string text, Binding binding, std::vector<ControlSpec> radios) {
  ControlSpec c = withChildren(make(ControlKind::OptionGroup, std::move(use), std::move(text)), std::move(radios));
  c.binding = std::move(binding);
  return c;
}

ControlSpec radio(std::string text, std::string value, std::string use) {
  ControlSpec c = make(ControlKind::Radio, std::move(use), std::move(text));
  c.values = {std::move(value)};
  return c;
}

ControlSpec image(std::string use, std::string icon) {
  ControlSpec c = make(ControlKind::Image, std::move(use));
  c.iconName = std::move(icon);
  return c;
}

ControlSpec progress(std::string use, int low, int high) {
  ControlSpec c = make(ControlKind::Progress, std::move(use));
  c.low = low;
  c.high = high;
  return c;
}

ControlSpec region(std::string use, std::vector<ControlSpec> children) {
  return withChildren(make(ControlKind::Region, std::move(use)), std::move(children));
}

ControlSpec row(std::vector<ControlSpec> children) { return withChildren(make(ControlKind::Row, {}), std::move(children)); }

ControlSpec grid(int columns, std::vector<ControlSpec> children) {
  ControlSpec c = withChildren(make(ControlKind::Grid, {}), std::move(children));
  c.columnsInGrid = columns;
  return c;
}

ControlSpec menu(std::string text, std::vector<ControlSpec> items) {
  return withChildren(make(ControlKind::Menu, {}, std::move(text)), std::move(items));
}

ControlSpec menuItem(std::string use, std::string text) { return make(ControlKind::MenuItem, std::move(use), std::move(text)); }

ControlSpec separator() { return make(ControlKind::Separator, {}); }

ControlSpec toolButton(std::string use, std::string text, int number) {
  ControlSpec c = make(ControlKind::ToolButton, std::move(use), std::move(text));
  c.number = number;
  return c;
}

}  // namespace vrt
