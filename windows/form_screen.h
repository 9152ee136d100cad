#pragma once
// The form procedure that a FormDecl describes: a WindowController whose window is built
// from the declaration, with the screen conventions every form follows (caption by request,
// centring and the remembered place, F6 and calendar buttons, validated look-ups, child
// lists of the records that belong to the form's record, the call table, Escape as Cancel,
// view mode where OK only closes).
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "windows/file_picker.h"
#include "windows/form_declaration.h"
#include "windows/hyperlink_manager.h"
#include "windows/lookup_field.h"
#include "windows/toolbar.h"
#include "windows/window_controller.h"

namespace vesp {

class ChildBrowse;

class FormScreen : public WindowController {
 public:
  explicit FormScreen(const FormDecl& decl);
  ~FormScreen() override;

  const FormDecl& Decl() const { return decl_; }
  // Screen locals by name; they live as long as the form.
  std::string& LocalText(const std::string& name) { return textLocals_[name]; }
  std::int32_t& LocalNumber(const std::string& name) { return numberLocals_[name]; }
  vrt::RecordBuffer& Record() const;  // the primary table's buffer

  [[nodiscard]] bool Setup() override;
  void Shutdown() override;
  void PrimeNewRecord() override;
  [[nodiscard]] Response RunProcedure(const Procedure& procedure, Request request) override;
  [[nodiscard]] EventResult OnAccepted() override;
  [[nodiscard]] EventResult OnRejected() override;
  [[nodiscard]] EventResult OnCompleted() override;
  [[nodiscard]] EventResult OnCloseRequest() override;
  [[nodiscard]] EventResult OnEvent() override;

  // The window's design, bound to this thread's record buffers and the form's locals.
  vrt::WindowSpec BuildWindowSpec();

 private:
  void addItemControls(const FormItem& item, std::vector<vrt::ControlSpec>& into);
  vrt::Binding bindingFor(const FieldRef& ref);
  std::string pictureFor(const FormItem& item) const;
  void nameControlsForAssistiveTechnology();
  int firstEntry() const;
  void attachHistoryAndLookups();
  EventResult onChildListButton(int control);
  void attachFilesAndHyperlinks();
  EventResult onFileButton(int control);

  const FormDecl& decl_;
  std::map<std::string, std::string> textLocals_;
  std::map<std::string, std::int32_t> numberLocals_;
  std::unique_ptr<vrt::Window> window_;
  Toolbar toolbar_;
  FormToolbarTarget target_;
  std::vector<LookupField> lookups_;
  std::vector<FilePicker> pickers_;  // one per file field, in declaration order
  std::unique_ptr<HyperlinkManager> links_;
  std::vector<std::unique_ptr<ChildBrowse>> children_;  // the child lists filled from tables
  std::vector<FileManager*> opened_;  // the look-up tables this form opened
  // A new record's parent value for each child list, taken when it was primed.
  std::vector<std::pair<const ChildListDecl*, vrt::store::KeyValue>> newParents_;
  bool primaryOpened_ = false;
};

}  // namespace vesp
