#include "windows/form_declaration.h"

#include "windows/form_screen.h"

namespace vesp {

FormItem field(std::string prompt, std::string use, FieldRef ref, std::string picture) {
  FormItem i;
  i.prompt = std::move(prompt);
  i.use = std::move(use);
  i.field = std::move(ref);
  i.picture = std::move(picture);
  return i;
}

FormItem shownField(std::string prompt, std::string use, FieldRef ref, std::string picture) {
  FormItem i = field(std::move(prompt), std::move(use), std::move(ref), std::move(picture));
  i.readOnly = true;
  i.history = false;
  return i;
}

LookupDecl lookupInto(std::string button, Procedure browse, const dict::TableDecl& table, int key, int keyField) {
  LookupDecl l;
  l.button = std::move(button);
  l.browse = std::move(browse);
  l.table = &table;
  l.key = key;
  l.keyField = keyField;
  return l;
}

FormItem lookupField(std::string prompt, std::string use, FieldRef ref, LookupDecl lookup, std::string picture) {
  FormItem i = field(std::move(prompt), std::move(use), std::move(ref), std::move(picture));
  i.kind = FormItem::Kind::Lookup;
  i.lookup = std::move(lookup);
  return i;
}

FormItem dateField(std::string prompt, std::string use, FieldRef ref, std::string picture, std::string calendarButton) {
  FormItem i = field(std::move(prompt), std::move(use), std::move(ref), std::move(picture));
  i.kind = FormItem::Kind::Date;
  i.calendarButton = std::move(calendarButton);
  return i;
}

FormItem fileField(std::string prompt, std::string use, FieldRef ref, std::string pickButton,
                   std::string viewButton, std::string picture) {
  FormItem i = field(std::move(prompt), std::move(use), std::move(ref), std::move(picture));
  i.kind = FormItem::Kind::File;
  i.pickButton = std::move(pickButton);
  i.viewButton = std::move(viewButton);
  return i;
}

BrowseColumn localColumn(std::string header, int width, std::string picture, std::string name,
                         std::function<std::string()> compute) {
  BrowseColumn c;
  c.header = std::move(header);
  c.width = width;
  c.picture = std::move(picture);
  c.field = FieldRef::Local(std::move(name));
  c.compute = std::move(compute);
  return c;
}

FormItem childList(ChildListDecl list) {
  FormItem i;
  i.kind = FormItem::Kind::ChildList;
  i.use = list.list;
  i.history = false;
  i.child = std::move(list);
  return i;
}

FormItem textBoxField(std::string prompt, std::string use, FieldRef ref, int lines) {
  FormItem i = field(std::move(prompt), std::move(use), std::move(ref));
  i.kind = FormItem::Kind::TextBox;
  i.lines = lines;
  return i;
}

FormItem dropListField(std::string prompt, std::string use, FieldRef ref, std::vector<std::string> choices) {
  FormItem i = field(std::move(prompt), std::move(use), std::move(ref));
  i.kind = FormItem::Kind::DropList;
  i.choices = std::move(choices);
  return i;
}

FormItem checkField(std::string prompt, std::string use, FieldRef ref) {
  FormItem i = field(std::move(prompt), std::move(use), std::move(ref));
  i.kind = FormItem::Kind::Check;
  return i;
}

FormItem controlItem(vrt::ControlSpec control) {
  FormItem i;
  i.kind = FormItem::Kind::Control;
  i.use = control.use;
  i.history = false;
  i.control = std::move(control);
  return i;
}

void RunForm(const FormDecl& form) {
  ProcedureScope name(form.procedure);
  FormScreen screen(form);
  static_cast<void>(screen.Execute());  // the caller reads the response from the thread's globals
}

}  // namespace vesp
