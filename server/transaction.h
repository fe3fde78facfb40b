#pragma once
// The remote configuration transaction every page runs: fetch, rewrite and store the server's
// configuration file, or store a new file whole; one error box per failure, the file-transfer
// session closed and our temporary files deleted on every path.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "server/line_rewrite.h"
#include "server/server_library.h"

namespace azu {

// A page's change of one server file, as data.
struct PageChange {
  enum class Kind : std::uint8_t { Rewrite, Replace };

  Kind kind = Kind::Rewrite;
  std::string serverPath;
  std::vector<KeyRule> keys;       // Rewrite: the page's keys in the order they are appended
  std::vector<std::string> lines;  // Replace: the new file's lines
  // Failure messages are the texts of this prefix and OPENSESSION, GETFILE, OPEN, OPEN2, PUTFILE.
  std::string messagePrefix;
  // Rewrite: store only when a line was dropped (otherwise the server file stays as it was).
  bool storeOnlyIfDropped = false;
  // Runs after the store (or the skipped store) with the session still open; false ends the
  // transaction as failed after its own message.
  std::function<bool(VIREO_FT_SESSION& session)> afterStore;
};

struct TransactionResult {
  VIREO_STATUS status = VIREO_OK;  // the last library status (0 after a local file failure)
  bool completed = false;          // everything done: the page may go on to its ending
};

// A value or line holding CR or LF is refused before the session opens: one error box, nothing
// stored.
TransactionResult RunTransaction(ServerLibrary& library, VIREO_CONNECTION connection,
                                 const PageChange& change);

// The question whether to reboot now, and the reboot on Yes.
void OfferReboot(ServerLibrary& library, VIREO_CONNECTION connection);

// The usual page: its transaction, then the reboot offer when everything went through.
void RunTransactionAndOfferReboot(ServerLibrary& library, VIREO_CONNECTION connection,
                                  const PageChange& change);

// Shows the text of `key` with `number` in place of "%d", in a box of `type`.
void ShowTextMessage(const std::string& key, long long number, unsigned type);
void ShowTextMessage(const std::string& key, unsigned type);

}  // namespace azu
