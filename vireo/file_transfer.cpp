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
  const HttpAnswer answer = connection.Send(FileRequest("GET", server_path));
  if (const VIREO_STATUS status = StatusOfAnswer(answer, Exchange::kOther, kHttpOk);
      status != VIREO_OK) {
    return status;
  }
  // Without a version the later store could not be guarded.
  if (answer.etag.empty()) {
    return VIREO_E_PROTOCOL;
  }
  if (!WriteLocalFileWhole(local_path, answer.body)) {
    return VIREO_E_LOCAL_FILE;
  }
  versions_[server_path] = answer.etag;
  return VIREO_OK;
}

VIREO_STATUS FileSession::Put(Connection& connection, const std::string& local_path,
                              const std::string& server_path) {
  const std::lock_guard lock(mutex_);
  HttpRequest request = FileRequest("PUT", server_path);
  switch (ReadLocalFile(local_path, kMaxTransferBytes, request.body)) {
    case LocalRead::kOk:
      break;
    case LocalRead::kUnreadable:
      return VIREO_E_LOCAL_FILE;
    case LocalRead::kTooLarge:
      return VIREO_E_TOO_LARGE;
  }
  request.content_type = kFileContentType;
  if (const auto known = versions_.find(server_path); known != versions_.end()) {
    request.if_match = known->second;
  }
  const HttpAnswer answer = connection.Send(std::move(request));
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
