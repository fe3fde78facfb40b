#include "rules/port_filter_rules.h"

#include "framework/message_box.h"
#include "platform/temp_file.h"
#include "server/text_file.h"
#include "server/transaction.h"
#include "server/zorne_constants.h"

namespace azu {

std::string PortFilterRulesLine(const std::string& address, const std::string& mask) {
  return "e:/azu/server/dev0/ftprulesadd.bat \"Local Area Connection\" " + address + " " + mask +
         ' ' + std::string(kDirectPrinterAddress);
}

// A fixed name in the temporary folder could be planted beforehand by another local user as a
// link to a file of ours; a unique file that only we can read or write cannot.
bool StorePortFilterRules(ServerLibrary& library, VIREO_FT_SESSION& session,
                          const std::string& address, const std::string& mask) {
  int error = -1;
  auto rules = platform::TempFile::Create(&error);
  auto writer = rules ? TextFileWriter::Create(rules->Path(), &error) : std::nullopt;
  if (!writer) {
    ShowTextMessage("M_DUAL_ADD_OPEN", error, kErrorBox);
    return false;
  }
  writer->WriteLine(PortFilterRulesLine(address, mask));
  if (!writer->Close(&error)) {  // a cut line must not reach the server's start-up
    ShowTextMessage("M_DUAL_ADD_OPEN", error, kErrorBox);
    return false;
  }
  if (const VIREO_STATUS s = library.PutFile(&session, rules->Path(), kPortFilterRulesPath)) {
    ShowTextMessage("M_DUAL_ADD_PUTFILE", s, kErrorBox);
    return false;
  }
  return true;
}

bool RemovePortFilterRules(ServerLibrary& library, VIREO_FT_SESSION& session) {
  if (const VIREO_STATUS s = library.Delete(&session, kPortFilterRulesPath)) {
    ShowTextMessage("M_DUAL_DELETE_DELETE", s, kErrorBox);
    return false;
  }
  return true;
}

}  // namespace azu
