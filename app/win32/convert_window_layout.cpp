// The Win32 window's layout table and the order of tabbing, from the product's window.
#include "app/win32/convert_window_layout.h"

#include "app/win32/wide_text.h"
#include "driver/window_paths.h"

namespace mv::win32 {

std::vector<ControlLayout> ConvertWindowLayout() {
  using enum ControlKind;
  using enum ControlId;
  return {
      {Picture1, "Picture1", Picture, {}, {0, 0, 6210, 765}},
      {Frame1, "Frame1", Frame, L"Migration Options", {0, 840, 4815, 1815}},
      {CheckBasket, "CheckBasket", CheckBox, L"Migrate Baskets", {120, 1080, 4500, 400}},
      {CheckOrders, "CheckOrders", CheckBox, L"Migrate Submitted Orders", {120, 1440, 4455, 400}},
      {CheckParameters, "CheckParameters", CheckBox, L"Migrate Parameters", {120, 1800, 4455, 400}},
      {CheckCopy, "CheckCopy", CheckBox, L"Copy Remaining Data ", {120, 2160, 4335, 400}},
      {Cancel, "Cancel", Button, L"Exit", {4920, 960, 1215, 375}},
      {Convert, "Convert", Button, L"Migrate", {4920, 1320, 1215, 375}},
      {OpenLogFile, "OpenLogFile", Button, L"Open Log file", {4920, 1680, 1215, 375}},
      {Label5, "Label5", CentredLabel, L"Source", {2280, 2760, 1215, 375}, ControlFont::Heading},
      {Label6, "Label6", CentredLabel, L"Target", {3600, 2760, 1215, 375}, ControlFont::Heading},
      {Label1, "Label1", Label, L"Database Server", {360, 3120, 1935, 255}},
      {Label2, "Label2", Label, L"Database User", {360, 3480, 1935, 255}},
      {Label3, "Label3", Label, L"Database Password", {360, 3840, 1935, 255}},
      {Label4, "Label4", Label, L"Database Name", {360, 4200, 1935, 255}},
      {SDBServer, "SDBServer", TextBox, {}, {2280, 3120, 1215, 285}},
      {SUser, "SUser", TextBox, {}, {2280, 3480, 1215, 285}},
      {SPassword, "SPassword", PasswordBox, {}, {2280, 3840, 1215, 285}},
      {SDB, "SDB", TextBox, {}, {2280, 4200, 1215, 285}},
      {TDBServer, "TDBServer", TextBox, {}, {3600, 3120, 1215, 285}},
      {TUser, "TUser", TextBox, {}, {3600, 3480, 1215, 285}},
      {TPassword, "TPassword", PasswordBox, {}, {3600, 3840, 1215, 285}},
      {TDB, "TDB", TextBox, {}, {3600, 4200, 1215, 285}},
      {AdvancedOn, "AdvancedOn", Button, L"Advanced >>", {4920, 4200, 1215, 375}},
      {AdvancedOff, "AdvancedOff", Button, L"Advanced <<", {4920, 4200, 1215, 375}},
      {ResultText, "ResultText", Label, {}, {360, 4680, 4455, 495}, ControlFont::Bold},
      {CheckDump, "CheckDump", CheckBox, L"Dump Vantrel 2.2 Orderforms", {120, 5400, 2415, 375}},
      {DumpBaskets, "DumpBaskets", Button, L"Dump", {2640, 5400, 1215, 375}},
      {DumpFileName, "DumpFileName", TextBox, Wide(InitialDumpFileName()), {120, 5760, 2415, 285}},
      {OpenDumpFile, "OpenDumpFile", Button, L"Open Dumpfile", {2640, 5760, 1215, 375}},
  };
}

std::span<const ControlId> TabOrder() {
  using enum ControlId;
  static constexpr ControlId kOrder[] = {
      CheckBasket, CheckOrders, CheckParameters, CheckCopy,   SDBServer, SUser,
      SPassword,   SDB,         TDBServer,       TUser,       TPassword, TDB,
      Cancel,      Convert,     OpenLogFile,     AdvancedOff, CheckDump, DumpFileName,
      DumpBaskets, AdvancedOn,  OpenDumpFile};
  return kOrder;
}

int PixelsAt(int twips, unsigned dpi) {
  constexpr long long kTwipsPerInch = 1440;
  return static_cast<int>((twips * static_cast<long long>(dpi) + kTwipsPerInch / 2) /
                          kTwipsPerInch);
}

}  // namespace mv::win32
