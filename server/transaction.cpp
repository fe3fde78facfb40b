#include "server/transaction.h"

#include "app/text_format.h"
#include "app/text_table.h"
#include "framework/message_box.h"
#include "platform/temp_file.h"
#include "server/text_file.h"

namespace azu {
namespace {

// One file-transfer session, closed on every way out.
class SessionGuard {
 public:
  SessionGuard(ServerLibrary& library, VIREO_FT_SESSION& session)
      : library_(library), session_(session) {}
  ~SessionGuard() { library_.CloseSession(&session_); }
  SessionGuard(const SessionGuard&) = delete;
  SessionGuard& operator=(const SessionGuard&) = delete;

 private:
  ServerLibrary& library_;
  VIREO_FT_SESSION& session_;
};

class Failures {
 public:
  explicit Failures(const std::string& prefix) : prefix_(prefix) {}
  void Show(const char* step, long long number) const {
    ShowTextMessage(prefix_ + step, number, kErrorBox);
  }

 private:
  const std::string& prefix_;
};

TransactionResult Rewrite(ServerLibrary& library, VIREO_FT_SESSION& session,
                          const PageChange& change, const Failures& failures) {
  int error = -1;
  auto fetched = platform::TempFile::Create(&error);
  if (!fetched) {
    failures.Show("OPEN", error);
    return {};
  }
  if (const VIREO_STATUS s = library.GetFile(&session, change.serverPath, fetched->Path())) {
    failures.Show("GETFILE", s);
    return {s, false};
  }
  auto reader = TextFileReader::Open(fetched->Path(), &error);
  if (!reader) {
    failures.Show("OPEN", error);
    return {};
  }
  auto rewritten = platform::TempFile::Create(&error);
  auto writer = rewritten ? TextFileWriter::Create(rewritten->Path(), &error) : std::nullopt;
  if (!writer) {
    failures.Show("OPEN2", error);
    return {};
  }
  const RewriteOutcome outcome = RewriteLines(*reader, *writer, change.keys);
  if (reader->Failed()) {  // a half-read file must never be stored
    failures.Show("OPEN", reader->Error());
    return {};
  }
  if (!writer->Close(&error)) {  // nor a half-written one
    failures.Show("OPEN2", error);
    return {};
  }
  if (!change.storeOnlyIfDropped || outcome.droppedAny) {
    if (const VIREO_STATUS s = library.PutFile(&session, rewritten->Path(), change.serverPath)) {
      failures.Show("PUTFILE", s);
      return {s, false};
    }
  }
  if (change.afterStore && !change.afterStore(session)) return {};
  return {VIREO_OK, true};
}

TransactionResult Replace(ServerLibrary& library, VIREO_FT_SESSION& session,
                          const PageChange& change, const Failures& failures) {
  int error = -1;
  auto file = platform::TempFile::Create(&error);
  auto writer = file ? TextFileWriter::Create(file->Path(), &error) : std::nullopt;
  if (!writer) {
    failures.Show("OPEN", error);
    return {};
  }
  for (const std::string& line : change.lines) writer->WriteLine(line);
  if (!writer->Close(&error)) {
    failures.Show("OPEN", error);
    return {};
  }
  if (const VIREO_STATUS s = library.PutFile(&session, file->Path(), change.serverPath)) {
    failures.Show("PUTFILE", s);
    return {s, false};
  }
  if (change.afterStore && !change.afterStore(session)) return {};
  return {VIREO_OK, true};
}

bool HoldsLineBreak(const std::string& text) {
  return text.find_first_of("\r\n") != std::string::npos;
}

// A value with a line break would write a line of its own into the server's file.
bool HoldsLineBreak(const PageChange& change) {
  for (const KeyRule& rule : change.keys) {
    if (rule.value && HoldsLineBreak(*rule.value)) return true;
  }
  for (const std::string& line : change.lines) {
    if (HoldsLineBreak(line)) return true;
  }
  return false;
}

}  // namespace

void ShowTextMessage(const std::string& key, long long number, unsigned type) {
  ShowMessageBox(FormatNumber(GetText(key.c_str()), number), type);
}

void ShowTextMessage(const std::string& key, unsigned type) {
  ShowMessageBox(GetText(key.c_str()), type);
}

TransactionResult RunTransaction(ServerLibrary& library, VIREO_CONNECTION connection,
                                 const PageChange& change) {
  if (HoldsLineBreak(change)) {
    ShowTextMessage("M_LINEBREAK", kErrorBox);
    return {};
  }
  const Failures failures(change.messagePrefix);
  VIREO_FT_SESSION session{};
  if (const VIREO_STATUS s = library.OpenSession(connection, &session)) {
    failures.Show("OPENSESSION", s);
    return {s, false};
  }
  const SessionGuard guard(library, session);
  return change.kind == PageChange::Kind::Rewrite ? Rewrite(library, session, change, failures)
                                                  : Replace(library, session, change, failures);
}

void OfferReboot(ServerLibrary& library, VIREO_CONNECTION connection) {
  if (ShowMessageBox(GetText("M_REBOOTNOW"), kQuestionBox) != IDYES) return;
  if (const VIREO_STATUS s = library.Reboot(connection)) {
    ShowTextMessage("M_REBOOTFAILED", s, kNoticeBox);
  }
}

void RunTransactionAndOfferReboot(ServerLibrary& library, VIREO_CONNECTION connection,
                                  const PageChange& change) {
  if (RunTransaction(library, connection, change).completed) OfferReboot(library, connection);
}

}  // namespace azu
