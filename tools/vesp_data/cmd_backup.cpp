// vesp-data backup and restore: the program's own verified backup sets, on demand.
#include <QDateTime>

#include <memory>

#include "records/data_backup.h"
#include "tools/vesp_data/commands.h"
#include "tools/vesp_data/progress.h"

namespace vesp::tools {

namespace {

// Draws the files done as a progress bar, made when the total is first known.
struct FileProgress {
  explicit FileProgress(std::string label) : label_(std::move(label)) {}
  backup::Progress callback() {
    return [this](const std::string&, int done, int total) {
      // A restore checks the set, then copies it: a bar for each pass.
      if (bar_ && done < shown_) {
        bar_->finish();
        bar_.reset();
        shown_ = 0;
      }
      if (!bar_) bar_ = std::make_unique<Progress>(label_, total);
      bar_->advance(done - shown_);
      shown_ = done;
    };
  }
  void finish() {
    if (bar_) bar_->finish();
  }

 private:
  std::string label_;
  std::unique_ptr<Progress> bar_;
  int shown_ = 0;
};

}  // namespace

int runBackup(const Args& args, std::ostream& out, std::ostream& err) {
  const std::string folder = args.positional.empty() ? backup::kBackupFolder : args.positional[0];
  FileProgress progress("backing up");
  const backup::Outcome o = backup::BackUpNow(".", folder, QDateTime::currentDateTime(), {}, progress.callback(),
                                              args.has("--full") ? backup::Checking::Full : backup::Checking::Changed);
  progress.finish();
  if (!o.ok) {
    err << "vesp-data backup: " << o.error << "\n";
    return 1;
  }
  out << "backed up and verified: " << o.setPath << "\n";
  return 0;
}

int runRestore(const Args& args, std::ostream& out, std::ostream& err) {
  FileProgress progress("restoring");
  backup::RestoreOptions options;
  options.now = QDateTime::currentDateTime();
  options.progress = progress.callback();
  const backup::Outcome o = backup::RestoreSet(".", args.positional[0], options);
  progress.finish();
  if (!o.ok) {
    err << "vesp-data restore: " << o.error << "\n";
    return 1;
  }
  out << "restored " << args.positional[0] << "\n"
      << "the files it replaced are in " << o.setPath << " (restore that set to undo)\n";
  return 0;
}

}  // namespace vesp::tools
