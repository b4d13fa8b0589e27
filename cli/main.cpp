// vantrel-migrate: runs the migrations of MigrateVantrel22To23 without a window.
#include <clocale>
#include <iostream>

#include "cli/migrate_command.h"
#include "platform/process_locale.h"

int main(int argc, char** argv) {
  // The user's locale for every text the run builds, as the window's toolkit sets it.
  std::setlocale(LC_ALL, "");
  mv::PrepareProcessLocale();
  return mv::RunMigrateCommand({argv + 1, argv + argc}, std::cout, std::cerr);
}
