#include "pages/page.h"

#include <utility>

#include "framework/message_box.h"
#include "server/transaction.h"
#include "ui/zorne_authentication_dlg.h"

namespace azu {

PageServices ProgramPageServices() {
  return {VireoLibrary(), AskZornePassword};
}

CPage::CPage(const DialogTemplate& pageTemplate, PageServices services)
    : Dialog(pageTemplate), services_(std::move(services)) {}

bool PassesCheck(CheckNotice notice) {
  if (notice == nullptr) return true;
  ShowTextMessage(notice, kNoticeBox);
  return false;
}

}  // namespace azu
