#include "tests/converters/parameters/parameters_fixture.h"

#include <filesystem>
#include <fstream>

#include <pugixml.hpp>

#include "driver/convert_functions.h"
#include "platform/configuration/xml_configuration.h"
#include "platform/text_file.h"
#include "tests/support/converter_run.h"
#include "tests/support/recording_message_display.h"

namespace mv::testing {
namespace {

namespace fs = std::filesystem;

const std::vector<std::string> kClosingLines = {
    " Parameters 'Order Confirmation File', 'Order Creation Type', ",
    " 'Order Confirmation Type', 'EDI Field Separator' and ",
    " 'EDI Escape Separator' are now stored by Backend instance.",
};

}  // namespace

ParametersTest::ParametersTest() {
  fs::create_directory(folder_.Path() / "instance");
  fs::copy_file(fs::path(MV_CONFIG_DIR) / "VantrelConfiguration.xml", StorePath());
  fs::copy_file(fs::path(MV_CONFIG_DIR) / "Orbisco.xml", folder_.File("Orbisco.xml"));
}

void ParametersTest::WriteInstallation(const std::string& text) const {
  std::ofstream(fs::path(folder_.File("Orbisco.xml")), std::ios::binary) << text;
}

void ParametersTest::AddParameter(const std::string& name, const Variant& value) {
  auto connection = source_.Connect();
  auto rows = OpenRecordset(*connection, "select * from SALESPARAMETER");
  rows->AddNew();
  rows->SetField("PARAMNAME", Variant::String(name));
  rows->SetField("PARAMVALUE", value);
  rows->UpdateBatch();
}

void ParametersTest::AddExportFile(int bisId) {
  const std::string id = std::to_string(bisId);
  target_.Connect()->Execute(
      "insert into ORDEREXPORTFILE (BISID, FILENAME, EXPORTFOLDER, CONFIRMATIONFILENAME, "
      "USEFTP, EXPORTMESSAGETYPE, CONFIRMATIONMESSAGETYPE, USEEDISEMAPHORE, EDIFIELDSEPARATOR, "
      "EDIESCAPESEPARATOR, SYSTEM, SYSTEMPORT, PROXYSERVER, PROXYPORT, LOGIN, PASSWORD, "
      "RETRYCOUNT) values (" +
      id + ", 'orders" + id + ".txt', '/export/" + id +
      "', 'old.txt', 1, 9, 9, 1, ';', '?', 'HOST', '21', 'proxy', '8080', 'ftpuser', 'secret', 5)");
}

bool ParametersTest::Run(ConvertParameters::ConfigurationFactory configuration,
                         RunProgress& progress) {
  if (!configuration) {
    const std::string installation = folder_.File("Orbisco.xml");
    configuration = [installation] { return std::make_unique<XmlConfiguration>(installation); };
  }
  const std::string logPath = folder_.File("Vantrel23Conversion.log");
  ConvertParameters converter(configuration);
  converter.SetProgress(progress, "Migrate Parameters");
  const bool result =
      RunConverter(converter, ValuesFor(source_, target_), logPath, TextWriter::Mode::Overwrite);
  log_ = LogLines(logPath);
  return result;
}

std::optional<std::string> ParametersTest::StoredValue(const std::string& section,
                                                       const std::string& name) const {
  pugi::xml_document store;
  store.load_file(StorePath().c_str());
  for (const pugi::xml_node s : store.document_element().children("Section")) {
    if (section != s.attribute("name").value()) continue;
    for (const pugi::xml_node parameter : s.children("Parameter")) {
      if (name == parameter.attribute("name").value()) return parameter.attribute("value").value();
    }
  }
  return std::nullopt;
}

std::vector<ExportRow> ParametersTest::ExportRows() const {
  auto connection = target_.Connect();
  auto rows = OpenRecordset(*connection, "select * from ORDEREXPORTFILE order by BISID");
  std::vector<ExportRow> result;
  for (; !rows->Eof(); rows->MoveNext()) {
    ExportRow row;
    for (const std::string& column : rows->FieldNames()) {
      const Variant& value = rows->Field(column);
      row.push_back(value.IsNull() ? "NULL" : value.ToText());
    }
    result.push_back(row);
  }
  return result;
}

std::vector<std::string> UpdatedRowsLines() {
  return Joined({" ", " Vantrel Backend related Parameters copied/converted to ",
                 " extended ORDEREXPORTFILE table."},
                kClosingLines);
}

std::vector<std::string> AddedRowLines(int bisId) {
  return Joined({" ", " Vantrel Backend related Parameters copied/converted to ",
                 " extended ORDEREXPORTFILE table.",
                 " One record added with BISID " + std::to_string(bisId) + " in ORDEREXPORTFILE ",
                 " because ORDEREXPORTFILE table was empty."},
                kClosingLines);
}

std::vector<std::string> StoreWrittenLines(const std::string& storePath) {
  return {" Vantrel Parameter table copied/converted to configuration file", " " + storePath + ".",
          " Please restart Internet Information Service (run iisreset)",
          " to make the converted data effective."};
}

std::vector<std::string> Joined(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

}  // namespace mv::testing
