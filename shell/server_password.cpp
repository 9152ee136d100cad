#include "shell/server_password.h"

#include <QLineEdit>

#include "runtime/gui/window.h"

namespace vesp {

using namespace vrt;

std::optional<std::string> AskServerPassword(const vrt::store::DataLocation& server, const std::string& why) {
  std::string password;
  const std::string who = server.user.empty() ? std::string("you") : server.user;
  WindowSpec design = windowSpec("Server Password", kPasswordProcedure);
  design.controls = {
      prompt("The server " + (server.host.empty() ? std::string("on this computer") : server.host) +
             " asks for the password of " + who + " for the database " + server.database + "."),
      prompt(why.empty() ? std::string(" ") : why, "?Why"),
      row({prompt("&Password:"), entry("?Password", "", bind(password))}),
      prompt("Vespera keeps it only while it runs. To be asked no more, keep it in your PostgreSQL password file."),
      row({button("?OK", "&OK").makeDefault(), button("?Cancel", "&Cancel").makeCancel()}),
  };
  Window window(design);
  // What is typed is not shown; the password goes from the entry to the caller only.
  if (auto* edit = qobject_cast<QLineEdit*>(window.control("?Password")->widget()))
    edit->setEchoMode(QLineEdit::Password);
  const int ok = window.number("?OK"), cancel = window.number("?Cancel");
  window.open();
  window.select(window.number("?Password"));
  for (;;) {
    const Event e = window.accept();
    if (e.event == kEventCloseWindow || e.event == kEventCloseDown) return std::nullopt;
    if (e.event != kEventAccepted) continue;
    if (e.control == cancel) return std::nullopt;
    if (e.control != ok) continue;
    window.updateAll();  // no picture: the text exactly as typed, blanks and all
    return password;
  }
}

}  // namespace vesp
