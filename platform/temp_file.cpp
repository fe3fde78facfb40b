#include "platform/temp_file.h"

#include <utility>

namespace azu::platform {

TempFile::TempFile(TempFile&& other) noexcept : path_(std::exchange(other.path_, {})) {}

TempFile& TempFile::operator=(TempFile&& other) noexcept {
  if (this != &other) {
    Remove();
    path_ = std::exchange(other.path_, {});
  }
  return *this;
}

TempFile::~TempFile() {
  Remove();
}

}  // namespace azu::platform
