#include "vireo/local_file.h"

namespace azu::vireo {

bool WriteLocalFileWhole(const std::string& path, std::string_view content) {
  const std::unique_ptr<LocalFileReplacement> file = LocalFileReplacement::Create(path);
  return file != nullptr && file->Write(content) && file->Commit();
}

}  // namespace azu::vireo
