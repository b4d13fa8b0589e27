// vantrel-migrate: runs the migrations of MigrateVantrel22To23 without a window.
#include <clocale>
#include <iostream>

#include "cli/migrate_command.h"
#include "platform/console/console.h"
#include "platform/process_locale.h"

int main(int argc, char** argv) {
  // The user's locale for every text the run builds, as the window's toolkit sets it.
  std::setlocale(LC_ALL, "");
  mv::PrepareProcessLocale();
  const mv::Utf8ConsoleOutput console;
  return mv::RunMigrateCommand(mv::ProgramArguments(argc, argv), std::cout, std::cerr);
}
