#pragma once
// File transfer in one session: get, put and delete of server files, with the version of every
// file the session fetched, so that a store never silently undoes another administrator's.

#include <map>
#include <mutex>
#include <string>

#include "server/vireo.h"
#include "vireo/connection.h"

namespace azu::vireo {

class FileSession {
 public:
  // Copies the server file to `local_path`, which is written only when the whole file arrived.
  [[nodiscard]] VIREO_STATUS Get(Connection& connection, const std::string& server_path,
                                 const std::string& local_path);
  // Stores the local file; a path fetched in this session is stored only if the server copy is
  // still the fetched one (else VIREO_E_CONFLICT).
  [[nodiscard]] VIREO_STATUS Put(Connection& connection, const std::string& local_path,
                                 const std::string& server_path);
  [[nodiscard]] VIREO_STATUS Delete(Connection& connection, const std::string& server_path);

 private:
  std::mutex mutex_;
  std::map<std::string, std::string> versions_;  // server path → version tag last seen
};

}  // namespace azu::vireo
