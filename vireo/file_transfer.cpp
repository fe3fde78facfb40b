#include "vireo/file_transfer.h"

#include <utility>

#include "vireo/local_file.h"
#include "vireo/protocol.h"
#include "vireo/status_mapping.h"
#include "vireo/url_encoding.h"

namespace azu::vireo {
namespace {

HttpRequest FileRequest(std::string_view method, const std::string& server_path) {
  HttpRequest request;
  request.method = method;
  request.target = std::string(kFileTarget) + "?path=" + PercentEncode(server_path);
  return request;
}

}  // namespace

VIREO_STATUS FileSession::Get(Connection& connection, const std::string& server_path,
                              const std::string& local_path) {
  const std::lock_guard lock(mutex_);
  // The content goes to disk as it arrives, into a file that takes the name only when whole.
  std::unique_ptr<LocalFileReplacement> local;
  bool local_failed = false;
  HttpRequest request = FileRequest("GET", server_path);
  request.take_body = [&](std::string_view piece) {
    if (!local) local = LocalFileReplacement::Create(local_path);
    local_failed = local == nullptr || !local->Write(piece);
    return !local_failed;
  };
  const HttpAnswer answer = connection.Send(std::move(request));
  if (local_failed) {
    return VIREO_E_LOCAL_FILE;
  }
  if (const VIREO_STATUS status = StatusOfAnswer(answer, Exchange::kOther, kHttpOk);
      status != VIREO_OK) {
    return status;
  }
  // Without a version the later store could not be guarded.
  if (answer.etag.empty()) {
    return VIREO_E_PROTOCOL;
  }
  if (!local) local = LocalFileReplacement::Create(local_path);  // an empty file
  if (!local || !local->Commit()) {
    return VIREO_E_LOCAL_FILE;
  }
  versions_[server_path] = answer.etag;
  return VIREO_OK;
}

VIREO_STATUS FileSession::Put(Connection& connection, const std::string& local_path,
                              const std::string& server_path) {
  const std::lock_guard lock(mutex_);
  HttpRequest request = FileRequest("PUT", server_path);
  LocalRead opened = LocalRead::kUnreadable;
  const std::unique_ptr<LocalFileSource> source =
      LocalFileSource::Open(local_path, kMaxTransferBytes, opened);
  switch (opened) {
    case LocalRead::kOk:
      break;
    case LocalRead::kUnreadable:
      return VIREO_E_LOCAL_FILE;
    case LocalRead::kTooLarge:
      return VIREO_E_TOO_LARGE;
  }
  // Read as it is sent: a 16 MiB file never sits whole in memory.
  request.body_size = source->Size();
  request.give_body = [&source](char* buffer, std::size_t room) {
    return source->Read(buffer, room);
  };
  request.content_type = kFileContentType;
  if (const auto known = versions_.find(server_path); known != versions_.end()) {
    request.if_match = known->second;
  }
  const HttpAnswer answer = connection.Send(std::move(request));
  if (source->Failed()) {
    return VIREO_E_LOCAL_FILE;
  }
  if (const VIREO_STATUS status = StatusOfAnswer(answer, Exchange::kOther, kHttpNoContent);
      status != VIREO_OK) {
    return status;
  }
  // The stored copy is now the one this session knows; a store after it is guarded by it.
  if (answer.etag.empty()) {
    versions_.erase(server_path);
  } else {
    versions_[server_path] = answer.etag;
  }
  return VIREO_OK;
}

VIREO_STATUS FileSession::Delete(Connection& connection, const std::string& server_path) {
  const std::lock_guard lock(mutex_);
  const HttpAnswer answer = connection.Send(FileRequest("DELETE", server_path));
  const VIREO_STATUS status = StatusOfAnswer(answer, Exchange::kOther, kHttpNoContent);
  if (status == VIREO_OK) {
    // Gone by this session's own hand: a later store creates it anew.
    versions_.erase(server_path);
  }
  return status;
}

}  // namespace azu::vireo
