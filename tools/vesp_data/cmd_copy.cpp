// vesp-data copy: a church's data moved between the files of a folder and a server.
#include <memory>

#include "records/data_copy.h"
#include "tools/vesp_data/commands.h"
#include "tools/vesp_data/progress.h"

namespace vesp::tools {

namespace {

using vrt::store::DataLocation;

// A bar per table, made when the table's count is known.
class TableProgress {
 public:
  datacopy::Progress callback() {
    return [this](const std::string& table, std::int64_t done, std::int64_t total) {
      if (table != table_) {
        if (bar_) bar_->finish();
        table_ = table;
        bar_ = std::make_unique<Progress>(table, total);
        shown_ = 0;
      }
      bar_->advance(done - shown_);
      shown_ = done;
    };
  }
  void finish() {
    if (bar_) bar_->finish();
  }

 private:
  std::string table_;
  std::unique_ptr<Progress> bar_;
  std::int64_t shown_ = 0;
};

std::string grouped(std::int64_t n) {
  std::string digits = std::to_string(n), out;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i && (digits.size() - i) % 3 == 0) out += ',';
    out += digits[i];
  }
  return out;
}

}  // namespace

int runCopy(const Args& args, std::ostream& out, std::ostream& err) {
  const bool toServer = args.has("--to-server"), fromServer = args.has("--from-server");
  if (toServer == fromServer) {
    err << "vesp-data copy: name the server with either --to-server or --from-server\n";
    return 2;
  }
  const std::string text = args.options.at(toServer ? "--to-server" : "--from-server");
  std::string error, password;
  const auto server = vrt::store::parseConnection(text, &error, &password);
  if (!server) {
    err << "vesp-data copy: " << error << "\n";
    return 2;
  }
  // A password written in the connection is used for this run and never shown again.
  struct SessionPassword {
    explicit SessionPassword(std::string p) : set(!p.empty()) {
      if (set) vrt::store::setSessionPassword(std::move(p));
    }
    ~SessionPassword() {
      if (set) vrt::store::forgetSessionPassword();
    }
    bool set;
  } session(password);
  const DataLocation files = DataLocation::files(args.positional.empty() ? "." : args.positional[0]);
  const vrt::store::ConnectionCheck reached = vrt::store::testConnection(*server);
  if (!reached.ok) {
    err << "vesp-data copy: " << reached.error
        << (reached.needsPassword ? " Keep the password in your PostgreSQL password file (~/.pgpass)." : "") << "\n";
    return 1;
  }
  const DataLocation& from = toServer ? files : *server;
  const DataLocation& to = toServer ? *server : files;
  TableProgress progress;
  const datacopy::Outcome o = datacopy::copyData(from, to, progress.callback());
  progress.finish();
  if (!o.ok) {
    err << "vesp-data copy: " << o.error << "\n";
    return 1;
  }
  int tables = 0;
  for (const auto& t : o.tables) {
    if (!t.present) continue;
    ++tables;
    out << t.table << "\t" << t.records << "\t" << t.digest << "\n";
  }
  out << "copied " << tables << " tables, " << grouped(o.records()) << " records, from " << from.describe() << " to "
      << to.describe() << "; record counts and digests agree\n";
  return 0;
}

}  // namespace vesp::tools
