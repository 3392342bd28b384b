#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "app/command_line.h"
#include "app/console_ui.h"
#include "app/front_end.h"
#include "db/connections.h"
#include "db/tenant_discovery.h"
#include "scripts/catalog.h"
#include "support/fake_connection.h"
#include "support/temp_dir.h"

namespace {

app::Options parse(std::vector<const char*> args) {
  args.insert(args.begin(), "sqlupdate");
  auto parsed = app::parse_command_line(static_cast<int>(args.size()), args.data());
  EXPECT_TRUE(std::holds_alternative<app::Options>(parsed));
  return std::get<app::Options>(parsed);
}

TEST(CommandLine, OptionsAndUnusableCommandLines) {
  app::Options o = parse({"--console", "--settings", "/x/y.ini", "--print-script", "Memo2"});
  EXPECT_TRUE(o.console);
  EXPECT_FALSE(o.status);
  EXPECT_FALSE(o.log);
  EXPECT_EQ(*o.settings, "/x/y.ini");
  EXPECT_EQ(*o.print_script, "Memo2");
  EXPECT_EQ(app::settings_file(o), "/x/y.ini");
  EXPECT_EQ(app::settings_file(parse({})).filename(), "SysDBAdo.INI");

  app::Options admin = parse({"--status", "--log", "/var/log/sqlupdate.log"});
  EXPECT_TRUE(admin.status);
  EXPECT_EQ(*admin.log, "/var/log/sqlupdate.log");

  for (std::vector<const char*> bad :
       {std::vector<const char*>{"sqlupdate", "--settings"}, std::vector<const char*>{"sqlupdate", "--log"},
        std::vector<const char*>{"sqlupdate", "--bogus"}}) {
    auto parsed = app::parse_command_line(static_cast<int>(bad.size()), bad.data());
    EXPECT_TRUE(std::holds_alternative<std::string>(parsed)) << bad.back();
  }
}

// The arguments arrive in UTF-8 on every system; a settings path with
// German letters names the same file on Windows as on Linux.
TEST(CommandLine, PathsWithGermanLettersStayIntact) {
  testing_support::TempDir dir;
  const std::u8string folder = u8"Vereinsdaten Müller";
  std::filesystem::create_directory(dir.path() / folder);
  const std::filesystem::path file = dir.path() / folder / u8"SysDBAdö.INI";
  std::ofstream(file) << "[Datenbank]\n";
  const std::u8string typed = file.u8string();
  const std::string argument(typed.begin(), typed.end());
  app::Options o = parse({"--settings", argument.c_str(), "--log", argument.c_str()});
  EXPECT_TRUE(o.settings->u8string() == typed);  // (the installed GoogleTest cannot print a u8string)
  EXPECT_TRUE(std::filesystem::exists(*o.settings));
  EXPECT_EQ(*o.log, file);
}

TEST(ConsoleUi, PipedOutputPrintsOneLinePerChangeAndEveryDialog) {
  std::ostringstream out;
  {
    app::ConsoleUi ui(out, false);
    ui.set_caption("A");
    ui.set_caption("A");
    ui.set_progress(1);
    ui.set_progress(1);
    ui.set_progress(250);
    ui.show_dialog(upgrade::DialogKind::Warning, "one\ntwo", upgrade::Dismissal::Normal);
    ui.show_dialog(upgrade::DialogKind::Error, "bad", upgrade::Dismissal::Normal);
  }
  EXPECT_EQ(out.str(), "== A\nFortschritt: 1 %\nFortschritt: 100 %\nWarnung: one\n  two\nFehler: bad\n");
}

TEST(ConsoleUi, TerminalRedrawsTheBarInPlaceAndEndsItBeforeADialog) {
  std::ostringstream out;
  {
    app::ConsoleUi ui(out, true);
    ui.set_progress(50);
    ui.show_dialog(upgrade::DialogKind::Information, "ok", upgrade::Dismissal::AlwaysWait);
  }
  std::string text = out.str();
  EXPECT_EQ(text.front(), '\r');
  EXPECT_NE(text.find(" 50 %\nInformationen: ok\n"), std::string::npos);
}

TEST(FrontEnd, InformationCommands) {
  std::ostringstream out, err;
  EXPECT_EQ(app::run_information_command(parse({"--console"}), out, err), -1);
  EXPECT_EQ(app::run_information_command(parse({"--version"}), out, err), 0);
  EXPECT_EQ(out.str().rfind("sqlupdate ", 0), 0u);
  EXPECT_EQ(app::run_information_command(parse({"--print-script", "NoSuchScript"}), out, err), app::kUsageExitCode);

  ASSERT_FALSE(scripts::all().empty());
  const scripts::Script& first = scripts::all().front();
  std::ostringstream text;
  app::Options print = parse({"--print-script", std::string(first.name).c_str()});
  EXPECT_EQ(app::run_information_command(print, text, err), 0);
  EXPECT_EQ(text.str(), first.text);

  std::ostringstream list;
  EXPECT_EQ(app::run_information_command(parse({"--list-scripts"}), list, err), 0);
  EXPECT_NE(list.str().find(std::string(first.name) + " "), std::string::npos);
}

// The cause stands on a line of its own before the client library's text,
// in the connection dialog and in the error box that ends the run.
TEST(FrontEnd, MissingSettingsFileNamesThePathAndEndsTheRunWithExitCodeTwo) {
  testing_support::TempDir dir;
  std::string path = (dir.path() / "SysDBAdo.INI").string();
  app::Options options = parse({"--console", "--settings", path.c_str()});
  auto factory = db::make_backend_factory();
  std::ostringstream out;
  EXPECT_EQ(app::run_console(options, *factory, out, false), 2);
  EXPECT_NE(out.str().find("Fehler: False parameters for database connection.\n  Unable to "
                           "connect to database 'Dravok'.\n\n  Einstellungen nicht gefunden: " +
                           path + "\n  Provider cannot be found."),
            std::string::npos)
      << out.str();
  EXPECT_NE(out.str().find("Abbruch: Einstellungen nicht gefunden: " + path +
                           "\n  Provider cannot be found. It may not be properly installed.\n"),
            std::string::npos);
  EXPECT_EQ(out.str().find("erfolgreich"), std::string::npos);
}

// Every unusable settings file ends the run with a line that names the file
// and what is wrong, before the client library's own text.
TEST(FrontEnd, EachSettingsFaultIsNamedBeforeTheLibraryText) {
  testing_support::TempDir dir;
  const std::filesystem::path file = dir.path() / "SysDBAdo.INI";
  const std::string path = file.string();
  const char garbled[] =
      "\x7f"
      "ELF\x02\x01\0\0\0\x03\0>\0";
  struct Case {
    std::string content;
    std::string line;
  };
  const std::vector<Case> cases{
      {"", "Einstellungen leer: " + path},
      {std::string(garbled, sizeof garbled - 1), "Einstellungen sind keine INI-Datei: " + path},
      {"Provider=Embedded\n", "Einstellungen sind keine INI-Datei: " + path},
      {"[Database]\nProvider=Embedded\n", "Einstellungen ohne Abschnitt [Datenbank]: " + path},
      {"[Datenbank]\nProvider=Oracle.OLEDB.9\n",
       "Einstellungen nennen einen unbekannten Provider \"Oracle.OLEDB.9\": " + path},
  };
  auto factory = db::make_backend_factory();
  for (const Case& c : cases) {
    std::ofstream(file, std::ios::binary | std::ios::trunc) << c.content;
    std::ostringstream out;
    EXPECT_EQ(app::run_console(parse({"--console", "--settings", path.c_str()}), *factory, out, false), 2);
    EXPECT_NE(
        out.str().find("Abbruch: " + c.line + "\n  Provider cannot be found. It may not be properly installed.\n"),
        std::string::npos)
        << out.str();
  }
  std::ostringstream out;
  const std::string folder = dir.path().string();
  EXPECT_EQ(app::run_console(parse({"--console", "--settings", folder.c_str()}), *factory, out, false), 2);
  EXPECT_NE(out.str().find("Abbruch: Einstellungen sind ein Ordner, keine Datei: " + folder + "\n  Provider cannot"),
            std::string::npos)
      << out.str();
}

TEST(FrontEnd, CleanRunExitsZeroAndReportedFailureExitsOne) {
  testing_support::FakeServer server;
  testing_support::FakeFactory factory(server);
  std::ostringstream out;
  app::Options options = parse({"--console", "--settings", "/nonexistent.ini"});
  EXPECT_EQ(app::run_console(options, factory, out, false), 0);
  EXPECT_NE(out.str().find("Informationen: UPDATE erfolgreich ausgeführt!"), std::string::npos);

  server.results[db::kTenantListQuery] = testing_support::FakeServer::rows({"name"}, {{"DRAVOKX"}});
  server.open_errors["DRAVOKX"] = "gone";
  EXPECT_EQ(app::run_console(options, factory, out, false), 1);
  EXPECT_NE(out.str().find("Zusammenfassung: 1 Datenbank gefunden, 0 Datenbanken aktualisiert, "), std::string::npos);
  EXPECT_NE(out.str().find("1 Meldung, "), std::string::npos);
  EXPECT_NE(out.str().find("\n  DRAVOKX: 1 Meldung\n"), std::string::npos);
}

}  // namespace
