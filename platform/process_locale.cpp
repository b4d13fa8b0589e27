// PrepareProcessLocale: the user's LC_CTYPE, or C.UTF-8 where it is ASCII only; nothing on Windows.
#include "platform/process_locale.h"

#include <clocale>
#include <string>

#include "platform/unicode.h"

#ifndef _WIN32
#include <langinfo.h>
#endif

namespace mv {

void PrepareProcessLocale() {
#ifndef _WIN32
  std::setlocale(LC_CTYPE, "");
  if (NarrowCodePageName() == "UTF-8" && std::string(nl_langinfo(CODESET)) != "UTF-8") {
    std::setlocale(LC_CTYPE, "C.UTF-8");
  }
#endif
}

}  // namespace mv
