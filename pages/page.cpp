#include "pages/page.h"

#include <utility>

#include "ui/zorne_authentication_dlg.h"

namespace azu {

PageServices ProgramPageServices() {
  return {VireoLibrary(), AskZornePassword};
}

CPage::CPage(const DialogTemplate& pageTemplate, PageServices services)
    : Dialog(pageTemplate), services_(std::move(services)) {}

}  // namespace azu
